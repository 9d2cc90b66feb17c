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

    const StereoSignal in = fingerprintInput(sampleRateHz);
    StereoSignal out = in;
    const int frames = static_cast<int>(in.left.size());
    constexpr int kBlock = 512;
    for (int start = 0; start < frames; start += kBlock) {
        double* inputs[2] = {const_cast<double*>(in.left.data()) + start,
                             const_cast<double*>(in.right.data()) + start};
        double* outputs[2] = {out.left.data() + start, out.right.data() + start};
        effect_->processDoubleReplacing(effect_, inputs, outputs,
                                        frames - start < kBlock ? frames - start : kBlock);
    }
    const Fingerprint actual = fingerprintOf(out);
    EXPECT_TRUE(matchesFingerprint(actual, kAt44k[program]))
        << "program " << program << " measures " << fingerprintText(actual);
}

INSTANTIATE_TEST_SUITE_P(FactoryPrograms, ModuleFingerprint, testing::Range(0, kNumPrograms));

} // namespace
