#pragma once

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
