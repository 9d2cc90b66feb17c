#pragma once

#include "engine/MultiplyAdd.h"

// First-order high-pass, one channel. The sign convention of a1 (added, not subtracted) is kept
// from the design below so the coefficients read as the bilinear transform produces them.
struct OnePoleHighPass {
    double x1 = 0.0;
    double y1 = 0.0;
    double b0 = 0.0;
    double b1 = 0.0;
    double a1 = 0.0;

    // Bilinear transform without prewarping for an angular corner (rad/s) at the internal rate.
    void design(double cornerRadPerS, double internalRateHz) {
        const double k = 2.0 * internalRateHz;
        const double c = 1.0 / (k + cornerRadPerS);
        b0 = k * c;
        b1 = -b0;
        a1 = (k - cornerRadPerS) * c;
    }

    void clear() { x1 = y1 = 0.0; }

    // The part of the next output that does not wait for the next input.
    double recursivePart() const { return a1 * y1 + b1 * x1; }

    // kFused as for multiplyAdd.
    template <bool kFused = false> [[gnu::always_inline]] double step(double x) {
        return step<kFused>(x, recursivePart());
    }

    // The same with the recursive part worked out already.
    template <bool kFused = false> [[gnu::always_inline]] double step(double x, double recursive) {
        const double y = multiplyAdd<kFused>(b0, x, recursive);
        x1 = x;
        y1 = y;
        return y;
    }
};
