#include "LevelDetector.h"
#include "SmoothingTime.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(FastLog2, StaysWithinASmallErrorOfTheTrueLogarithm) {
    for (double x = 1e-6; x < 1e6; x *= 1.01) {
        const float estimate = fastLog2(static_cast<float>(x));
        ASSERT_NEAR(estimate, std::log2(x), 0.01) << x;
    }
    // Exact at powers of two: the quadratic passes through 1 and 2.
    EXPECT_NEAR(fastLog2(1.0f), 0.0f, 1e-6);
    EXPECT_NEAR(fastLog2(0.25f), -2.0f, 1e-6);
    EXPECT_NEAR(fastLog2(8.0f), 3.0f, 1e-6);
}

TEST(LevelDetector, PeakLevelAFollowsAtOnceLevelBWithTwelveMilliseconds) {
    LevelDetector d;
    const double fs = 96000.0;
    d.setDetection(0.0, fs);
    EXPECT_EQ(d.timeA.coefficient, 0.0);
    EXPECT_EQ(d.timeB.timeMs, 12.0);
    d.step(0.5, -0.25);
    EXPECT_NEAR(d.levelADb, 20.0 * std::log10(0.5), 0.06);
    const double b = timeCoefficient(12.0, fs);
    EXPECT_NEAR(d.levelBDb, 0.5 * ((-90.0 - d.instantaneousDb) * b + d.instantaneousDb), 1e-9);
}

TEST(LevelDetector, SilenceSettlesAtTheFloor) {
    LevelDetector d;
    d.setDetection(10.0, 88200.0);
    for (int i = 0; i < 200000; ++i) d.step(0.0, 0.0);
    EXPECT_NEAR(d.levelADb, -100.0, 0.06);
    EXPECT_NEAR(d.levelBDb, -100.0, 0.06);
}

TEST(LevelDetector, RmsTimesAreTAndTwoTPlusTwelve) {
    LevelDetector d;
    d.setDetection(7.5875, 88200.0);
    EXPECT_FALSE(d.dynRms);
    EXPECT_EQ(d.timeA.timeMs, 7.5875);
    EXPECT_EQ(d.timeB.timeMs, 27.175);
}

TEST(LevelDetector, OnlyExactlySixHundredSelectsDynRms) {
    LevelDetector d;
    d.setDetection(599.999, 88200.0);
    EXPECT_FALSE(d.dynRms);
    d.setDetection(600.0, 88200.0);
    EXPECT_TRUE(d.dynRms);
    EXPECT_EQ(d.timeA.timeMs, 2.0);
    EXPECT_EQ(d.timeB.timeMs, 50.0);
}

TEST(LevelDetector, DynRmsLevelAIsTheLargerOfBothSmoothings) {
    LevelDetector d;
    d.setDetection(600.0, 88200.0);
    for (int i = 0; i < 20000; ++i) d.step(0.1, 0.1); // both settle near -20 dB
    EXPECT_NEAR(d.levelADb, -20.0, 0.06);
    EXPECT_NEAR(d.levelBDb, -20.0, 0.06);
    for (int i = 0; i < 500; ++i) d.step(0.001, 0.0); // a drop: the fast one falls first
    EXPECT_EQ(d.levelADb, d.levelBDb);
    EXPECT_GT(d.levelBDb, -60.0);
}

} // namespace
