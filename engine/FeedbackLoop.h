#pragma once

#include "GainComputer.h"
#include "LevelDetector.h"
#include "SidechainFilter.h"

// The compressor's feedback loop: the gain comes from levels measured on already compressed
// samples, and the detector then sees the current input with that gain applied. Each step
// depends on the one before through the gain, so this is the engine's one serial chain; all
// else in a frame can overlap with it.
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
    // through memory on the serial chain. kFused as for GainComputer::step.
    template <bool kFused>
    [[gnu::always_inline]] double step(double left, double right, const GainCurve& curve,
                                       DetectorLevels& levels) {
        const double g = gainComputer.step<kFused>(curve, levels.aDb, levels.bDb);
        // Side and mid of the input times g: (L g - R g) 0.5 and (R g + L g) 0.5. Halving is
        // exact, so halving the inputs first gives the same bits (above the denormal range,
        // which the block loop flushes anyway) and takes one multiplication off the chain.
        const double halfLeft = left * 0.5;
        const double halfRight = right * 0.5;
        double side = halfLeft * g - halfRight * g;
        double mid = halfRight * g + halfLeft * g;
        sidechainFilter.process(side, mid, true);
        levels = levelDetector.step(mid + side, mid - side);
        return g;
    }
};
