#pragma once

#include "engine/Lanes.h"

// a * b + c, with one rounding where the processor fuses the two. kFused must only be true where
// the caller is compiled for a processor with fused multiply-add; the project turns contraction
// off, so nothing else is fused behind the code's back.
template <bool kFused>
[[gnu::always_inline]] inline double multiplyAdd(double a, double b, double c) {
    if constexpr (kFused)
        return __builtin_fma(a, b, c);
    else
        return a * b + c;
}

// c - a * b.
template <bool kFused>
[[gnu::always_inline]] inline double subtractProduct(double c, double a, double b) {
    if constexpr (kFused)
        return __builtin_fma(-a, b, c);
    else
        return c - a * b;
}

// Both lane by lane. On x86 each is one instruction for both lanes: written
// lane by lane, the compiler works lane 0 out a second time on its own wherever a scalar reads
// it.
template <bool kFused> [[gnu::always_inline]] inline Lanes multiplyAdd(Lanes a, Lanes b, Lanes c) {
    if constexpr (kFused) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
        asm("vfmadd231pd %2, %1, %0" : "+x"(c) : "x"(a), "xm"(b));
        return c;
#else
        return Lanes{__builtin_fma(a[0], b[0], c[0]), __builtin_fma(a[1], b[1], c[1])};
#endif
    } else {
        return a * b + c;
    }
}

template <bool kFused>
[[gnu::always_inline]] inline Lanes subtractProduct(Lanes c, Lanes a, Lanes b) {
    if constexpr (kFused) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
        asm("vfnmadd231pd %2, %1, %0" : "+x"(c) : "x"(a), "xm"(b));
        return c;
#else
        return Lanes{__builtin_fma(-a[0], b[0], c[0]), __builtin_fma(-a[1], b[1], c[1])};
#endif
    } else {
        return c - a * b;
    }
}

// Four lanes in place, sum += a * b and sum -= a * b: by reference, so no four-lane value
// crosses a call in code compiled without AVX.
template <bool kFused>
[[gnu::always_inline]] inline void addProductTo(WideLanes& sum, const WideLanes& a,
                                                const WideLanes& b) {
    if constexpr (kFused) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
        asm("vfmadd231pd %2, %1, %0" : "+x"(sum) : "x"(a), "xm"(b));
#else
        for (int lane = 0; lane < 4; ++lane)
            sum[lane] = __builtin_fma(a[lane], b[lane], sum[lane]);
#endif
    } else {
        sum += a * b;
    }
}

template <bool kFused>
[[gnu::always_inline]] inline void subtractProductFrom(WideLanes& sum, const WideLanes& a,
                                                       const WideLanes& b) {
    if constexpr (kFused) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
        asm("vfnmadd231pd %2, %1, %0" : "+x"(sum) : "x"(a), "xm"(b));
#else
        for (int lane = 0; lane < 4; ++lane)
            sum[lane] = __builtin_fma(-a[lane], b[lane], sum[lane]);
#endif
    } else {
        sum -= a * b;
    }
}
