#pragma once

#include "engine/GainComputer.h"
#include "engine/LevelDetector.h"
#include "engine/SidechainFilter.h"

// The compressor's feedback loop: the gain comes from levels measured on already compressed
// samples, and the detector then sees the current input with that gain applied. Each step
// depends on the one before through the gain, so this is the engine's one serial chain; all
// else in a frame can overlap with it. With a key signal the same parts detect feed-forward.
struct FeedbackLoop {
    GainComputer gainComputer;
    LevelDetector levelDetector;
    SidechainFilter sidechainFilter;

    // Coefficients for the settings at the internal rate; the states carry on.
    void design(ScFilterType scFilterType, double scFrequencyHz, double detectionMs,
                double attackMs, double releaseMs, double releaseSlowMs, double internalRateHz) {
        sidechainFilter.design(scFilterType, scFrequencyHz, internalRateHz);
        levelDetector.setDetection(detectionMs, internalRateHz);
        gainComputer.setTimes(attackMs, releaseMs, releaseSlowMs, internalRateHz);
    }

    void clear() {
        levelDetector.clear();
        gainComputer.clear();
        sidechainFilter.clear();
    }

    // One step on an input pair; returns the linear gain. levels carries the detector's levels
    // from one step to the next: the caller keeps it in a local variable over its loop, so the
    // value the next step starts from stays in a register rather than making a round trip
    // through memory on the serial chain. kFused as for multiplyAdd.
    template <bool kFused>
    [[gnu::always_inline]] double step(double left, double right, const GainCurve& curve,
                                       DetectorLevels& levels) {
        const ExponentialParts gain = gainComputer.step<kFused>(curve, levels.aDb, levels.bDb);
        // Side and mid of the input, each to be scaled by the gain.
        const Lanes sideMid = Lanes{left - right, left + right} * 0.5;
        // The detector reads mid + side and mid - side of the filtered signal. Each is linear in
        // the gain, s g + o, and with g = scale (1 + fraction) it is one multiply-add,
        // (s scale) fraction + (s scale + o), from the exponential's last value on; the addend is
        // a multiply-add of its own, ready as soon as the scale is.
        const SidechainFilter::Recursion recursion = sidechainFilter.recursion<kFused>();
        const SidechainFilter::GainResponse y =
            sidechainFilter.detectorResponse<kFused>(sideMid, recursion);
        const double slopeSum = y.slope[1] + y.slope[0];
        const double slopeDifference = y.slope[1] - y.slope[0];
        const double detectorLeft = multiplyAdd<kFused>(
            slopeSum * gain.scale, gain.fraction,
            multiplyAdd<kFused>(slopeSum, gain.scale, y.offset[1] + y.offset[0]));
        const double detectorRight = multiplyAdd<kFused>(
            slopeDifference * gain.scale, gain.fraction,
            multiplyAdd<kFused>(slopeDifference, gain.scale, y.offset[1] - y.offset[0]));
        levels = levelDetector.step<kFused>(detectorLeft, detectorRight);
        // The filter's states step with the gain applied, off the chain.
        const double g = gain.value<kFused>();
        double side = g * sideMid[0];
        double mid = g * sideMid[1];
        sidechainFilter.process<kFused>(side, mid, true, recursion);
        return g;
    }

    // One step with the detector on a key signal instead (feed-forward): the same filter,
    // detector and gain computer, but the key is not multiplied by the gain, so only the gain
    // computer's envelopes stay on the serial chain. As in step(), the gain comes from the levels
    // of the step before, so a key sample moves the gain at the step its twin in the main signal
    // would.
    template <bool kFused>
    [[gnu::always_inline]] double keyedStep(double keyLeft, double keyRight, const GainCurve& curve,
                                            DetectorLevels& levels) {
        const ExponentialParts gain = gainComputer.step<kFused>(curve, levels.aDb, levels.bDb);
        double side = (keyLeft - keyRight) * 0.5;
        double mid = (keyLeft + keyRight) * 0.5;
        sidechainFilter.process<kFused>(side, mid, true);
        levels = levelDetector.step<kFused>(mid + side, mid - side);
        return gain.value<kFused>();
    }
};
