#pragma once

#include "Exponential.h"
#include "LowerByBranch.h"
#include "NoiseTables.h"
#include "SmoothingTime.h"

#include <array>
#include <cmath>

// Soft knee on an overshoot (dB over threshold): zero below -knee, the quadratic
// (o + knee)^2 / (4 knee) inside, the overshoot itself above +knee. Knee 0 is a hard knee.
inline double kneeCurve(double overshootDb, double kneeDb) {
    if (-kneeDb > overshootDb) return 0.0;
    if (kneeDb > overshootDb)
        return overshootDb * overshootDb / (kneeDb * 4.0) + kneeDb * 0.25 + overshootDb * 0.5;
    return overshootDb;
}

// Static curve as the gain computer holds it.
struct GainCurve {
    double thresholdMinusKneeDb;
    double kneeDb;
    double slope;
};

// Turns the detector's two levels into one gain: static curve, an attack shared by two
// envelopes with fast and slow release, and a final smoothing only while the gain rises.
struct GainComputer {
    SmoothingTime releaseFast{50.0, 44100.0};
    SmoothingTime releaseSlow{50.0, 44100.0};
    SmoothingTime attack{50.0, 44100.0};
    SmoothingTime finalSmoothing{5.0, 44100.0};
    double sampleRateHz = 44100.0;
    double envelopeADb = 0.0;
    double envelopeBDb = 0.0;
    double outputGainDb = 0.0;
    // Added to each target so the envelopes never decay into the denormal range.
    std::array<double, kSmallNoiseSize> noise{};
    int noisePosition = 0;

    GainComputer() {
        CRuntimeRandom random(kGainNoiseSeed);
        fillSmallNoise(random, noise.data(), kSmallNoiseSize);
    }

    void setTimes(double attackMs, double releaseFastMs, double releaseSlowMs,
                  double internalRateHz) {
        sampleRateHz = internalRateHz;
        attack.set(attackMs, internalRateHz);
        releaseFast.set(releaseFastMs, internalRateHz);
        releaseSlow.set(releaseSlowMs, internalRateHz);
        finalSmoothing.set(finalSmoothing.timeMs, internalRateHz);
    }

    void clear() { envelopeADb = envelopeBDb = outputGainDb = 0.0; }

    // One step from the detector levels; returns the linear gain factor. kFused: the caller is
    // compiled for a processor with fused multiply-add, which the exponential then uses.
    template <bool kFused = false>
    [[gnu::always_inline]] double step(const GainCurve& curve, double levelADb, double levelBDb) {
        const double n = noise[noisePosition];
        if (++noisePosition == kSmallNoisePeriod) noisePosition = 0;
        const double reductionPerDb = curve.slope - 1.0;
        const double targetA =
            reductionPerDb *
                kneeCurve(levelADb - curve.thresholdMinusKneeDb - curve.kneeDb, curve.kneeDb) +
            n;
        const double targetB =
            reductionPerDb *
                kneeCurve(levelBDb - curve.thresholdMinusKneeDb - curve.kneeDb, curve.kneeDb) +
            n;
        // A rising target means less reduction: release; falling or equal: attack. The
        // coefficients are chosen as values so no load waits on the comparison.
        const double attackCoefficient = attack.coefficient;
        envelopeADb =
            onePoleStep(envelopeADb, targetA,
                        targetA > envelopeADb ? releaseFast.coefficient : attackCoefficient);
        envelopeBDb =
            onePoleStep(envelopeBDb, targetB,
                        targetB > envelopeBDb ? releaseSlow.coefficient : attackCoefficient);
        // Which envelope is lower changes seldom.
        const double minimumDb = lowerByBranch(envelopeADb, envelopeBDb);
        outputGainDb =
            minimumDb > outputGainDb ? finalSmoothing.smooth(outputGainDb, minimumDb) : minimumDb;
        return decibelsToGain<kFused>(outputGainDb);
    }
};
