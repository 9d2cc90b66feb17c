#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

using namespace enginetest;

const double kOutputNoiseLow = -0.5 * std::pow(10.0, -6.8) * 2.0;
const double kOutputNoiseHigh = 1.5 * std::pow(10.0, -6.8) * 2.0;

// Output noise of a fresh engine at sample i, from its tables.
double outputNoiseAt(const DynamicsEngine& engine, int i) {
    return engine.outputNoiseA()[i % 50000] + engine.outputNoiseB()[i % 49999];
}

// A fresh rig configured for a plain 1:1 path: slope 1, harmonics off.
std::unique_ptr<Rig> neutralRig(float rateHz) {
    auto rig = std::make_unique<Rig>(rateHz);
    rig->engine.setRatio(1.0);
    return rig;
}

class LatencyAtRate : public ::testing::TestWithParam<float> {};

TEST_P(LatencyAtRate, DryPathDelaysAnImpulseByExactly151) {
    auto rig = neutralRig(GetParam());
    rig->engine.setMakeUpGain(0.0);
    rig->engine.setMixDry(1.0);
    std::vector<double> in(600, 0.0), outL, outR;
    in[20] = 0.5;
    rig->process(in, in, outL, outR);
    for (int i = 0; i < 600; ++i) {
        const double expected = (i == 20 + kLatency ? 0.5 : 0.0) + outputNoiseAt(rig->engine, i);
        ASSERT_NEAR(outL[i], expected, 1e-15) << i;
    }
}

TEST_P(LatencyAtRate, ProcessedPathDelaysAnImpulseBy151) {
    // A threshold far below the detector floor keeps a constant 50 dB of reduction (2:1 at
    // 100 dB over); the delta output is then (gain - 1) x the input, 151 samples late.
    auto rig = std::make_unique<Rig>(GetParam());
    rig->engine.setThreshold(-200.0);
    rig->engine.setRatio(0.0);
    rig->engine.setAttack(0.1);
    rig->engine.setDelta(true);
    std::vector<double> in(20000, 0.0), outL, outR;
    in[15000] = 1e-3;
    rig->process(in, in, outL, outR);
    const std::vector<double> tail(outL.begin() + 14000, outL.end());
    EXPECT_EQ(indexOfLargestMagnitude(tail) + 14000, 15000u + kLatency);
    EXPECT_NEAR(outL[15000 + kLatency], -1e-3 * (1.0 - std::pow(10.0, -100.0 / 20.0)), 0.6e-3);
}

TEST_P(LatencyAtRate, CompressedSineLinesUpWithTheDrySine) {
    // With a constant gain g the processed path is g x the dry path: no phase offset.
    auto rig = std::make_unique<Rig>(GetParam());
    rig->engine.setThreshold(-200.0);
    rig->engine.setRatio(0.8); // 1.25:1 -> 100 dB over becomes a steady 20 dB reduction
    rig->engine.setAttack(0.1);
    rig->engine.setRelease(1.0);
    rig->engine.setReleaseSlow(1.0);
    rig->engine.setMixDry(0.0);
    const int n = 30000;
    // Small enough that the detector stays at its floor; a one-sample offset of the wet path
    // against the dry one would leave an error near 1e-6 here.
    const auto in = sine(n, 5e-5, 200.0, GetParam());
    std::vector<double> outL, outR;
    rig->process(in, in, outL, outR);
    const double g = rig->meters.gain.load();
    EXPECT_NEAR(g, 0.1, 0.001);
    for (int i = 20000; i < n; ++i)
        ASSERT_NEAR(outL[i] - outputNoiseAt(rig->engine, i), g * in[i - kLatency], 2e-8) << i;
}

INSTANTIATE_TEST_SUITE_P(HostRates, LatencyAtRate,
                         ::testing::Values(44100.0f, 69999.0f, 70000.0f, 96000.0f));

TEST(EngineFrame, NeutralSettingsPassTheInputDelayedAtBothRates) {
    for (const float rate : {44100.0f, 96000.0f}) {
        auto rig = neutralRig(rate);
        rig->engine.setMixDry(0.0);
        const auto in = randomSignal(5000, 0.5, 3);
        std::vector<double> outL, outR;
        rig->process(in, in, outL, outR);
        for (int i = 2000; i < 5000; ++i)
            ASSERT_NEAR(outL[i], in[i - kLatency], 1e-3) << rate << " " << i;
    }
}

TEST(EngineFrame, FreshEngineDoesNotCompress) {
    // Threshold 10 dB and slope 1 at construction.
    auto rig = std::make_unique<Rig>(44100.0f);
    const auto in = randomSignal(3000, 3.0, 5);
    std::vector<double> outL, outR;
    rig->process(in, in, outL, outR);
    EXPECT_NEAR(rig->meters.gain.load(), 1.0, 1e-9);
}

