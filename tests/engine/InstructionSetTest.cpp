#include "engine/InstructionSet.h"
#include "EngineTestSupport.h"
#include "engine/DynamicsEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr InstructionSet kAllSets[] = {InstructionSet::sse2, InstructionSet::avx2Fma};

// Compressing hard, with every part of the path busy: RMS or Dyn RMS detection, the shelved
// sidechain, both harmonics, a soft knee, make-up and a parallel dry path.
void configure(DynamicsEngine& e, float rateHz, double detectionMs) {
    e.setSampleRate(rateHz);
    e.setThreshold(-30.0);
    e.setKnee(6.0);
    e.setRatio(-4.0);
    e.setDetection(detectionMs);
    e.setAttack(2.0);
    e.setRelease(50.0);
    e.setReleaseSlow(500.0);
    e.setScFilterType(ScFilterType::threePerOctave);
    e.setScFilterFreq(100.0);
    e.setHfHarmonics(true);
    e.setHfHarmonicsAmount(0.4);
    e.setLfHarmonics(true);
    e.setLfHarmonicsAmount(0.3);
    e.setMixDry(0.05);
    e.setMakeUpGain(2.0);
}

struct Processed {
    std::vector<double> left, right;
    std::vector<DynamicsEngine::FrameMeters> meters;
};

// A second of loud noise bursts with quiet gaps, in the block loop's chunks of 64.
Processed process(InstructionSet set, float rateHz, double detectionMs) {
    auto engine = std::make_unique<DynamicsEngine>(set);
    configure(*engine, rateHz, detectionMs);
    const int count = static_cast<int>(rateHz);
    Processed r;
    r.left = enginetest::randomSignal(count, 1.0, 5);
    r.right = enginetest::randomSignal(count, 1.0, 6);
    for (int i = 0; i < count; ++i) {
        const double envelope = (i / 4000) % 2 ? 0.01 : 1.0;
        r.left[i] *= envelope;
        r.right[i] *= envelope;
    }
    r.meters.resize(count);
    const bool oversampled = static_cast<double>(rateHz) < kOversamplingBelowHz;
    for (int start = 0; start < count; start += 64) {
        const int n = count - start < 64 ? count - start : 64;
        engine->processFrames(oversampled, r.left.data() + start, r.right.data() + start,
                              r.meters.data() + start, n);
    }
    return r;
}

TEST(InstructionSet, AnEngineRunsTheSetItWasGivenWhereTheProcessorHasIt) {
    for (const InstructionSet set : kAllSets) {
        if (!isSupported(set)) continue;
        EXPECT_EQ(DynamicsEngine(set).instructionSet(), set);
    }
    EXPECT_TRUE(isSupported(InstructionSet::sse2));
    EXPECT_TRUE(isSupported(bestInstructionSet()));
    EXPECT_EQ(DynamicsEngine().instructionSet(), bestInstructionSet());
}

// AVX2 with fused multiply-add wherever the processor has both, AVX-512 or not, unless capped.
TEST(InstructionSet, TheProcessorsAvx2IsChosenUnlessCappedToThePlainCode) {
#if defined(__x86_64__) || defined(__i386__)
    const char* cap = std::getenv(kInstructionSetVariable);
    const bool capped = cap != nullptr && std::strcmp(cap, "sse2") == 0;
    const bool hasAvx2Fma = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    EXPECT_EQ(bestInstructionSet(),
              hasAvx2Fma && !capped ? InstructionSet::avx2Fma : InstructionSet::sse2);
#else
    EXPECT_EQ(bestInstructionSet(), InstructionSet::sse2);
#endif
}

// The wider sets differ from the plain code only by the feedback chain's fused multiply-adds (the
// exponential within an ulp of the exact value either way) and the order of the halfband sums,
// each a rounding of about 1e-16 relative. Now and then that turns the last bit of the
// detector's single-precision logarithm, which moves the gain by about 1e-12: far below
// anything audible, and the feedback loop does not let it grow.
TEST(InstructionSet, EveryPathSoundsLikeThePlainCode) {
    for (const float rateHz : {44100.0f, 96000.0f}) {
        for (const double detectionMs : {10.0, 600.0}) {
            const Processed plain = process(InstructionSet::sse2, rateHz, detectionMs);
            double largestGainReduction = 1.0;
            for (const auto& m : plain.meters)
                largestGainReduction = std::fmin(largestGainReduction, m.gain);
            ASSERT_LT(largestGainReduction, 0.1); // the test compresses hard
            for (const InstructionSet set : kAllSets) {
                if (set == InstructionSet::sse2 || !isSupported(set)) continue;
                const Processed wide = process(set, rateHz, detectionMs);
                for (size_t i = 0; i < plain.left.size(); ++i) {
                    ASSERT_NEAR(wide.left[i], plain.left[i], 1e-9) << rateHz << " Hz, " << i;
                    ASSERT_NEAR(wide.right[i], plain.right[i], 1e-9) << rateHz << " Hz, " << i;
                    ASSERT_NEAR(wide.meters[i].gain, plain.meters[i].gain,
                                1e-9 * plain.meters[i].gain)
                        << rateHz << " Hz, " << i;
                    // The detector's single-precision logarithm may round its last bit the
                    // other way, a step of a few millionths of a decibel, smoothed.
                    ASSERT_NEAR(wide.meters[i].levelA, plain.meters[i].levelA, 1e-5);
                    ASSERT_NEAR(wide.meters[i].levelB, plain.meters[i].levelB, 1e-5);
                }
            }
        }
    }
}

} // namespace
