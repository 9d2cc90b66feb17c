#include "engine/GainComputer.h"
#include "engine/SmoothingTime.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kNoiseDb = 4e-9; // largest gain-target noise, with margin

TEST(GainCurve, TableOfOvershoots) {
    struct Case {
        double overshootDb, kneeDb, expectedDb;
    };
    // Inside the knee the curve is (o + k)^2 / (4k); outside it is 0 below and o above. At 2:1
    // (slope 0) the target is minus that, here with the threshold at 0 dB and at -30 dB.
    const Case cases[] = {
        {-10.0, 10.0, 0.0}, {-20.0, 10.0, 0.0}, {0.0, 10.0, 2.5},    {10.0, 10.0, 10.0},
        {15.0, 10.0, 15.0}, {5.0, 10.0, 5.625}, {-5.0, 10.0, 0.625}, {6.0, 0.0, 6.0},
        {-6.0, 0.0, 0.0},   {0.0, 0.0, 0.0},    {1.0, 2.0, 1.125},
    };
    for (const double thresholdDb : {0.0, -30.0}) {
        for (const Case& c : cases) {
            const GainCurve curve = GainCurve::make(thresholdDb, c.kneeDb, 0.0);
            EXPECT_NEAR(curve.targetDb(thresholdDb + c.overshootDb, 0.0), -c.expectedDb, 1e-12)
                << c.overshootDb << " " << c.kneeDb;
            if (c.kneeDb > 0.0 && std::fabs(c.overshootDb) < c.kneeDb) {
                const double quadratic =
                    (c.overshootDb + c.kneeDb) * (c.overshootDb + c.kneeDb) / (4.0 * c.kneeDb);
                EXPECT_NEAR(curve.targetDb(thresholdDb + c.overshootDb, 0.0), -quadratic, 1e-12);
            }
        }
    }
}

// A gain computer with instant envelopes, so one step shows the static curve.
GainComputer instantComputer() {
    GainComputer computer;
    computer.setTimes(0.0, 0.0, 0.0, 88200.0);
    computer.finalSmoothing.set(0.0, 88200.0);
    return computer;
}

TEST(GainComputer, HardKneeTwoToOneTargets) {
    GainComputer computer = instantComputer();
    const GainCurve curve = GainCurve::make(-20.0, 0.0, 0.0); // knee 0, slope 0 (2:1)
    computer.step(curve, -14.0, -14.0);
    EXPECT_NEAR(computer.outputGainDb, -6.0, kNoiseDb);
    computer.step(curve, -26.0, -26.0);
    EXPECT_NEAR(computer.outputGainDb, 0.0, kNoiseDb);
    EXPECT_GT(computer.outputGainDb, 0.0); // the noise keeps it off zero
}

TEST(GainComputer, UsesTheLowerOfTheTwoLevelsGain) {
    GainComputer computer = instantComputer();
    const GainCurve curve = GainCurve::make(-20.0, 0.0, -1.0); // 2 dB less per dB over
    const double g = computer.step(curve, -18.0, -15.0).value<false>();
    EXPECT_NEAR(computer.outputGainDb, -10.0, kNoiseDb);
    EXPECT_NEAR(g, std::pow(10.0, -10.0 / 20.0), 1e-9);
}

TEST(GainComputer, SlopeOneNeverReduces) {
    GainComputer computer;
    computer.setTimes(1.0, 10.0, 100.0, 88200.0);
    const GainCurve curve = GainCurve::make(-54.0, 6.0, 1.0);
    for (int i = 0; i < 1000; ++i)
        ASSERT_NEAR(computer.step(curve, 20.0 * std::sin(i * 0.1), 0.0).value<false>(), 1.0, 1e-9);
}

TEST(GainComputer, FallingTargetUsesAttackRisingUsesRelease) {
    const double fs = 88200.0;
    GainComputer computer;
    computer.setTimes(1.0, 20.0, 200.0, fs);
    const double attack = timeCoefficient(1.0, fs);
    const double fast = timeCoefficient(20.0, fs);
    const double slow = timeCoefficient(200.0, fs);
    const GainCurve curve = GainCurve::make(0.0, 0.0, 0.0);

    // Falling target (-6 dB): both envelopes take the attack coefficient.
    computer.step(curve, 6.0, 6.0);
    EXPECT_NEAR(computer.envelopeADb, -6.0 * (1.0 - attack), kNoiseDb);
    EXPECT_NEAR(computer.envelopeBDb, -6.0 * (1.0 - attack), kNoiseDb);

    // Rising target (0 dB): envelope A releases fast, envelope B slowly.
    const double a = computer.envelopeADb, b = computer.envelopeBDb;
    computer.step(curve, -10.0, -10.0);
    EXPECT_NEAR(computer.envelopeADb, a * fast, kNoiseDb);
    EXPECT_NEAR(computer.envelopeBDb, b * slow, kNoiseDb);
}

TEST(GainComputer, OutputDropsAtOnceAndRisesWithFiveMilliseconds) {
    const double fs = 88200.0;
    GainComputer computer;
    computer.setTimes(0.0, 0.0, 0.0, fs);
    const GainCurve curve = GainCurve::make(0.0, 0.0, 0.0);
    computer.step(curve, 12.0, 12.0);
    EXPECT_NEAR(computer.outputGainDb, -12.0, kNoiseDb);
    computer.step(curve, -50.0, -50.0); // envelopes jump back to 0 dB
    const double smoothing = timeCoefficient(5.0, fs);
    EXPECT_NEAR(computer.outputGainDb, -12.0 * smoothing, kNoiseDb);
}

TEST(GainComputer, NoiseIsAddedToEachTargetAndCycles) {
    GainComputer computer = instantComputer();
    const GainCurve curve = GainCurve::make(0.0, 0.0, 1.0);
    for (int i = 0; i < kSmallNoisePeriod; ++i) {
        computer.step(curve, 0.0, 0.0);
        ASSERT_EQ(computer.outputGainDb, computer.noise[i]);
    }
    computer.step(curve, 0.0, 0.0);
    EXPECT_EQ(computer.outputGainDb, computer.noise[0]); // the last entry is never read
}

} // namespace