TEST(EngineFrame, DeltaWithoutCompressionIsOnlyTheOutputNoise) {
    // Long enough for both noise tables to wrap: A after 50000 samples, B after 49999.
    const int n = 100100;
    auto rig = neutralRig(96000.0f);
    rig->engine.setDelta(true);
    rig->engine.setMakeUpGain(3.0);
    const auto in = sine(n, 0.8, 1000.0, 96000.0);
    std::vector<double> outL, outR;
    rig->process(in, in, outL, outR);
    for (int i = 0; i < n; ++i) {
        ASSERT_GE(outL[i], -1.6e-7) << i;
        ASSERT_LE(outL[i], 4.8e-7) << i;
        ASSERT_NEAR(outL[i], outputNoiseAt(rig->engine, i), 1e-9); // gain-target noise only
    }
}

TEST(EngineFrame, PreviewIgnoresMakeUpAndDryAndReportsNeutralMeters) {
    std::vector<std::vector<double>> outputs;
    for (const double makeUp : {1.0, 0.25}) {
        auto rig = std::make_unique<Rig>(44100.0f);
        rig->engine.setThreshold(-40.0);
        rig->engine.setRatio(-4.0);
        rig->engine.setScPreview(true);
        rig->engine.setMakeUpGain(makeUp);
        rig->engine.setMixDry(makeUp);
        const auto in = sine(3000, 0.5, 440.0, 44100.0);
        std::vector<double> outL, outR;
        rig->process(in, in, outL, outR);
        EXPECT_EQ(rig->meters.gain.load(), 1.0);
        EXPECT_EQ(rig->meters.levelA.load(), -70.0);
        EXPECT_EQ(rig->meters.levelB.load(), -70.0);
        outputs.push_back(outL);
    }
    EXPECT_EQ(outputs[0], outputs[1]);
    // A 440 Hz tone passes the sidechain high-passes (10 and 50 Hz) nearly unchanged.
    EXPECT_NEAR(*std::max_element(outputs[0].begin() + 1000, outputs[0].end()), 0.5, 0.02);
}

TEST(EngineFrame, DryGainAloneGivesTheDelayedDrySignal) {
    auto rig = std::make_unique<Rig>(44100.0f);
    rig->engine.setThreshold(-40.0);
    rig->engine.setRatio(-4.0);
    rig->engine.setMakeUpGain(0.0);
    rig->engine.setMixDry(1.0);
    const auto in = sine(3000, 0.9, 440.0, 44100.0);
    std::vector<double> outL, outR;
    rig->process(in, in, outL, outR);
    for (int i = kLatency; i < 3000; ++i)
        ASSERT_NEAR(outL[i], in[i - kLatency] + outputNoiseAt(rig->engine, i), 1e-15) << i;
}

// Feedback detection: the detector hears Y = X + G(Y), so above the knee the output rises by
// 1 / (2 - slope) dB per dB of input: slope 0 is 2:1, -1 is 3:1, -4 is 6:1.
TEST(EngineFrame, SteadyStateRatioAboveTheKneeIsTwoMinusSlope) {
    for (const double slope : {0.0, -1.0, -4.0}) {
        double outputDb[2];
        const double inputPeakDb[2] = {-20.0, -8.0};
        for (int k = 0; k < 2; ++k) {
            auto rig = std::make_unique<Rig>(44100.0f);
            rig->engine.setThreshold(-50.0);
            rig->engine.setKnee(2.0);
            rig->engine.setRatio(slope);
            rig->engine.setDetection(60.0);
            rig->engine.setAttack(50.0);
            rig->engine.setRelease(50.0);
            rig->engine.setReleaseSlow(50.0);
            rig->engine.setMixDry(0.0);
            const int n = 88200;
            const auto in = sine(n, std::pow(10.0, inputPeakDb[k] / 20.0), 1000.0, 44100.0);
            std::vector<double> outL, outR;
            rig->process(in, in, outL, outR);
            outputDb[k] = rmsDb(outL, n - 22050, n);
        }
        const double expected = (inputPeakDb[1] - inputPeakDb[0]) / (2.0 - slope);
        EXPECT_NEAR(outputDb[1] - outputDb[0], expected, 0.05) << "slope " << slope;
    }
}

// The gain applied to a sample is computed one step after the sample entered, from the level
// the detector measured on it: with Peak detection and an instant attack, an isolated -6 dB
// peak 14 dB over the threshold already comes out 14 dB lower at 2:1.
TEST(EngineFrame, FeedbackGainReachesTheSampleThatCausedIt) {
    auto rig = std::make_unique<Rig>(96000.0f);
    rig->engine.setThreshold(-20.0);
    rig->engine.setRatio(0.0);
    rig->engine.setDetection(0.0);
    rig->engine.setAttack(0.0);
    rig->engine.setMixDry(0.0);
    std::vector<double> in(1000, 0.0), outL, outR;
    in[500] = 0.5;
    rig->process(in, in, outL, outR);
    const double overshootDb = 20.0 * std::log10(0.5) + 20.0;
    EXPECT_NEAR(outL[500 + kLatency], 0.5 * std::pow(10.0, -overshootDb / 20.0), 0.002);
}

