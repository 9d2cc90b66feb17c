#pragma once

#include "SmoothingTime.h"

#include <cmath>
#include <cstdint>
#include <cstring>

// log2 estimate in single precision: exponent plus a quadratic through the mantissa. Its error
// (under 0.01 in log2) is part of the detector's character; a library log would also be slower.
inline float fastLog2(float a) {
    uint32_t v;
    std::memcpy(&v, &a, sizeof v);
    const int exponent = static_cast<int>((v >> 23) & 0xFFu) - 128;
    const uint32_t mantissaBits = (v & 0x807FFFFFu) + 0x3F800000u;
    float m;
    std::memcpy(&m, &mantissaBits, sizeof m);
    const float p = (2.0f - m * 0.33333334f) * m - 0.6666667f;
    return static_cast<float>(exponent) + p;
}

// Stereo-linked level detector smoothing decibel values. The states hold scaled decibels (two or
// four times the level) so each mode's update is a single one-pole step.
struct LevelDetector {
    static constexpr double kDynRmsMs = 600.0;
    static constexpr double kFloorAmplitude = 0.00001; // -100 dB

    double instantaneousDb = -90.0;
    double levelADb = -90.0;
    double levelBDb = -90.0;
    double stateA = -90.0;
    double stateB = -90.0;
    SmoothingTime timeA{2.0, 44100.0};
    SmoothingTime timeB{1.0, 44100.0};
    bool dynRms = false;

    // Peak (0 ms), RMS time (0.1..60 ms) or Dyn RMS (exactly 600 ms), at the internal rate.
    void setDetection(double detectionMs, double internalRateHz) {
        dynRms = detectionMs == kDynRmsMs;
        if (dynRms) {
            timeA.set(2.0, internalRateHz);
            timeB.set(50.0, internalRateHz);
        } else {
            timeA.set(detectionMs, internalRateHz);
            timeB.set(2.0 * detectionMs + 12.0, internalRateHz);
        }
    }

    void clear() { instantaneousDb = levelADb = levelBDb = stateA = stateB = -90.0; }

    void step(double left, double right) {
        double a = std::fabs(left) > std::fabs(right) ? std::fabs(left) : std::fabs(right);
        if (kFloorAmplitude > a) a = kFloorAmplitude;
        const float log2Estimate = fastLog2(static_cast<float>(a));
        if (dynRms) {
            const double i = log2Estimate * 0.6931472f * 8.685889f;
            instantaneousDb = i;
            stateA = timeA.smooth(stateA, 2.0 * i);
            stateB = timeB.smooth(stateB, 4.0 * i);
            levelADb = 0.5 * stateA;
            levelBDb = 0.25 * stateB;
            if (levelBDb > levelADb) levelADb = levelBDb;
        } else {
            const double i = log2Estimate * 0.6931472f * 17.371778f;
            instantaneousDb = i;
            stateA = timeA.smooth(stateA, i);
            stateB = timeB.smooth(stateB, i);
            levelADb = 0.5 * stateA;
            levelBDb = 0.5 * stateB;
        }
    }
};
