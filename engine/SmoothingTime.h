#pragma once

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

// One step of a one-pole smoother of state toward target.
inline double onePoleStep(double state, double target, double coefficient) {
    return (state - target) * coefficient + target;
}

// A time constant together with the coefficient that follows it at the current rate.
struct SmoothingTime {
    double timeMs = 0.0;
    double sampleRateHz = 44100.0;
    double coefficient = 0.0;

    SmoothingTime(double initialTimeMs, double rateHz) { set(initialTimeMs, rateHz); }

    void set(double newTimeMs, double rateHz) {
        timeMs = newTimeMs;
        sampleRateHz = rateHz;
        coefficient = timeCoefficient(timeMs, sampleRateHz);
    }

    // Moves state toward target by one step.
    double smooth(double state, double target) const {
        return onePoleStep(state, target, coefficient);
    }
};
