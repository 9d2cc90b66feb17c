#pragma once

#include "engine/Exponential.h"
#include "engine/LowerByBranch.h"
#include "engine/NoiseTables.h"
#include "engine/SmoothingTime.h"

#include <array>
#include <cmath>

// The static curve: (slope - 1) times the soft knee of the level over the threshold, which is
// zero below -knee, (o + knee)^2 / (4 knee) inside and the overshoot o itself above +knee; a knee
// of 0 is a hard knee. Its terms are worked out once per setting, so each evaluation on the
// feedback chain is one multiply-add above the knee and two inside it, none of them waiting for
// the threshold.
struct GainCurve {
    double kneeStartDb = 0.0; // threshold - knee
    double kneeEndDb = 0.0;   // threshold + knee
    double reductionPerDb = 0.0;
    double aboveKneeOffsetDb = 0.0; // -(slope - 1) threshold
    double kneeCurvature = 0.0;     // (slope - 1) / (4 knee); 0 for a hard knee
    double kneeStartOffset = 0.0;   // -(threshold - knee) times the curvature

    static GainCurve make(double thresholdDb, double kneeDb, double slope) {
        GainCurve c;
        c.kneeStartDb = thresholdDb - kneeDb;
        c.kneeEndDb = thresholdDb + kneeDb;
        c.reductionPerDb = slope - 1.0;
        c.aboveKneeOffsetDb = -c.reductionPerDb * thresholdDb;
        c.kneeCurvature = kneeDb > 0.0 ? c.reductionPerDb / (4.0 * kneeDb) : 0.0;
        c.kneeStartOffset = -c.kneeStartDb * c.kneeCurvature;
        return c;
    }

    // The gain in dB the curve asks for at a level, plus noise.
    template <bool kFused = false>
    [[gnu::always_inline]] double targetDb(double levelDb, double noise) const {
        if (levelDb < kneeStartDb) return noise;
        if (levelDb < kneeEndDb) {
            // (slope - 1) u^2 / (4 knee) with u = level - knee start, as u (u curvature).
            const double u = levelDb - kneeStartDb;
            return multiplyAdd<kFused>(
                u, multiplyAdd<kFused>(levelDb, kneeCurvature, kneeStartOffset), noise);
        }
        return multiplyAdd<kFused>(levelDb, reductionPerDb, aboveKneeOffsetDb + noise);
    }
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

    // One step from the detector levels; returns the linear gain factor in the exponential's
    // parts, so the caller can fold its multiplication by the gain into the last step. kFused:
    // the caller is compiled for a processor with fused multiply-add.
    template <bool kFused = false>
    [[gnu::always_inline]] ExponentialParts step(const GainCurve& curve, double levelADb,
                                                 double levelBDb) {
        const double n = noise[noisePosition];
        if (++noisePosition == kSmallNoisePeriod) noisePosition = 0;
        const double targetA = curve.targetDb<kFused>(levelADb, n);
        const double targetB = curve.targetDb<kFused>(levelBDb, n);
        // A rising target means less reduction: release; falling or equal: attack. Both steps
        // are taken and one is chosen, so they need not wait for the comparison.
        const double releasedA = releaseFast.smooth<kFused>(envelopeADb, targetA);
        const double attackedA = attack.smooth<kFused>(envelopeADb, targetA);
        const double releasedB = releaseSlow.smooth<kFused>(envelopeBDb, targetB);
        const double attackedB = attack.smooth<kFused>(envelopeBDb, targetB);
        envelopeADb = targetA > envelopeADb ? releasedA : attackedA;
        envelopeBDb = targetB > envelopeBDb ? releasedB : attackedB;
        // Which envelope is lower changes seldom.
        const double minimumDb = lowerByBranch(envelopeADb, envelopeBDb);
        const double smoothedDb = finalSmoothing.smooth<kFused>(outputGainDb, minimumDb);
        outputGainDb = minimumDb > outputGainDb ? smoothedDb : minimumDb;
        return decibelsToGainParts<kFused>(outputGainDb);
    }
};
