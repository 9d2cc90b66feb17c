#pragma once

#include "Decibels.h"
#include "MultiplyAdd.h"

#include <cmath>
#include <cstdint>
#include <cstring>

// 2^(j/128) for j = 0..127 as a double and the relative error of that double, so that
// 2^(j/128) = scale[j] * (1 + tail[j]) to well beyond double precision.
struct ExponentialTable {
    static constexpr int kBits = 7;
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

// e^x to within 1 ulp (about 0.51), inlined so the gain computer's feedback chain does not wait
// for a library call: x = k ln2 / 128 + r with |r| <= ln2 / 256, e^x = 2^(k / 128) e^r, the
// power of two from the table and the exponent bits, e^r from its Taylor series to r^5 (the
// first term left out, r^6 / 720, is below 6e-19). r keeps well beyond double precision:
// without a fused multiply-add, ln2 / 128 is split into a head short enough that k times it is
// exact, and the rest; with one, r is rounded once with the full constant, and k times the
// constant's rest joins the series' first terms rather than waiting in front of them. kFused
// must only be true where the caller is compiled for a processor with fused multiply-add.
// |x| >= 708 (results at the ends of the double range), infinities and NaN go to the library.
//
// z is x times 128 / ln2 plus kExponentShift, whose addition rounds to the integer k held in the
// low bits. A caller may form z from the factors of a product x without waiting for x: k then
// differs from the nearest integer only where x lies a hair from halfway between two table
// entries, and r exceeds ln2 / 256 by that hair, which the series' margin covers.
constexpr double k128OverLn2 = 0x1.71547652b82fep+7;
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
        constexpr double kLn2Over128 = 0x1.62e42fefa39efp-8;
        constexpr double kLn2Over128Rest = 0x1.abc9e3b39803fp-63;
        r = multiplyAdd<true>(kd, -kLn2Over128, x);
        // The true argument is r + d; e^(r + d) - 1 is e^r - 1 + d (1 + r) to far below an ulp.
        const double d = kd * -kLn2Over128Rest;
        linearTerms = multiplyAdd<true>(r, 1.0 + d, d);
    } else {
        constexpr double kLn2Over128Head = 0x1.62e42fefcp-8; // 35 bits: k times it is exact
        constexpr double kLn2Over128Rest = -0x1.c610ca86c3899p-44;
        r = (x - kd * kLn2Over128Head) - kd * kLn2Over128Rest;
        linearTerms = r;
    }
    const double tableScale = kExponentialTable.scale[j];
    uint64_t scaleBits;
    std::memcpy(&scaleBits, &tableScale, sizeof scaleBits);
    scaleBits += static_cast<uint64_t>(k >> ExponentialTable::kBits) << 52;
    double scale;
    std::memcpy(&scale, &scaleBits, sizeof scale);
    // r can exceed ln2 / 256 by a hair when k comes from the factors; the series has room.
    // e^r - 1 in two independent halves, then the table's tail: the tail waits for a load
    // addressed by k, so it joins last, when the series is done.
    const double r2 = r * r;
    const double low = multiplyAdd<kFused>(r2, multiplyAdd<kFused>(r, 1.0 / 6.0, 0.5), linearTerms);
    const double high = multiplyAdd<kFused>(r, 1.0 / 120.0, 1.0 / 24.0);
    return ExponentialParts{scale,
                            multiplyAdd<kFused>(r2 * r2, high, low) + kExponentialTable.tail[j]};
}

template <bool kFused> [[gnu::always_inline]] inline double exponential(double x) {
    if (!(std::fabs(x) < 708.0)) return std::exp(x);
    return exponentialReduced<kFused>(x, multiplyAdd<kFused>(x, k128OverLn2, kExponentShift))
        .template value<kFused>();
}

// 10^(dB / 20) as e^(dB x 0.11512925464970228), the product rounded as written, to within
// 1 ulp of the exponential of that product. k comes from the decibels directly, so the
// reduction does not wait for the product.
template <bool kFused>
[[gnu::always_inline]] inline ExponentialParts decibelsToGainParts(double db) {
    constexpr double k128OverLn2PerDecibel = kDbToExponent * k128OverLn2;
    return exponentialReduced<kFused>(
        db * kDbToExponent, multiplyAdd<kFused>(db, k128OverLn2PerDecibel, kExponentShift));
}

template <bool kFused> [[gnu::always_inline]] inline double decibelsToGain(double db) {
    const double x = db * kDbToExponent;
    if (!(std::fabs(x) < 708.0)) return std::exp(x);
    return decibelsToGainParts<kFused>(db).template value<kFused>();
}
