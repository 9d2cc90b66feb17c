#pragma once

#include "engine/MultiplyAdd.h"

// One-pole coefficient for a time constant of timeMs at sampleRateHz: the cubic series of
// exp(-1000 / (timeMs * sampleRateHz)). The literal 0.166666666 (not an exact sixth) is part of
// the sound: it makes even the longest times leak by 4e-9 per step.
// Times of 0.01 ms or less mean "no smoothing" (0). Far below one sample per time constant the
// cubic turns negative and, further out, below -1, which would make the smoother oscillate or
// diverge; such times also get 0, the limit the exponential itself approaches.
inline double timeCoefficient(double timeMs, double sampleRateHz) {
    if (!(timeMs > 0.01)) return 0.0;
    const double x = -1000.0 / (timeMs * sampleRateHz);
    const double series = (((x + 3.0) * x + 6.0) * x + 6.0) * 0.166666666;
    return series > 0.0 ? series : 0.0;
}

// A time constant together with the coefficient that follows it at the current rate.
struct SmoothingTime {
    double timeMs = 0.0;
    double sampleRateHz = 44100.0;
    double coefficient = 0.0;
    double complement = 1.0; // 1 - coefficient

    SmoothingTime(double initialTimeMs, double rateHz) { set(initialTimeMs, rateHz); }

    void set(double newTimeMs, double rateHz) {
        timeMs = newTimeMs;
        sampleRateHz = rateHz;
        coefficient = timeCoefficient(timeMs, sampleRateHz);
        complement = 1.0 - coefficient;
    }

    // Moves state toward target by one step: (state - target) c + target, taken as
    // target (1 - c) + state c so that only one multiply-add waits for the target, which on the
    // feedback chain arrives last. kFused as for multiplyAdd.
    template <bool kFused = false>
    [[gnu::always_inline]] double smooth(double state, double target) const {
        return multiplyAdd<kFused>(target, complement, state * coefficient);
    }
};
