// The VST 3 module in the bundle around the program, loaded through our VST 3 host from the
// bundle as a host on Windows finds it, renders every factory program as the Linux build does:
// the pinned fingerprints, in 64-bit processing. The setup program's test runs this in each
// installed architecture's folder of the bundle.
#include "HostedVst3Plugin.h"
#include "Vst3ParameterIds.h"
#include "plugin/FactoryPrograms.h"
#include "tests/plugin/ProgramFingerprints.h"
#include "tests/windows/ModuleBesideProgram.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The program sits in BUNDLE\Contents\<architecture>\, beside the module.
std::string bundleAroundProgram() {
    std::wstring bundle = programFolder();
    bundle.pop_back();
    for (int up = 0; up < 2; ++up)
        bundle.resize(bundle.find_last_of(L"\\/"));
    return utf8Path(bundle);
}

class Vst3ModuleFingerprint : public testing::TestWithParam<int> {};

TEST_P(Vst3ModuleFingerprint, FactoryProgramSoundsAsOnLinux) {
    const int program = GetParam();
    const float sampleRateHz = 44100.0f;
    HostedVst3Plugin plugin(bundleAroundProgram());
    ASSERT_TRUE(plugin.isLoaded()) << plugin.error();
    // As a host's preset menu chooses it: the program list is one stepped parameter.
    ASSERT_EQ(
        plugin.controller()->setParamNormalized(kProgramId, program / double(kNumPrograms - 1)),
        Steinberg::kResultOk);
    ASSERT_EQ(plugin.setup(sampleRateHz, Steinberg::Vst::kSample64, kFingerprintBlock),
              Steinberg::kResultOk);
    plugin.activate(true);

    const Fingerprint actual =
        measuredFingerprint(sampleRateHz, [&](double** inputs, double** outputs, int frames) {
            EXPECT_EQ(plugin.process(inputs, outputs, frames), Steinberg::kResultOk);
        });
    plugin.activate(false);
    EXPECT_TRUE(matchesFingerprint(actual, kAt44k[program]))
        << "program " << program << " measures " << fingerprintText(actual);
}

INSTANTIATE_TEST_SUITE_P(FactoryPrograms, Vst3ModuleFingerprint, testing::Range(0, kNumPrograms));

} // namespace