TEST(EngineFrame, ResetKeepsTheOutputNoiseRunning) {
    auto rig = neutralRig(96000.0f);
    rig->engine.setMakeUpGain(0.0);
    rig->engine.setMixDry(0.0);
    const std::vector<double> silence(1000, 0.0);
    std::vector<double> first, second, right;
    rig->process(silence, silence, first, right);
    rig->engine.reset();
    rig->process(silence, silence, second, right);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(first[i], outputNoiseAt(rig->engine, i));
        ASSERT_EQ(second[i], outputNoiseAt(rig->engine, 1000 + i));
        ASSERT_NE(second[i], 0.0);
    }
}

TEST(EngineFrame, ResetClearsTheSignalState) {
    // After a reset the engine sounds like a fresh one, apart from the noise positions that run on.
    auto used = neutralRig(44100.0f);
    auto fresh = neutralRig(44100.0f);
    for (auto* rig : {used.get(), fresh.get()}) {
        rig->engine.setThreshold(-30.0);
        rig->engine.setRatio(-1.0);
        rig->engine.setMixDry(0.0);
    }
    const auto loud = sine(4000, 0.9, 300.0, 44100.0);
    std::vector<double> outL, outR, freshL;
    used->process(loud, loud, outL, outR);
    used->engine.reset();
    const auto in = sine(4000, 0.3, 700.0, 44100.0);
    used->process(in, in, outL, outR);
    fresh->process(in, in, freshL, outR);
    for (int i = 0; i < 4000; ++i)
        ASSERT_NEAR(outL[i] - outputNoiseAt(used->engine, 4000 + i),
                    freshL[i] - outputNoiseAt(fresh->engine, i), 1e-9)
            << i;
}

TEST(EngineFrame, HarmonicsAddOnlyWhenSwitchedOnWithAnAmount) {
    std::vector<double> results[3];
    for (int k = 0; k < 3; ++k) {
        auto rig = neutralRig(44100.0f);
        rig->engine.setMixDry(0.0);
        rig->engine.setLfHarmonicsAmount(k == 0 ? 0.0 : 1.0);
        rig->engine.setLfHarmonics(k != 1);
        const auto in = sine(8000, 0.5, 60.0, 44100.0);
        std::vector<double> outR;
        rig->process(in, in, results[k], outR);
    }
    EXPECT_EQ(results[0], results[1]); // on without amount, or amount without on: nothing
    double difference = 0.0;
    for (int i = 4000; i < 8000; ++i)
        difference = std::fmax(difference, std::fabs(results[2][i] - results[0][i]));
    EXPECT_GT(difference, 1e-3);
}

TEST(EngineFrame, NonFiniteSettingsAreIgnored) {
    std::vector<double> outputs[2];
    for (int k = 0; k < 2; ++k) {
        auto rig = std::make_unique<Rig>(44100.0f);
        rig->engine.setThreshold(-30.0);
        rig->engine.setRatio(-1.0);
        if (k == 1) {
            rig->engine.setThreshold(std::nan(""));
            rig->engine.setRatio(INFINITY);
            rig->engine.setAttack(-INFINITY);
            rig->engine.setSampleRate(std::nan(""));
            rig->engine.setMakeUpGain(std::nan(""));
        }
        const auto in = sine(3000, 0.5, 440.0, 44100.0);
        std::vector<double> outR;
        rig->process(in, in, outputs[k], outR);
    }
    EXPECT_EQ(outputs[0], outputs[1]);
}

TEST(EngineFrame, ExtremeTimesAndRatesStayFinite) {
    auto rig = std::make_unique<Rig>(1000.0f);
    rig->engine.setSampleRate(10.0);
    rig->engine.setAttack(0.011);
    rig->engine.setRelease(1e-9);
    rig->engine.setDetection(0.02);
    rig->engine.setThreshold(-60.0);
    rig->engine.setRatio(-4.0);
    rig->engine.setHfHarmonics(true);
    rig->engine.setHfHarmonicsAmount(1.0);
    rig->engine.setScFilterType(ScFilterType::threePerOctave);
    rig->engine.setScFilterFreq(-5.0);
    const auto in = randomSignal(20000, 1.0, 11);
    std::vector<double> outL, outR;
    rig->process(in, in, outL, outR);
    for (const double v : outL)
        ASSERT_TRUE(std::isfinite(v));
}

} // namespace
