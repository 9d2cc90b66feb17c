#pragma once

#include "engine/Lanes.h"
#include "engine/MultiplyAdd.h"

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
// The output is b0 x plus the recursive part, which does not wait for the input x. The
// coefficients are kept in both lanes, so each step reads them as they are.
struct StereoBiquad {
    Lanes b0{}, b1{}, b2{}, a1{}, a2{};
    Lanes y1{}, y2{}, x1{}, x2{};

    void setCoefficients(const BiquadCoefficients& c) {
        b0 = Lanes{c.b0, c.b0};
        b1 = Lanes{c.b1, c.b1};
        b2 = Lanes{c.b2, c.b2};
        a1 = Lanes{c.a1, c.a1};
        a2 = Lanes{c.a2, c.a2};
    }
    BiquadCoefficients coefficients() const {
        return BiquadCoefficients{b0[0], b1[0], b2[0], a1[0], a2[0]};
    }

    void clear() { y1 = y2 = x1 = x2 = Lanes{}; }

    // kFused as for multiplyAdd.
    template <bool kFused = false> Lanes recursivePart() const {
        return recursivePart<kFused>(b1, b2, a1, a2, x1, x2, y1, y2);
    }

    template <bool kFused = false> Lanes step(Lanes x) {
        return step<kFused>(x, recursivePart<kFused>());
    }

    // The same with the recursive part worked out already.
    template <bool kFused = false> Lanes step(Lanes x, Lanes recursive) {
        const Lanes y = multiplyAdd<kFused>(b0, x, recursive);
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

    // One channel alone; the other lane's state stays as it is.
    double step(int channelIndex, double x) {
        const int c = channelIndex;
        const double y = b0[c] * x + recursivePart<false>(b1[c], b2[c], a1[c], a2[c], x1[c], x2[c],
                                                          y1[c], y2[c]);
        x2[c] = x1[c];
        x1[c] = x;
        y2[c] = y1[c];
        y1[c] = y;
        return y;
    }

  private:
    // b1 x1 + b2 x2 - a1 y1 - a2 y2, in that order.
    template <bool kFused, typename T>
    static T recursivePart(T b1, T b2, T a1, T a2, T x1, T x2, T y1, T y2) {
        return subtractProduct<kFused>(
            subtractProduct<kFused>(multiplyAdd<kFused>(b2, x2, b1 * x1), a1, y1), a2, y2);
    }
};
