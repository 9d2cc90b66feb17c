#pragma once

#include "Lanes.h"

// Normalized biquad coefficients (already divided by a0).
struct BiquadCoefficients {
    double b0 = 0.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double a1 = 0.0;
    double a2 = 0.0;
};

// Low shelf of the widely published cookbook form; gainDb below 0 cuts the lows.
BiquadCoefficients designLowShelf(double centreHz, double q, double gainDb, double internalRateHz);

// Direct form I biquad with one shared coefficient set and two channel states, run on both
// channels at once. Lane 0 carries the left (or side) signal, lane 1 the right (or mid) signal.
// The output is b0 x plus the recursive part, which does not wait for the input x.
struct StereoBiquad {
    BiquadCoefficients coefficients;
    Lanes y1{}, y2{}, x1{}, x2{};

    void clear() { y1 = y2 = x1 = x2 = Lanes{}; }

    Lanes recursivePart() const { return recursivePart(coefficients, x1, x2, y1, y2); }

    Lanes step(Lanes x) { return step(x, recursivePart()); }

    // The same with the recursive part worked out already. Both lanes in one plain multiply and
    // add: fused lane by lane they would cost more in shuffles than they save.
    Lanes step(Lanes x, Lanes recursive) {
        const Lanes y = coefficients.b0 * x + recursive;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

    // One channel alone; the other lane's state stays as it is.
    double step(int channelIndex, double x) {
        const double y =
            coefficients.b0 * x + recursivePart(coefficients, x1[channelIndex], x2[channelIndex],
                                                y1[channelIndex], y2[channelIndex]);
        x2[channelIndex] = x1[channelIndex];
        x1[channelIndex] = x;
        y2[channelIndex] = y1[channelIndex];
        y1[channelIndex] = y;
        return y;
    }

  private:
    template <typename T>
    static T recursivePart(const BiquadCoefficients& c, T x1, T x2, T y1, T y2) {
        return c.b1 * x1 + c.b2 * x2 - c.a1 * y1 - c.a2 * y2;
    }
};
