#pragma once

#include "HostBlocks.h"
#include "HostedPlugin.h"
#include "LoadedEdition.h"
#include "SameSamples.h"

#include "plugin/ParameterTable.h"

#include <gtest/gtest.h>

#include <functional>
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
// as a host's automation sets it; with a key, its channels (one or both) connected and handed
// over beside the input.
template <typename Sample>
Stereo<Sample> renderEdition(LoadedEdition& edition, int program, double rateHz,
                             const Stereo<Sample>& source, const HostSchedule& schedule,
                             Stereo<Sample>* key = nullptr, int keyChannels = 2) {
    EXPECT_TRUE(edition.selectProgram(program)) << program;
    std::string refusal;
    EXPECT_TRUE(edition.connectKey(key ? keyChannels : 0, refusal)) << refusal;
    edition.start(rateHz, 1023, sizeof(Sample) == sizeof(double));
    bool bypassed = false;
    Stereo<Sample> rendered =
        renderInOddBlocks(source, schedule.inPlace,
                          [&](Stereo<Sample>& in, Stereo<Sample>& out, int start, int count) {
                              if (schedule.bypassedAt(start) != bypassed) {
                                  bypassed = !bypassed;
                                  edition.setParameter(16, bypassed ? 1.0 : 0.0);
                              }
                              const auto at = static_cast<std::size_t>(start);
                              edition.process(in.from(at).data(), out.from(at).data(), count,
                                              key ? key->from(at).data() : nullptr);
                          });
    edition.stop();
    return rendered;
}

// A parameter set in its own unit, as a user types it ("-30 dB", "10 ms", External = 1).
struct PlainSetting {
    int index;
    double plain;
};

// What a keyed render does: the settings over a program, the key (null: none connected) and
// its channels, and what the host does before each of its blocks (the block's first frame
// given), such as switching the source or routing the key, or handing no key for the block.
struct KeyedRun {
    int program = 0; // -1 keeps the program and values the edition holds
    std::vector<PlainSetting> settings;
    Stereo<float>* key = nullptr;
    int keyChannels = 2;
    std::function<void(LoadedEdition&, int start)> beforeBlock;
    std::function<bool(int start)> keyInBlock; // false: the host hands no key buffers
    bool nullChannels = false;                 // the key's channel buffers handed as null
};

constexpr double kKeyedRateHz = 48000.0;

// Renders `main` through the edition at 48 kHz in odd host blocks, as a KeyedRun says.
inline Stereo<float> renderKeyed(LoadedEdition& edition, const Stereo<float>& main,
                                 const KeyedRun& run) {
    if (run.program >= 0) {
        EXPECT_TRUE(edition.selectProgram(run.program)) << run.program;
    }
    for (const PlainSetting& s : run.settings)
        edition.setParameter(
            s.index, kParameters[static_cast<std::size_t>(s.index)].plain.toNormalized(s.plain));
    std::string refusal;
    EXPECT_TRUE(edition.connectKey(run.key ? run.keyChannels : 0, refusal)) << refusal;
    edition.start(kKeyedRateHz, 1023, false);
    Stereo<float> rendered = renderInOddBlocks(
        main, false, [&](Stereo<float>& in, Stereo<float>& out, int start, int count) {
            if (run.beforeBlock) run.beforeBlock(edition, start);
            const auto at = static_cast<std::size_t>(start);
            const bool keyed = run.key && (!run.keyInBlock || run.keyInBlock(start));
            float* nullChannels[2] = {};
            edition.process(in.from(at).data(), out.from(at).data(), count,
                            !keyed             ? nullptr
                            : run.nullChannels ? nullChannels
                                               : run.key->from(at).data());
        });
    edition.stop();
    return rendered;
}

// The editions with a key input; the VST 2.4 module has none and skips.
#define QVL_SKIP_WITHOUT_KEY_INPUT(edition)                                                        \
    if ((edition).keyChannels() == 0) GTEST_SKIP() << "the edition has no key input"
