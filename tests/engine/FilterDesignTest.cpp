#include "engine/DynamicsEngine.h"
#include "engine/HarmonicsBands.h"
#include "engine/OnePoleHighPass.h"
#include "engine/SidechainFilter.h"
#include "engine/StereoBiquad.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>

namespace {

constexpr double kPi = 3.141592653589793;

// Magnitude of a biquad's response at frequency f (Hz) and rate fs, from its transfer function.
double magnitude(const BiquadCoefficients& c, double f, double fs) {
    const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * f / fs);
    const std::complex<double> z2 = z1 * z1;
    return std::abs((c.b0 + c.b1 * z1 + c.b2 * z2) / (1.0 + c.a1 * z1 + c.a2 * z2));
}

double magnitude(const OnePoleHighPass& h, double f, double fs) {
    const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * f / fs);
    return std::abs((h.b0 + h.b1 * z1) / (1.0 - h.a1 * z1));
}

TEST(InternalRate, DoublesBelowSeventyKilohertz) {
    struct Case {
        double host, internal;
    };
    for (const Case c : {Case{44100.0, 88200.0}, Case{69999.0, 139998.0}, Case{70000.0, 70000.0},
                         Case{96000.0, 96000.0}, Case{48000.0, 96000.0}})
        EXPECT_EQ(internalRateHz(c.host), c.internal) << c.host;
}

TEST(OnePoleHighPassDesign, BlocksDcAndPassesNyquistAtUnity) {
    OnePoleHighPass h;
    h.design(2.0 * kPi * 100.0, 88200.0);
    EXPECT_EQ(h.b0 + h.b1, 0.0);
    EXPECT_NEAR((h.b0 - h.b1) / (1.0 + h.a1), 1.0, 1e-15);
    // Without prewarping the corner is slightly lower than asked: about -3 dB there.
    EXPECT_NEAR(magnitude(h, 100.0, 88200.0), std::sqrt(0.5), 1e-3);
}

TEST(OnePoleHighPassDesign, StepFollowsItsDifferenceEquation) {
    OnePoleHighPass h;
    h.design(1000.0, 10000.0);
    const double y0 = h.step(1.0);
    const double y1 = h.step(1.0);
    EXPECT_DOUBLE_EQ(y0, h.b0);
    EXPECT_DOUBLE_EQ(y1, h.b0 + h.a1 * y0 + h.b1);
}

TEST(LowShelfDesign, ZeroDecibelsIsTheIdentity) {
    const BiquadCoefficients c = designLowShelf(40.0, 0.3, 0.0, 88200.0);
    EXPECT_NEAR(c.b0, 1.0, 1e-15);
    EXPECT_NEAR(c.b1, c.a1, 1e-15);
    EXPECT_NEAR(c.b2, c.a2, 1e-15);
}

TEST(LowShelfDesign, CutsTheLowsByItsGainAndLeavesTheHighs) {
    const BiquadCoefficients c = designLowShelf(20.0, 0.3, -18.9, 88200.0);
    EXPECT_NEAR(20.0 * std::log10(magnitude(c, 0.0, 88200.0)), -18.9, 1e-9);
    EXPECT_NEAR(20.0 * std::log10(magnitude(c, 10000.0, 88200.0)), 0.0, 0.01);
}

TEST(HarmonicsBandDesign, LowPassAtNinetyHertzUsesTheInternalRate) {
    const BiquadCoefficients c = designLfBand(88200.0);
    const double w0 = 565.4866776461628 / 88200.0;
    EXPECT_NEAR(c.a1, -2.0 * std::cos(w0) / (1.0 + std::sin(w0) / (2.0 * 0.63)), 1e-15);
    EXPECT_NEAR(magnitude(c, 0.0, 88200.0), 1.0, 1e-9);
    // Q 0.63 at the corner.
    EXPECT_NEAR(magnitude(c, 90.0, 88200.0), 0.63, 1e-3);
}

TEST(HarmonicsBandDesign, BandPassPeaksAtItsCentreWithSkirtGain) {
    for (const double centreHz : {3000.0, 5000.0}) {
        const double fs = 96000.0;
        const BiquadCoefficients c = designHfBand(2.0 * kPi * centreHz, fs);
        const double w0 = 2.0 * kPi * centreHz / fs;
        const double alpha =
            std::sin(w0) * std::sinh(std::log(2.0) / 2.0 * 2.0 * w0 / std::sin(w0));
        EXPECT_NEAR(magnitude(c, centreHz, fs), std::sin(w0) / (2.0 * alpha), 1e-9);
        EXPECT_LT(magnitude(c, centreHz / 8.0, fs), 0.5 * magnitude(c, centreHz, fs));
        EXPECT_EQ(magnitude(c, 0.0, fs), 0.0);
        // The band-pass pair of the harmonics relies on these two exactly.
        EXPECT_EQ(c.b1, 0.0);
        EXPECT_EQ(c.b2, -c.b0);
    }
}

