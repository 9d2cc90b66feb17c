#pragma once

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

    double step(double x) {
        const double y = b0 * x + a1 * y1 + b1 * x1;
        x1 = x;
        y1 = y;
        return y;
    }
};
