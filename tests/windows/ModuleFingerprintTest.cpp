// The module as a host on Windows loads it renders every factory program as the Linux build
// does: the pinned fingerprints, through the double-precision entry. The setup program's test
// runs this beside each installed DLL.
#include "tests/plugin/ProgramFingerprints.h"
#include "tests/windows/OpenedModule.h"

#include <gtest/gtest.h>

namespace {

class ModuleFingerprint : public OpenedModuleTest, public testing::WithParamInterface<int> {};

TEST_P(ModuleFingerprint, FactoryProgramSoundsAsOnLinux) {
    const int program = GetParam();
    const float sampleRateHz = 44100.0f;
    dispatch(vst2::effSetSampleRate, nullptr, sampleRateHz);
    dispatch(vst2::effSetProgram, nullptr, 0.0f, program);
    dispatch(vst2::effMainsChanged, nullptr, 0.0f, 1);

    const Fingerprint actual =
        measuredFingerprint(sampleRateHz, [&](double** inputs, double** outputs, int frames) {
            effect_->processDoubleReplacing(effect_, inputs, outputs, frames);
        });
    EXPECT_TRUE(matchesFingerprint(actual, kAt44k[program]))
        << "program " << program << " measures " << fingerprintText(actual);
}

INSTANTIATE_TEST_SUITE_P(FactoryPrograms, ModuleFingerprint, testing::Range(0, kNumPrograms));

} // namespace
