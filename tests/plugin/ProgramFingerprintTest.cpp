// Pins the sound of every factory program (ProgramFingerprints.h), so that an optimisation of the
// engine cannot change it unnoticed.
#include "EffectTestSupport.h"
#include "ProgramFingerprints.h"

#include <gtest/gtest.h>

namespace {

// After resume.
Fingerprint measure(int program, float sampleRateHz) {
    EffectHarness h(false);
    h.dispatch(vst2::effSetSampleRate, 0, 0, nullptr, sampleRateHz);
    h.dispatch(vst2::effSetProgram, 0, program);
    h.dispatch(vst2::effMainsChanged, 0, 1);
    return measuredFingerprint(sampleRateHz, [&](double** inputs, double** outputs, int frames) {
        h.effect.process(inputs, outputs, frames);
    });
}

void expectFingerprints(const Fingerprint (&expected)[kNumPrograms], float sampleRateHz) {
    for (int p = 0; p < kNumPrograms; ++p) {
        const Fingerprint actual = measure(p, sampleRateHz);
        EXPECT_TRUE(matchesFingerprint(actual, expected[p]))
            << "program " << p << " at " << sampleRateHz << " Hz measures "
            << fingerprintText(actual);
    }
}

TEST(ProgramFingerprint, OversampledFrameAt44k) {
    expectFingerprints(kAt44k, 44100.0f);
}

TEST(ProgramFingerprint, PlainFrameAt96k) {
    expectFingerprints(kAt96k, 96000.0f);
}

} // namespace
