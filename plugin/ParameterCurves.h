#pragma once

#include "engine/SidechainFilter.h"

#include <cmath>

// What each parameter's normalized value means, written once for everyone who turns it into a
// number: the host's texts, the engine updates, the editor's readouts and graph, and the plain
// values of the parameter table. Several consumers compute a curve in a different precision;
// those steps decide the last printed digit and the engine's bits, so where they differ the
// type parameter T names the precision of the step and each caller says which one it uses.
namespace curve {

// Detection: peaks below 0.1, the dynamic RMS above 0.9, an RMS window in between. The edges
// are compared in double precision: a float 0.9 lies below 0.9 and still reads "RMS 60".
constexpr double kDetectionPeakBelow = 0.1;
constexpr double kDetectionDynRmsAbove = 0.9;
inline bool detectionIsPeak(double v) {
    return v < kDetectionPeakBelow;
}
inline bool detectionIsDynRms(double v) {
    return v > kDetectionDynRmsAbove;
}
// The RMS window's ends, the values of detectionRmsMs at the zone edges.
constexpr double kDetectionRmsShortestMs = 0.1;
constexpr double kDetectionRmsLongestMs = 60.0;
constexpr double kDetectionRmsSpanMs = kDetectionRmsLongestMs - kDetectionRmsShortestMs;
// The window's part of the travel stretched to 0 ... 1 before the cube.
constexpr double kDetectionRmsStretch = 1.0 / (kDetectionDynRmsAbove - kDetectionPeakBelow);
// The RMS window, 0.1 ... 60 ms; T is the precision of the cube (texts float, engine double).
template <typename T> double detectionRmsMs(double v) {
    const T offset = static_cast<T>(v - kDetectionPeakBelow) * static_cast<T>(kDetectionRmsStretch);
    return static_cast<double>(offset * offset * offset) * kDetectionRmsSpanMs +
           kDetectionRmsShortestMs;
}
// The engine's markers for the two zones outside the RMS window.
constexpr double kDetectionPeakMs = 0.0;
constexpr double kDetectionDynRmsMs = 600.0;

// SC Filter Type: off below 0.3, 3 dB/oct below 0.7, 6 dB/oct from there on.
inline ScFilterType scFilterType(float v) {
    if (v < 0.3f) return ScFilterType::off;
    if (v < 0.7f) return ScFilterType::threePerOctave;
    return ScFilterType::sixPerOctave;
}
inline int scFilterTypePosition(float v) {
    return static_cast<int>(scFilterType(v));
}

// SC Filter Freq: over the engine's corner range, logarithmic, in single precision with the
// logarithms rounded to float. The text, the engine and the editor's readout all use this number.
inline float scFilterFreqHz(float v) {
    const float lowLog = static_cast<float>(std::log(kScFilterLowestHz));
    const float highLog = static_cast<float>(std::log(kScFilterHighestHz));
    const float exponent = lowLog + (v + 0.000001f) * (highLog - lowLog);
    const float frequencyHz = static_cast<float>(std::exp(static_cast<double>(exponent)));
    const float lowestHz = static_cast<float>(kScFilterLowestHz);
    const float highestHz = static_cast<float>(kScFilterHighestHz);
    if (frequencyHz < lowestHz) return lowestHz;
    return frequencyHz > highestHz ? highestHz : frequencyHz;
}

// Threshold: 0 ... -50 dB.
constexpr double kThresholdFloorDb = -50.0;
template <typename T> T thresholdDb(T v) {
    return v * static_cast<T>(kThresholdFloorDb);
}

// Knee: 0 ... 20 dB.
constexpr double kKneeRangeDb = 20.0;
template <typename T> T kneeDb(T v) {
    return v * static_cast<T>(kKneeRangeDb);
}

// Ratio: 1:1 ... 3:1 over 0 ... 0.8, then the fixed settings 4:1 and 8:1.
enum class RatioZone { variable, fourToOne, eightToOne };
// The 8:1 edge at 0.9 reads alike in either precision for a float value. The 4:1 edge at 0.8
// does not, and the difference is kept on purpose: the host's text and the engine compare it
// in single precision, where 0.8f is not above itself, so the knob's 3.0:1 end really is 3:1
// (slope 0) and not already the 4:1 setting; the editor's readout and graph compare it in
// double precision, where a float 0.8 lies above 0.8 and already shows 4:1, as the editor
// always has. T is the precision of that comparison.
constexpr double kRatioFourToOneAbove = 0.8;
constexpr double kRatioEightToOneAbove = 0.9;
template <typename T> RatioZone ratioZone(T v) {
    if (static_cast<double>(v) > kRatioEightToOneAbove) return RatioZone::eightToOne;
    if (v > static_cast<T>(kRatioFourToOneAbove)) return RatioZone::fourToOne;
    return RatioZone::variable;
}
// The variable zone's ends, variableRatio at 0 and 0.8.
constexpr double kRatioVariableLowest = 1.0;
constexpr double kRatioVariableHighest = 3.0;
constexpr double kRatioFourToOne = 4.0;
constexpr double kRatioEightToOne = 8.0;
// The ratio inside the variable zone, 1 at 0 and 3 at 0.8: the zone stretched to 0 ... 1, then
// to the ratios.
template <typename T> T variableRatio(T v) {
    return v * static_cast<T>(1.0 / kRatioFourToOneAbove) *
               static_cast<T>(kRatioVariableHighest - kRatioVariableLowest) +
           static_cast<T>(kRatioVariableLowest);
}

// Attack, Release, Release Slow: a cube over the knob's travel. The texts span 0.1 ... 500 and
// 0.1 ... 2000 ms; the engine's spans are 0.1 ms longer at the top, as they always were. T is
// the precision of the scale and offset: the host's texts stay in single precision, the
// editor's readouts and the engine widen the single-precision cube to double.
constexpr double kAttackTextSpanMs = 499.9;
constexpr double kReleaseTextSpanMs = 1999.9;
constexpr double kAttackEngineSpanMs = 500.0;
constexpr double kReleaseEngineSpanMs = 2000.0;
constexpr double kCubicTimeShortestMs = 0.1;
template <typename T> T cubicTimeMs(float v, double spanMs) {
    return static_cast<T>(v * v * v) * static_cast<T>(spanMs) +
           static_cast<T>(kCubicTimeShortestMs);
}

// Dry Mix: -100 ... 0 dB; exactly 0 (and anything not above it) is "Out", no dry signal.
constexpr double kDryMixRangeDb = 100.0;
inline bool dryMixIsOut(float v) {
    return !(v > 0.0f);
}
template <typename T> T dryMixDb(T v) {
    return v * static_cast<T>(kDryMixRangeDb) - static_cast<T>(kDryMixRangeDb);
}

// Make Up Gain: two segments meeting at 0 dB, a squared fall to -60 dB below the middle and a
// line to +12 dB above it. T is the precision of the segment arithmetic.
constexpr double kMakeUpFloorDb = -60.0;
constexpr double kMakeUpCeilingDb = 12.0;
constexpr double kMakeUpUnityAt = 0.5;
template <typename T> double makeUpGainDb(T v) {
    if (v < static_cast<T>(kMakeUpUnityAt)) {
        const T fall = static_cast<T>(1.0) - static_cast<T>(1.0 / kMakeUpUnityAt) * v;
        return static_cast<double>(fall * fall) * kMakeUpFloorDb;
    }
    return static_cast<double>(static_cast<T>(kMakeUpCeilingDb / (1.0 - kMakeUpUnityAt)) * v -
                               static_cast<T>(kMakeUpCeilingDb));
}

// HF / LF Harmonics Amount: 0 ... 200 %.
constexpr double kHarmonicsRangePercent = 200.0;
inline double harmonicsPercent(float v) {
    return static_cast<double>(v) * kHarmonicsRangePercent;
}

// On/off parameters count as on only at exactly 1.
constexpr bool isOn(float v) {
    return v == 1.0f;
}

// SC Preview listens from above the middle on, although its text says "on" only at exactly 1.
inline bool scPreviewListens(float v) {
    return v > 0.5f;
}

// SC Source: the detector hears the compressor's own output (Internal) below the middle and the
// key from there on, the nearer of the two positions a host's value lies at.
constexpr bool scSourceIsExternal(float v) {
    return v >= 0.5f;
}
constexpr int scSourcePosition(float v) {
    return scSourceIsExternal(v) ? 1 : 0;
}

// Meter Scale: four positions at 0, 0.25, 0.5 and 0.75, each named for the reduction that
// the strip beside the gain-reduction meter spans.
struct MeterScaleSetting {
    int spanDb;
    const char* label;
};
constexpr MeterScaleSetting kMeterScaleSettings[] = {
    {6, "6 dB"}, {12, "12 dB"}, {24, "24 dB"}, {48, "48 dB"}};
constexpr int kMeterScalePositions = 4;
static_assert(sizeof kMeterScaleSettings / sizeof kMeterScaleSettings[0] == kMeterScalePositions);
// The span at which the meter moves one of its display units per dB.
constexpr int kMeterScaleUnitySpanDb = 24;
// The value of a position, as the strip's clicks set it.
constexpr float meterScaleValue(int position) {
    return static_cast<float>(position) / kMeterScalePositions;
}
// Each position from its value on; anything below the second is the first, and a value that
// is no number the last.
inline int meterScalePosition(float v) {
    int position = kMeterScalePositions - 1;
    while (position > 0 && v < meterScaleValue(position))
        --position;
    return position;
}

} // namespace curve
