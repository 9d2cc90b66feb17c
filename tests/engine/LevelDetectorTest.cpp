#include "engine/LevelDetector.h"
#include "engine/SmoothingTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

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

// The vector-register form of the mantissa step against the integer form it replaces, over
// bit patterns from every exponent, both signs, zeros, denormals, infinities and NaNs.
TEST(FastLog2, TheMantissaIsTheMaskedBitsWithTheExponentOfOne) {
    for (uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 65521) {
        const uint32_t v = static_cast<uint32_t>(bits);
        float a;
        std::memcpy(&a, &v, sizeof a);
        const float m = mantissaWithUnitExponent(a);
        uint32_t mBits;
        std::memcpy(&mBits, &m, sizeof mBits);
        ASSERT_EQ(mBits, (v & 0x807FFFFFu) + 0x3F800000u) << std::hex << v;
    }
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
    for (int i = 0; i < 200000; ++i)
        d.step(0.0, 0.0);
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
    for (int i = 0; i < 20000; ++i)
        d.step(0.1, 0.1); // both settle near -20 dB
    EXPECT_NEAR(d.levelADb, -20.0, 0.06);
    EXPECT_NEAR(d.levelBDb, -20.0, 0.06);
    for (int i = 0; i < 500; ++i)
        d.step(0.001, 0.0); // a drop: the fast one falls first
    EXPECT_EQ(d.levelADb, d.levelBDb);
    EXPECT_GT(d.levelBDb, -60.0);
}

// Another order of the double-precision steps rounds each step differently by an ulp or so; a
// slow smoother sums such differences over its time constant (a few thousand steps here).
constexpr double kReorderedDb = 1e-9;

// The detector as defined: one-pole steps on scaled decibels (twice the level; B four times in
// Dyn RMS), scaled back after each step, states kept across mode switches and reset to -90.
struct ScaledStateReference {
    double stateA = -90.0, stateB = -90.0, levelADb = -90.0, levelBDb = -90.0;

    void step(double left, double right, bool dynRms, double a, double b) {
        double x = std::fabs(left) > std::fabs(right) ? std::fabs(left) : std::fabs(right);
        if (x < 0.00001) x = 0.00001;
        const float log2Estimate = fastLog2(static_cast<float>(x));
        if (dynRms) {
            const double i = log2Estimate * 0.6931472f * 8.685889f;
            stateA = (stateA - 2.0 * i) * a + 2.0 * i;
            stateB = (stateB - 4.0 * i) * b + 4.0 * i;
            levelADb = 0.5 * stateA;
            levelBDb = 0.25 * stateB;
            if (levelBDb > levelADb) levelADb = levelBDb;
        } else {
            const double i = log2Estimate * 0.6931472f * 17.371778f;
            stateA = (stateA - i) * a + i;
            stateB = (stateB - i) * b + i;
            levelADb = 0.5 * stateA;
            levelBDb = 0.5 * stateB;
        }
    }
};

TEST(LevelDetector, MatchesTheScaledStateDefinitionAcrossModeSwitchesAndResets) {
    struct Segment {
        double detectionMs;
        bool clearFirst;
    };
    const Segment segments[] = {{10.0, false},  {600.0, false}, {0.0, false},  {600.0, true},
                                {600.0, false}, {35.0, false},  {600.0, true}, {0.0, true}};
    const double fs = 88200.0;
    LevelDetector d;
    ScaledStateReference r;
    uint32_t seed = 99;
    int sample = 0;
    for (const Segment& segment : segments) {
        if (segment.clearFirst) {
            d.clear();
            r = ScaledStateReference{};
        }
        d.setDetection(segment.detectionMs, fs);
        const bool dynRms = segment.detectionMs == 600.0;
        const double a = timeCoefficient(dynRms ? 2.0 : segment.detectionMs, fs);
        const double b = timeCoefficient(dynRms ? 50.0 : 2.0 * segment.detectionMs + 12.0, fs);
        for (int i = 0; i < 3000; ++i, ++sample) {
            seed = seed * 1664525u + 1013904223u;
            // Loud, quiet and below-floor stretches, so the levels rise, fall and cross.
            const double scale =
                (sample / 500) % 3 == 0 ? 1.0 : ((sample / 500) % 3 == 1 ? 1e-3 : 1e-7);
            const double left = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * scale;
            const double right = left * -0.6;
            d.step(left, right);
            r.step(left, right, dynRms, a, b);
            ASSERT_NEAR(d.levelADb, r.levelADb, kReorderedDb) << "sample " << sample;
            ASSERT_NEAR(d.levelBDb, r.levelBDb, kReorderedDb) << "sample " << sample;
        }
    }
}

} // namespace
