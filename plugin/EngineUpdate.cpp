#include "plugin/EngineUpdate.h"

#include "engine/Decibels.h"
#include "engine/DynamicsEngine.h"
#include "plugin/ParameterCurves.h"

#include <algorithm>
#include <cmath>

namespace engineUpdate {
namespace {

float unit(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

} // namespace

void detection(DynamicsEngine& engine, float v) {
    const double x = static_cast<double>(v);
    if (curve::detectionIsPeak(x))
        engine.setDetection(curve::kDetectionPeakMs);
    else if (curve::detectionIsDynRms(x))
        engine.setDetection(curve::kDetectionDynRmsMs);
    else
        engine.setDetection(curve::detectionRmsMs<double>(x));
}

// A value that is no number keeps the type the engine has.
void scFilterType(DynamicsEngine& engine, float v) {
    if (std::isfinite(v)) engine.setScFilterType(curve::scFilterType(v));
}

void scFilterFreq(DynamicsEngine& engine, float v) {
    engine.setScFilterFreq(static_cast<double>(curve::scFilterFreqHz(unit(v))));
}

void threshold(DynamicsEngine& engine, float v) {
    engine.setThreshold(curve::thresholdDb(static_cast<double>(unit(v))));
}

void knee(DynamicsEngine& engine, float v) {
    engine.setKnee(static_cast<double>(curve::kneeDb(unit(v))));
}

// The gain computer takes a slope: 1 leaves the level alone, 0 is the 3:1 end of the knob,
// -1 and -4 are the fixed 4:1 and 8:1 settings. The zone edge is the host text's.
void ratio(DynamicsEngine& engine, float v) {
    const float u = unit(v);
    switch (curve::ratioZone(u)) {
    case curve::RatioZone::eightToOne:
        engine.setRatio(-4.0);
        break;
    case curve::RatioZone::fourToOne:
        engine.setRatio(-1.0);
        break;
    default:
        engine.setRatio(static_cast<double>(1.0f - 1.25f * u));
        break;
    }
}

void attack(DynamicsEngine& engine, float v) {
    engine.setAttack(curve::cubicTimeMs<double>(unit(v), curve::kAttackEngineSpanMs));
}

void release(DynamicsEngine& engine, float v) {
    engine.setRelease(curve::cubicTimeMs<double>(unit(v), curve::kReleaseEngineSpanMs));
}

void releaseSlow(DynamicsEngine& engine, float v) {
    engine.setReleaseSlow(curve::cubicTimeMs<double>(unit(v), curve::kReleaseEngineSpanMs));
}

// Exactly 0 is "Out": no dry signal at all rather than -100 dB of it.
void dryMix(DynamicsEngine& engine, float v) {
    const float u = unit(v);
    if (u == 0.0f) {
        engine.setMixDry(0.0);
        return;
    }
    const double gain = std::exp(curve::dryMixDb(static_cast<double>(u)) * kDbToExponent);
    engine.setMixDry(static_cast<double>(static_cast<float>(gain)));
}

// Two segments meeting at 0 dB: a squared fall to -60 dB below the middle, linear to +12 above.
void makeUpGain(DynamicsEngine& engine, float v) {
    engine.setMakeUpGain(std::exp(curve::makeUpGainDb(unit(v)) * kDbToExponent));
}

void hfHarmonics(DynamicsEngine& engine, float v) {
    engine.setHfHarmonics(curve::isOn(v));
}

void lfHarmonics(DynamicsEngine& engine, float v) {
    engine.setLfHarmonics(curve::isOn(v));
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
    engine.setDelta(curve::isOn(v));
}

void scPreview(DynamicsEngine& engine, float v) {
    engine.setScPreview(curve::scPreviewListens(v));
}

void scSource(DynamicsEngine& engine, float v) {
    engine.setScSource(curve::scSourceIsExternal(v) ? ScSource::external : ScSource::internal);
}

void none(DynamicsEngine&, float) {}

} // namespace engineUpdate
