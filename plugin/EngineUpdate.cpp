#include "plugin/EngineUpdate.h"

#include "engine/DynamicsEngine.h"
#include "plugin/HostValueText.h"

#include <algorithm>
#include <cmath>

namespace engineUpdate {
namespace {

// ln 10 / 20: turns decibels into a natural exponent.
constexpr double kDbToExponent = 0.11512925464970228;

float unit(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

bool isOn(float v) {
    return v == 1.0f;
}

// The cube in single precision, the scale and offset in double, as the knob's text computes it.
double cubicTimeMs(float v, double rangeMs) {
    const float u = unit(v);
    return static_cast<double>(u * u * u) * rangeMs + 0.1;
}

} // namespace

void detection(DynamicsEngine& engine, float v) {
    const double x = static_cast<double>(v);
    double timeMs;
    if (x < 0.1)
        timeMs = 0.0; // Peak
    else if (x > 0.9)
        timeMs = 600.0; // Dyn RMS marker
    else {
        const double offset = (x - 0.1) * 1.25;
        timeMs = offset * offset * offset * 59.9 + 0.1;
    }
    engine.setDetection(timeMs);
}

void scFilterType(DynamicsEngine& engine, float v) {
    engine.setScFilterType(v);
}

void scFilterFreq(DynamicsEngine& engine, float v) {
    engine.setScFilterFreq(static_cast<double>(hostText::scFilterFreqHz(unit(v))));
}

void threshold(DynamicsEngine& engine, float v) {
    engine.setThreshold(static_cast<double>(unit(v)) * -50.0);
}

void knee(DynamicsEngine& engine, float v) {
    engine.setKnee(static_cast<double>(unit(v) * 20.0f));
}

// The 0.8 zone edge is compared in single precision like the ratio text, so the knob's 3.0:1
// end really is 3:1 (slope 0) and not already the 4:1 setting.
void ratio(DynamicsEngine& engine, float v) {
    const float u = unit(v);
    double slope;
    if (static_cast<double>(u) > 0.9)
        slope = -4.0;
    else if (u > 0.8f)
        slope = -1.0;
    else
        slope = static_cast<double>(1.0f - 1.25f * u);
    engine.setRatio(slope);
}

void attack(DynamicsEngine& engine, float v) {
    engine.setAttack(cubicTimeMs(v, 500.0));
}

void release(DynamicsEngine& engine, float v) {
    engine.setRelease(cubicTimeMs(v, 2000.0));
}

void releaseSlow(DynamicsEngine& engine, float v) {
    engine.setReleaseSlow(cubicTimeMs(v, 2000.0));
}

// Exactly 0 is "Out": no dry signal at all rather than -100 dB of it.
void dryMix(DynamicsEngine& engine, float v) {
    const float u = unit(v);
    if (u == 0.0f) {
        engine.setMixDry(0.0);
        return;
    }
    const double gain = std::exp((100.0 * static_cast<double>(u) - 100.0) * kDbToExponent);
    engine.setMixDry(static_cast<double>(static_cast<float>(gain)));
}

// Two segments meeting at 0 dB: a squared fall to -60 dB below the middle, linear to +12 above.
void makeUpGain(DynamicsEngine& engine, float v) {
    const float u = unit(v);
    double gainDb;
    if (u < 0.5f) {
        const float fall = 1.0f - 2.0f * u;
        gainDb = static_cast<double>(fall * fall) * -60.0;
    } else {
        gainDb = static_cast<double>(24.0f * u - 12.0f);
    }
    engine.setMakeUpGain(std::exp(gainDb * kDbToExponent));
}

void hfHarmonics(DynamicsEngine& engine, float v) {
    engine.setHfHarmonics(isOn(v));
}

void lfHarmonics(DynamicsEngine& engine, float v) {
    engine.setLfHarmonics(isOn(v));
}

// The square gives the knob a gentle start; full amount is a drive of 32 in the engine.
void hfHarmonicsAmount(DynamicsEngine& engine, float v) {
    const double u = static_cast<double>(unit(v));
    engine.setHfHarmonicsAmount(u * u);
}

void lfHarmonicsAmount(DynamicsEngine& engine, float v) {
    const double u = static_cast<double>(unit(v));
    engine.setLfHarmonicsAmount(u * u);
}

void delta(DynamicsEngine& engine, float v) {
    engine.setDelta(isOn(v));
}

// The engine listens from above the middle on, although the text says "on" only at exactly 1.
void scPreview(DynamicsEngine& engine, float v) {
    engine.setScPreview(v > 0.5f);
}

void none(DynamicsEngine&, float) {}

} // namespace engineUpdate
