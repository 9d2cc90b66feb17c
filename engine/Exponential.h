#pragma once

#include "engine/Decibels.h"
#include "engine/MultiplyAdd.h"

#include <cmath>
#include <cstdint>
#include <cstring>

// 2^(j/4096) for j = 0..4095 as a double and the relative error of that double, so that
// 2^(j/4096) = scale[j] * (1 + tail[j]) to well beyond double precision. The table is large so
// that the series after it is short: the series is on the feedback chain, the table is not.
struct ExponentialTable {
    static constexpr int kBits = 12;
    static constexpr int kSize = 1 << kBits;
    double scale[kSize];
    double tail[kSize];
};
extern const ExponentialTable kExponentialTable;

// e^x as scale (1 + fraction): the exponential's last multiply-add is left to the caller, who
// may fold its own multiplication by the result into it (g y = (scale y) fraction + scale y),
// where scale y is ready long before the fraction. Outside |x| < 708 the scale is the library's
// result and the fraction 0, which only an overflow to infinity would turn into NaN.
struct ExponentialParts {
    double scale;
    double fraction;

    template <bool kFused> [[gnu::always_inline]] double value() const {
        return multiplyAdd<kFused>(scale, fraction, scale);
    }
};

// e^x to within 1 ulp, inlined so the gain computer's feedback chain does not wait for a library
// call: x = k ln2 / 4096 + r with |r| <= ln2 / 8192, e^x = 2^(k / 4096) e^r, the power of two
// from the table and the exponent bits, e^r from its Taylor series to r^3 (the first term left
// out, r^4 / 24, is below 3e-18). r keeps well beyond double precision: without a fused
// multiply-add, ln2 / 4096 is split into a head short enough that k times it is exact, and the
// rest; with one, r is rounded once with the full constant, and k times the constant's rest
// joins the series' first terms rather than waiting in front of them. kFused must only be true
// where the caller is compiled for a processor with fused multiply-add. |x| >= 708 (results at
// the ends of the double range), infinities and NaN go to the library.
//
// z is x times 4096 / ln2 plus kExponentShift, whose addition rounds to the integer k held in
// the low bits. A caller may form z from the factors of a product x without waiting for x: k
// then differs from the nearest integer only where x lies a hair from halfway between two table
// entries, and r exceeds ln2 / 8192 by that hair, which the series' margin covers.
constexpr double kStepsOverLn2 = 0x1.71547652b82fep+12;
constexpr double kExponentShift = 0x1.8p52;

template <bool kFused>
[[gnu::always_inline]] inline ExponentialParts exponentialReduced(double x, double z) {
    if (!(std::fabs(x) < 708.0)) return ExponentialParts{std::exp(x), 0.0};
    constexpr int64_t kShiftBits = 0x4338000000000000;
    int64_t bits;
    std::memcpy(&bits, &z, sizeof bits);
    const int64_t k = bits - kShiftBits;
    const double kd = z - kExponentShift;
    // The shift's low bits are zero, so the table index needs no subtraction first.
    const int j = static_cast<int>(bits & (ExponentialTable::kSize - 1));
    // r, and the series' terms of first and zeroth order: e^r - 1 = r + r^2 / 2 + ...
    double r;
    double linearTerms;
    if constexpr (kFused) {
        constexpr double kLn2PerStep = 0x1.62e42fefa39efp-13;
        constexpr double kLn2PerStepRest = 0x1.abc9e3b39803fp-68;
        r = multiplyAdd<true>(kd, -kLn2PerStep, x);
        // The true argument is r + d; e^(r + d) - 1 is e^r - 1 + d (1 + r) to far below an ulp.
        const double d = kd * -kLn2PerStepRest;
        linearTerms = multiplyAdd<true>(r, 1.0 + d, d);
    } else {
        constexpr double kLn2PerStepHead = 0x1.62e42ffp-13; // 29 bits: k times it is exact
        constexpr double kLn2PerStepRest = -0x1.718432a1b0e26p-47;
        r = (x - kd * kLn2PerStepHead) - kd * kLn2PerStepRest;
        linearTerms = r;
    }
    const double tableScale = kExponentialTable.scale[j];
    uint64_t scaleBits;
    std::memcpy(&scaleBits, &tableScale, sizeof scaleBits);
    scaleBits += static_cast<uint64_t>(k >> ExponentialTable::kBits) << 52;
    double scale;
    std::memcpy(&scale, &scaleBits, sizeof scale);
    // r can exceed ln2 / 8192 by a hair when k comes from the factors; the series has room.
    // e^r - 1, then the table's tail: the tail waits for a load addressed by k, so it joins
    // last, when the series is done.
    const double series =
        multiplyAdd<kFused>(r * r, multiplyAdd<kFused>(r, 1.0 / 6.0, 0.5), linearTerms);
    return ExponentialParts{scale, series + kExponentialTable.tail[j]};
}

template <bool kFused> [[gnu::always_inline]] inline double exponential(double x) {
    if (!(std::fabs(x) < 708.0)) return std::exp(x);
    return exponentialReduced<kFused>(x, multiplyAdd<kFused>(x, kStepsOverLn2, kExponentShift))
        .template value<kFused>();
}

// 10^(dB / 20) as e^(dB x 0.11512925464970228), the product rounded as written, to within
// 1 ulp of the exponential of that product. k comes from the decibels directly, so the
// reduction does not wait for the product.
template <bool kFused>
[[gnu::always_inline]] inline ExponentialParts decibelsToGainParts(double db) {
    constexpr double kStepsOverLn2PerDecibel = kDbToExponent * kStepsOverLn2;
    return exponentialReduced<kFused>(
        db * kDbToExponent, multiplyAdd<kFused>(db, kStepsOverLn2PerDecibel, kExponentShift));
}

template <bool kFused> [[gnu::always_inline]] inline double decibelsToGain(double db) {
    const double x = db * kDbToExponent;
    if (!(std::fabs(x) < 708.0)) return std::exp(x);
    return decibelsToGainParts<kFused>(db).template value<kFused>();
}
