#pragma once

#include "engine/Decibels.h"
#include "engine/SmoothingTime.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The float whose bits are (bits of a AND 0x807FFFFF) + 0x3F800000: a's mantissa and sign with
// the exponent of 1. The mask leaves the exponent field zero, so the addition is an OR; with SSE
// both stay in the vector register, which the feedback chain otherwise leaves and re-enters.
inline float mantissaWithUnitExponent(float a) {
#if defined(__SSE2__)
    const __m128 mask = _mm_castsi128_ps(_mm_set1_epi32(static_cast<int>(0x807FFFFFu)));
    const __m128 unitExponent = _mm_castsi128_ps(_mm_set1_epi32(0x3F800000));
    // Lane 0 alone matters: a enters the register as it is, without the other lanes cleared.
    __m128 v;
#if defined(__GNUC__)
    asm("" : "=x"(v) : "0"(a));
#else
    v = _mm_set_ss(a);
#endif
    return _mm_cvtss_f32(_mm_or_ps(_mm_and_ps(v, mask), unitExponent));
#else
    uint32_t v;
    std::memcpy(&v, &a, sizeof v);
    const uint32_t mantissaBits = (v & 0x807FFFFFu) + 0x3F800000u;
    float m;
    std::memcpy(&m, &mantissaBits, sizeof m);
    return m;
#endif
}

// log2 estimate in single precision: exponent plus a quadratic through the mantissa. Its error
// (under 0.01 in log2) is part of the detector's character; a library log would also be slower.
inline float fastLog2(float a) {
    uint32_t v;
    std::memcpy(&v, &a, sizeof v);
    const int exponent = static_cast<int>((v >> 23) & 0xFFu) - 128;
    const float m = mantissaWithUnitExponent(a);
    const float p = (2.0f - m * 0.33333334f) * m - 0.6666667f;
    return static_cast<float>(exponent) + p;
}

// The detector's two levels, in dB.
struct DetectorLevels {
    double aDb;
    double bDb;
};

// Stereo-linked level detector smoothing decibel values. Each mode is defined as a one-pole step
// on scaled decibels (A on twice the level; B on twice the level, or four times in Dyn RMS),
// scaled back to the level afterwards. Scaling by a power of two commutes with every rounding,
// so the same step run on the level itself with the input scaled down gives the same result, one
// multiplication shorter on the feedback chain: the states hold the level, and the reset value
// and a switch into or out of Dyn RMS are translated to that unit.
struct LevelDetector {
    static constexpr double kDynRmsMs = 600.0;
    static constexpr double kFloorAmplitude = 0.00001; // -100 dB
    static constexpr double kResetStateDb = -90.0;     // in the scaled unit

    double instantaneousDb = -90.0;
    double levelADb = -90.0;
    double levelBDb = -90.0;
    double stateA = 0.5 * kResetStateDb;
    double stateB = 0.5 * kResetStateDb;
    SmoothingTime timeA{2.0, 44100.0};
    SmoothingTime timeB{1.0, 44100.0};
    bool dynRms = false;

    // Peak (0 ms), RMS time (0.1..60 ms) or Dyn RMS (exactly 600 ms), at the internal rate.
    void setDetection(double detectionMs, double internalRateHz) {
        const bool wasDynRms = dynRms;
        dynRms = detectionMs == kDynRmsMs;
        // The scaled B state carries over a switch unchanged, so its level halves or doubles.
        if (dynRms != wasDynRms) stateB *= dynRms ? 0.5 : 2.0;
        if (dynRms) {
            timeA.set(2.0, internalRateHz);
            timeB.set(50.0, internalRateHz);
        } else {
            timeA.set(detectionMs, internalRateHz);
            timeB.set(2.0 * detectionMs + 12.0, internalRateHz);
        }
    }

    void clear() {
        instantaneousDb = levelADb = levelBDb = kResetStateDb;
        stateA = 0.5 * kResetStateDb;
        stateB = (dynRms ? 0.25 : 0.5) * kResetStateDb;
    }

    DetectorLevels levels() const { return DetectorLevels{levelADb, levelBDb}; }

    // One step; returns the new levels, which levelADb and levelBDb also hold. kFused as for
    // multiplyAdd.
    template <bool kFused = false>
    [[gnu::always_inline]] DetectorLevels step(double left, double right) {
        double a = std::fabs(left) > std::fabs(right) ? std::fabs(left) : std::fabs(right);
        if (kFloorAmplitude > a) a = kFloorAmplitude;
        // log2 to decibels: times ln 2, times 20 / ln 10, both in single precision.
        const double levelDb = fastLog2(static_cast<float>(a)) * 0.6931472f * kExponentToDbSingle;
        stateA = timeA.smooth<kFused>(stateA, levelDb);
        stateB = timeB.smooth<kFused>(stateB, levelDb);
        levelADb = stateA;
        levelBDb = stateB;
        if (dynRms) {
            instantaneousDb = levelDb;
            if (levelBDb > levelADb) levelADb = levelBDb;
        } else {
            instantaneousDb = 2.0 * levelDb;
        }
        return DetectorLevels{levelADb, levelBDb};
    }
};
