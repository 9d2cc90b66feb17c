#include "engine/Exponential.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// The gain computer's output gain lies between -4103 dB (the loudest level a float detector can
// report, 770.6 dB, 50 dB over the lowest threshold, at 6:1) and the 3.2e-9 dB of its noise;
// times 0.1151 that is -472.4 .. 3.7e-10. The scans cover it with room on both sides.
constexpr double kLowest = -512.0;
constexpr double kHighest = 1.0 / 64.0;

// Error of one result in units in the last place of the exact value.
double ulpError(double result, double x) {
    const long double exact = std::exp(static_cast<long double>(x));
    int exponent = 0;
    std::frexp(exact, &exponent);
    const long double ulp = std::ldexp(1.0L, exponent - std::numeric_limits<double>::digits);
    return static_cast<double>(std::fabs(static_cast<long double>(result) - exact) / ulp);
}

template <typename Exp> double largestUlpError(Exp exp) {
    double worst = 0.0;
    // Dense and uniform over the range.
    constexpr int kSteps = 1 << 21;
    for (int i = 0; i <= kSteps; ++i) {
        const double x = kLowest + (kHighest - kLowest) * i / kSteps;
        worst = std::fmax(worst, ulpError(exp(x), x));
    }
    // Both sides of every change of table entry, where the reduced argument is largest.
    const double step = std::log(2.0) / ExponentialTable::kSize;
    for (double k = std::ceil(kLowest / step); k * step < kHighest; k += 1.0) {
        const double edge = (k + 0.5) * step;
        worst = std::fmax(worst, ulpError(exp(edge), edge));
        worst =
            std::fmax(worst, ulpError(exp(std::nextafter(edge, 0.0)), std::nextafter(edge, 0.0)));
        worst =
            std::fmax(worst, ulpError(exp(std::nextafter(edge, 1.0)), std::nextafter(edge, 1.0)));
    }
    // Near zero, where the gain rests without reduction, on a logarithmic scale both ways.
    for (double x = 1e-300; x < 1.0; x *= 1.001) {
        worst = std::fmax(worst, ulpError(exp(x), x));
        worst = std::fmax(worst, ulpError(exp(-x), -x));
    }
    return worst;
}

// The same for decibels, against the exponential of the rounded product that the gain is
// defined by.
template <typename ToGain> double largestDecibelUlpError(ToGain toGain) {
    double worst = 0.0;
    constexpr double kLowestDb = kLowest / kDbToExponent;
    constexpr double kHighestDb = kHighest / kDbToExponent;
    constexpr int kSteps = 1 << 21;
    for (int i = 0; i <= kSteps; ++i) {
        const double db = kLowestDb + (kHighestDb - kLowestDb) * i / kSteps;
        worst = std::fmax(worst, ulpError(toGain(db), db * kDbToExponent));
    }
    // Where the table entry chosen from the decibels may differ from the one x itself would give.
    const double step = std::log(2.0) / ExponentialTable::kSize;
    for (double k = std::ceil(kLowest / step); k * step < kHighest; k += 1.0) {
        double db = (k + 0.5) * step / kDbToExponent;
        for (int i = 0; i < 3; ++i, db = std::nextafter(db, 0.0))
            worst = std::fmax(worst, ulpError(toGain(db), db * kDbToExponent));
    }
    for (double db = 1e-300; db < 1.0; db *= 1.001) {
        worst = std::fmax(worst, ulpError(toGain(db), db * kDbToExponent));
        worst = std::fmax(worst, ulpError(toGain(-db), -db * kDbToExponent));
    }
    return worst;
}

TEST(Exponential, IsWithinOneUlpOverTheGainComputersRange) {
    const double worst = largestUlpError([](double x) { return exponential<false>(x); });
    EXPECT_LE(worst, 1.0);
    EXPECT_LE(largestDecibelUlpError([](double db) { return decibelsToGain<false>(db); }), 1.0);
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2,fma"))) double fusedExponential(double x) {
    return exponential<true>(x);
}
__attribute__((target("avx2,fma"))) double fusedDecibelsToGain(double db) {
    return decibelsToGain<true>(db);
}

TEST(Exponential, WithFusedMultiplyAddIsWithinOneUlpOverTheGainComputersRange) {
    if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("fma"))
        GTEST_SKIP() << "no fused multiply-add on this processor";
    EXPECT_LE(largestUlpError(&fusedExponential), 1.0);
    EXPECT_LE(largestDecibelUlpError(&fusedDecibelsToGain), 1.0);
}
#endif

TEST(Exponential, GivesTheLibrarysAnswersAtTheEndsOfTheRange) {
    EXPECT_EQ(exponential<false>(0.0), 1.0);
    EXPECT_EQ(exponential<false>(-std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_EQ(exponential<false>(std::numeric_limits<double>::infinity()),
              std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(exponential<false>(std::nan(""))));
    EXPECT_EQ(exponential<false>(800.0), std::exp(800.0));
    EXPECT_EQ(exponential<false>(-720.0), std::exp(-720.0));
    // Just inside the fast range the result is still a normal number.
    EXPECT_GE(exponential<false>(-707.9), std::numeric_limits<double>::min());
    EXPECT_LE(ulpError(exponential<false>(707.9), 707.9), 1.0);
    EXPECT_EQ(decibelsToGain<false>(0.0), 1.0);
    EXPECT_EQ(decibelsToGain<false>(-1e4), std::exp(-1e4 * kDbToExponent));
}

} // namespace