TEST(SidechainFilterDesign, CornersFollowTheType) {
    struct Case {
        ScFilterType type;
        double frequencyHz, sideHz, midHz;
    };
    const double fs = 88200.0;
    for (const Case c : {Case{ScFilterType::sixPerOctave, 100.0, 133.33, 100.0},
                         Case{ScFilterType::off, 100.0, 50.0, 10.0},
                         Case{ScFilterType::threePerOctave, 250.0, 50.0, 10.0}}) {
        SidechainFilter f;
        f.design(c.type, c.frequencyHz, fs);
        OnePoleHighPass side, mid;
        side.design(2.0 * kPi * c.sideHz, fs);
        mid.design(2.0 * kPi * c.midHz, fs);
        EXPECT_NEAR(f.sideHighPass.a1, side.a1, 1e-12);
        EXPECT_NEAR(f.midHighPass.a1, mid.a1, 1e-12);
        EXPECT_NEAR(20.0 * std::log10(magnitude(f.shelf1.coefficients(), 0.0, fs)), -18.9, 1e-9);
        EXPECT_NEAR(20.0 * std::log10(magnitude(f.shelf2.coefficients(), 0.0, fs)), -0.9, 1e-9);
    }
}

TEST(SidechainFilterDesign, ATypeOutsideTheEnumerationKeepsTheLastOne) {
    const auto engine = std::make_unique<DynamicsEngine>();
    engine->setScFilterType(ScFilterType::sixPerOctave);
    for (int bad : {-1, 3, 1000})
        engine->setScFilterType(static_cast<ScFilterType>(bad));
    EXPECT_EQ(engine->settings().scFilterType, static_cast<int>(ScFilterType::sixPerOctave));
}

TEST(SidechainFilter, ThreePerOctaveRunsShelvesThenTheSideHighPassForTheDetector) {
    const double fs = 88200.0;
    SidechainFilter f;
    f.design(ScFilterType::threePerOctave, 100.0, fs);
    StereoBiquad s1 = f.shelf1, s2 = f.shelf2;
    OnePoleHighPass hp = f.sideHighPass;
    for (int i = 0; i < 50; ++i) {
        const double x = std::sin(0.01 * i), m = std::cos(0.02 * i);
        double side = x, mid = m;
        f.process(side, mid, true);
        const double expectedMid = s2.step(1, s1.step(1, m));
        const double shelved = s2.step(0, s1.step(0, x));
        ASSERT_DOUBLE_EQ(mid, expectedMid);
        ASSERT_DOUBLE_EQ(side, hp.step(shelved));
    }
}

TEST(SidechainFilter, PreviewLeavesTheSideHighPassOutAfterTheShelves) {
    const double fs = 88200.0;
    SidechainFilter f;
    f.design(ScFilterType::threePerOctave, 100.0, fs);
    StereoBiquad s1 = f.shelf1, s2 = f.shelf2;
    for (int i = 0; i < 50; ++i) {
        double side = std::sin(0.01 * i), mid = 0.0;
        const double expected = s2.step(0, s1.step(0, side));
        s1.step(1, 0.0);
        s2.step(1, 0.0);
        f.process(side, mid, false);
        ASSERT_DOUBLE_EQ(side, expected);
    }
}

TEST(SidechainFilter, OtherTypesUseOnlyTheHighPasses) {
    const double fs = 88200.0;
    SidechainFilter f;
    f.design(ScFilterType::sixPerOctave, 200.0, fs);
    OnePoleHighPass side = f.sideHighPass, mid = f.midHighPass;
    for (int i = 0; i < 50; ++i) {
        double s = std::sin(0.03 * i), m = std::cos(0.05 * i);
        const double expectedSide = side.step(s), expectedMid = mid.step(m);
        f.process(s, m, true);
        ASSERT_DOUBLE_EQ(s, expectedSide);
        ASSERT_DOUBLE_EQ(m, expectedMid);
    }
}

} // namespace
