#pragma once

#include "HostBlocks.h"
#include "HostedPlugin.h"
#include "LoadedEdition.h"
#include "SameSamples.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// One edition as the build made it: what it is called in test names, and where it lies.
struct BuiltEdition {
    const char* label;
    const char* target;
};

inline std::vector<BuiltEdition> builtEditions() {
    std::vector<BuiltEdition> editions = {{"Vst2", QVL_MODULE_PATH}};
#ifdef QVL_VST3_BUNDLE
    editions.push_back({"Vst3", QVL_VST3_BUNDLE});
#endif
#ifdef QVL_CLAP_MODULE_PATH
    editions.push_back({"Clap", QVL_CLAP_MODULE_PATH});
#endif
#ifdef QVL_LV2_BUNDLE
    editions.push_back({"Lv2", QVL_LV2_BUNDLE});
#endif
    return editions;
}

class EachEdition : public testing::TestWithParam<BuiltEdition> {
  protected:
    std::unique_ptr<LoadedEdition> load() const {
        std::string error;
        auto edition = loadEdition(GetParam().target, error);
        EXPECT_TRUE(edition) << error;
        return edition;
    }
};

inline std::string editionLabel(const testing::TestParamInfo<BuiltEdition>& info) {
    return info.param.label;
}

#define QVL_FOR_EACH_EDITION(suite)                                                                \
    INSTANTIATE_TEST_SUITE_P(Editions, suite, testing::ValuesIn(builtEditions()), editionLabel)

// The VST 2.4 module driven directly, as every edition must sound: a factory program, the
// Bypass parameter switched as the schedule says at the start of each odd host block.
template <typename Sample>
Stereo<Sample> renderVst2Module(int program, double rateHz, const Stereo<Sample>& source,
                                const HostSchedule& schedule) {
    HostedPlugin plugin(QVL_MODULE_PATH, HostOptions{vst2::kVstVersion, false});
    EXPECT_TRUE(plugin.isLoaded()) << plugin.error();
    plugin.setSampleRate(static_cast<float>(rateHz));
    plugin.setBlockSize(1023);
    plugin.setProgram(program);
    plugin.resume();
    bool bypassed = false;
    return renderInOddBlocks(source, schedule.inPlace,
                             [&](Stereo<Sample>& in, Stereo<Sample>& out, int start, int count) {
                                 if (schedule.bypassedAt(start) != bypassed) {
                                     bypassed = !bypassed;
                                     plugin.setParameter(16, bypassed ? 1.0f : 0.0f);
                                 }
                                 const auto at = static_cast<std::size_t>(start);
                                 plugin.process(in.from(at).data(), out.from(at).data(), count);
                             });
}

// The same through an edition's host interface: the program chosen from its list, Bypass set
// as a host's automation sets it.
template <typename Sample>
Stereo<Sample> renderEdition(LoadedEdition& edition, int program, double rateHz,
                             const Stereo<Sample>& source, const HostSchedule& schedule) {
    EXPECT_TRUE(edition.selectProgram(program)) << program;
    edition.start(rateHz, 1023, sizeof(Sample) == sizeof(double));
    bool bypassed = false;
    Stereo<Sample> out =
        renderInOddBlocks(source, schedule.inPlace,
                          [&](Stereo<Sample>& in, Stereo<Sample>& out, int start, int count) {
                              if (schedule.bypassedAt(start) != bypassed) {
                                  bypassed = !bypassed;
                                  edition.setParameter(16, bypassed ? 1.0 : 0.0);
                              }
                              const auto at = static_cast<std::size_t>(start);
                              edition.process(in.from(at).data(), out.from(at).data(), count);
                          });
    edition.stop();
    return out;
}
