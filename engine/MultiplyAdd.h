#pragma once

#include "Lanes.h"

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

// The same lane by lane on two lanes.
template <bool kFused> [[gnu::always_inline]] inline Lanes multiplyAdd(Lanes a, Lanes b, Lanes c) {
    if constexpr (kFused)
        return Lanes{__builtin_fma(a[0], b[0], c[0]), __builtin_fma(a[1], b[1], c[1])};
    else
        return a * b + c;
}
