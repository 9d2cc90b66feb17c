#include "plugin/PlainScale.h"

#include "plugin/ParameterCurves.h"
#include "plugin/SettingLabels.h"

#include <algorithm>
#include <cmath>

const char* unitSymbol(ParameterUnit unit) {
    switch (unit) {
    case ParameterUnit::decibels:
        return "dB";
    case ParameterUnit::milliseconds:
        return "ms";
    case ParameterUnit::hertz:
        return "Hz";
    case ParameterUnit::percent:
        return "%";
    case ParameterUnit::ratio:
        return ":1";
    default:
        return "";
    }
}

bool isStepped(const PlainScale& scale) {
    return (scale.hints & (kHintToggled | kHintEnumeration)) != 0;
}

int stepCount(const PlainScale& scale) {
    return isStepped(scale) ? static_cast<int>(scale.max - scale.min) : 0;
}

bool isList(const PlainScale& scale) {
    return (scale.hints & kHintEnumeration) != 0;
}

bool fallsAsValueRises(const PlainScale& scale) {
    return scale.toPlain(1.0f) < scale.toPlain(0.0f);
}

double risingNormalized(const PlainScale& scale, float value) {
    const double v = static_cast<double>(value);
    return fallsAsValueRises(scale) ? 1.0 - v : v;
}

float valueFromRising(const PlainScale& scale, double rising) {
    return static_cast<float>(fallsAsValueRises(scale) ? 1.0 - rising : rising);
}

namespace plainScale {
namespace {

// A plain value a format may hand over, made one of the range's values.
double limited(double plain, double min, double max) {
    if (std::isnan(plain)) return min;
    return std::clamp(plain, min, max);
}

// Adding zero stores the plain zero the programs hold, never a negative one (0 dB of
// Threshold divided by its -50 dB floor).
float normalized(double v) {
    return static_cast<float>(std::clamp(v, 0.0, 1.0)) + 0.0f;
}

// The nearest of the positions 0 .. count - 1.
int position(double plain, int count) {
    return static_cast<int>(std::lround(limited(plain, 0.0, count - 1.0)));
}

// Detection: the engine's markers for the two outer zones, the RMS window between them.
double detectionPlain(float v) {
    const double x = static_cast<double>(v);
    if (curve::detectionIsPeak(x)) return curve::kDetectionPeakMs;
    if (curve::detectionIsDynRms(x)) return curve::kDetectionDynRmsMs;
    return curve::detectionRmsMs<double>(x);
}
// Values between the zones go to the nearer one.
float detectionNormalized(double plain) {
    const double ms = limited(plain, curve::kDetectionPeakMs, curve::kDetectionDynRmsMs);
    if (ms < (curve::kDetectionPeakMs + curve::kDetectionRmsShortestMs) / 2) return 0.0f;
    if (ms >= (curve::kDetectionRmsLongestMs + curve::kDetectionDynRmsMs) / 2) return 1.0f;
    const double window =
        std::clamp(ms, curve::kDetectionRmsShortestMs, curve::kDetectionRmsLongestMs);
    return normalized(
        curve::kDetectionPeakBelow +
        std::cbrt((window - curve::kDetectionRmsShortestMs) / curve::kDetectionRmsSpanMs) /
            curve::kDetectionRmsStretch);
}
const ScalePoint kDetectionPoints[] = {{settingLabel::kDetectionPeak, curve::kDetectionPeakMs},
                                       {settingLabel::kDetectionDynRms, curve::kDetectionDynRmsMs}};

// Three positions at 0, 0.5 and 1, as the selector sets them.
double scFilterTypePlain(float v) {
    return curve::scFilterTypePosition(v);
}
float scFilterTypeNormalized(double plain) {
    return static_cast<float>(position(plain, 3)) * 0.5f;
}
const ScalePoint kScFilterTypePoints[] = {{settingLabel::kScFilterType[0], 0.0},
                                          {settingLabel::kScFilterType[1], 1.0},
                                          {settingLabel::kScFilterType[2], 2.0}};

// The exact logarithmic sweep; the text and the engine add a nudge of a millionth of the
// travel, which is far below any printed digit.
double scFilterFreqPlain(float v) {
    return kScFilterLowestHz * std::pow(10.0, static_cast<double>(v));
}
float scFilterFreqNormalized(double plain) {
    const double hz = limited(plain, kScFilterLowestHz, kScFilterHighestHz);
    return normalized(std::log10(hz / kScFilterLowestHz));
}

// Adding zero makes the top of the range a plain zero, not the -0 that -50 x 0 gives, which
// hosts would show as "-0.0"; the way back takes either zero to the effect's 0.
double thresholdPlain(float v) {
    return curve::thresholdDb(static_cast<double>(v)) + 0.0;
}
float thresholdNormalized(double plain) {
    return normalized(limited(plain, curve::kThresholdFloorDb, 0.0) / curve::kThresholdFloorDb);
}

double kneePlain(float v) {
    return curve::kneeDb(static_cast<double>(v));
}
float kneeNormalized(double plain) {
    return normalized(limited(plain, 0.0, curve::kKneeRangeDb) / curve::kKneeRangeDb);
}

// The zones as the engine hears them; each fixed setting maps back to one value inside it.
double ratioPlain(float v) {
    switch (curve::ratioZone(v)) {
    case curve::RatioZone::eightToOne:
        return curve::kRatioEightToOne;
    case curve::RatioZone::fourToOne:
        return curve::kRatioFourToOne;
    default:
        return curve::variableRatio(static_cast<double>(v));
    }
}
float ratioNormalized(double plain) {
    const double r = limited(plain, curve::kRatioVariableLowest, curve::kRatioEightToOne);
    if (r >= (curve::kRatioFourToOne + curve::kRatioEightToOne) / 2) return 1.0f;
    if (r >= (curve::kRatioVariableHighest + curve::kRatioFourToOne) / 2)
        return static_cast<float>((curve::kRatioFourToOneAbove + curve::kRatioEightToOneAbove) / 2);
    const double variable = std::min(r, curve::kRatioVariableHighest) - curve::kRatioVariableLowest;
    // The inverse of variableRatio's two stretches, as one divisor.
    return normalized(variable / ((curve::kRatioVariableHighest - curve::kRatioVariableLowest) /
                                  curve::kRatioFourToOneAbove));
}
const ScalePoint kRatioPoints[] = {{settingLabel::kRatioFourToOne, curve::kRatioFourToOne},
                                   {settingLabel::kRatioEightToOne, curve::kRatioEightToOne}};

// The times the host texts print, so a format shows the numbers a user already knows.
double cubicPlain(float v, double spanMs) {
    const double x = static_cast<double>(v);
    return x * x * x * spanMs + curve::kCubicTimeShortestMs;
}
float cubicNormalized(double plain, double spanMs) {
    const double ms =
        limited(plain, curve::kCubicTimeShortestMs, spanMs + curve::kCubicTimeShortestMs);
    return normalized(std::cbrt((ms - curve::kCubicTimeShortestMs) / spanMs));
}
double attackPlain(float v) {
    return cubicPlain(v, curve::kAttackTextSpanMs);
}
float attackNormalized(double plain) {
    return cubicNormalized(plain, curve::kAttackTextSpanMs);
}
double releasePlain(float v) {
    return cubicPlain(v, curve::kReleaseTextSpanMs);
}
float releaseNormalized(double plain) {
    return cubicNormalized(plain, curve::kReleaseTextSpanMs);
}

double dryMixPlain(float v) {
    return curve::dryMixDb(static_cast<double>(v));
}
float dryMixNormalized(double plain) {
    const double db = limited(plain, -curve::kDryMixRangeDb, 0.0);
    return normalized((db + curve::kDryMixRangeDb) / curve::kDryMixRangeDb);
}
const ScalePoint kDryMixPoints[] = {{settingLabel::kDryMixOut, -curve::kDryMixRangeDb}};

double makeUpGainPlain(float v) {
    return curve::makeUpGainDb(static_cast<double>(v));
}
float makeUpGainNormalized(double plain) {
    const double db = limited(plain, curve::kMakeUpFloorDb, curve::kMakeUpCeilingDb);
    if (db < 0.0)
        return normalized((1.0 - std::sqrt(db / curve::kMakeUpFloorDb)) * curve::kMakeUpUnityAt);
    return normalized((db + curve::kMakeUpCeilingDb) /
                      (curve::kMakeUpCeilingDb / (1.0 - curve::kMakeUpUnityAt)));
}

double onOffPlain(float v) {
    return curve::isOn(v) ? 1.0 : 0.0;
}
float onOffNormalized(double plain) {
    return static_cast<float>(position(plain, 2));
}
const ScalePoint kOnOffPoints[] = {{settingLabel::kOnOff[0], 0.0}, {settingLabel::kOnOff[1], 1.0}};

double harmonicsAmountPlain(float v) {
    return curve::harmonicsPercent(v);
}
float harmonicsAmountNormalized(double plain) {
    return normalized(limited(plain, 0.0, curve::kHarmonicsRangePercent) /
                      curve::kHarmonicsRangePercent);
}

double meterScalePlain(float v) {
    return curve::meterScalePosition(v);
}
float meterScaleNormalized(double plain) {
    return curve::meterScaleValue(position(plain, curve::kMeterScalePositions));
}
const ScalePoint kMeterScalePoints[] = {{curve::kMeterScaleSettings[0].label, 0.0},
                                        {curve::kMeterScaleSettings[1].label, 1.0},
                                        {curve::kMeterScaleSettings[2].label, 2.0},
                                        {curve::kMeterScaleSettings[3].label, 3.0}};

double scSourcePlain(float v) {
    return curve::scSourcePosition(v);
}
float scSourceNormalized(double plain) {
    return static_cast<float>(position(plain, 2));
}
const ScalePoint kScSourcePoints[] = {{settingLabel::kScSource[0], 0.0},
                                      {settingLabel::kScSource[1], 1.0}};

double noFunctionPlain(float v) {
    return static_cast<double>(v);
}
float noFunctionNormalized(double plain) {
    return normalized(limited(plain, 0.0, 1.0));
}

template <int N> constexpr int count(const ScalePoint (&)[N]) {
    return N;
}

constexpr unsigned kSwitch = kHintEnumeration | kHintInteger;

} // namespace

using U = ParameterUnit;

// clang-format off
const PlainScale detection       {U::milliseconds, 0,                curve::kDetectionPeakMs,    curve::kDetectionDynRmsMs,                        detectionPlain,       detectionNormalized,       kDetectionPoints,    count(kDetectionPoints)};
const PlainScale scFilterType    {U::none,         kSwitch,          0.0,                        count(kScFilterTypePoints) - 1.0,                 scFilterTypePlain,    scFilterTypeNormalized,    kScFilterTypePoints, count(kScFilterTypePoints)};
const PlainScale scFilterFreq    {U::hertz,        kHintLogarithmic, kScFilterLowestHz,          kScFilterHighestHz,                               scFilterFreqPlain,    scFilterFreqNormalized,    nullptr,             0};
const PlainScale threshold       {U::decibels,     0,                curve::kThresholdFloorDb,   0.0,                                              thresholdPlain,       thresholdNormalized,       nullptr,             0};
const PlainScale knee            {U::decibels,     0,                0.0,                        curve::kKneeRangeDb,                              kneePlain,            kneeNormalized,            nullptr,             0};
const PlainScale ratio           {U::ratio,        0,                curve::kRatioVariableLowest, curve::kRatioEightToOne,                         ratioPlain,           ratioNormalized,           kRatioPoints,        count(kRatioPoints)};
const PlainScale attack          {U::milliseconds, 0,                curve::kCubicTimeShortestMs, curve::kCubicTimeShortestMs + curve::kAttackTextSpanMs,  attackPlain,  attackNormalized,  nullptr, 0};
const PlainScale release         {U::milliseconds, 0,                curve::kCubicTimeShortestMs, curve::kCubicTimeShortestMs + curve::kReleaseTextSpanMs, releasePlain, releaseNormalized, nullptr, 0};
const PlainScale dryMix          {U::decibels,     0,                -curve::kDryMixRangeDb,     0.0,                                              dryMixPlain,          dryMixNormalized,          kDryMixPoints,       count(kDryMixPoints)};
const PlainScale makeUpGain      {U::decibels,     0,                curve::kMakeUpFloorDb,      curve::kMakeUpCeilingDb,                          makeUpGainPlain,      makeUpGainNormalized,      nullptr,             0};
const PlainScale onOff           {U::none,         kHintToggled,     0.0,                        count(kOnOffPoints) - 1.0,                        onOffPlain,           onOffNormalized,           kOnOffPoints,        count(kOnOffPoints)};
const PlainScale harmonicsAmount {U::percent,      0,                0.0,                        curve::kHarmonicsRangePercent,                    harmonicsAmountPlain, harmonicsAmountNormalized, nullptr,             0};
const PlainScale meterScale      {U::none,         kSwitch,          0.0,                        count(kMeterScalePoints) - 1.0,                   meterScalePlain,      meterScaleNormalized,      kMeterScalePoints,   count(kMeterScalePoints)};
const PlainScale scSource        {U::none,         kSwitch,          0.0,                        count(kScSourcePoints) - 1.0,                     scSourcePlain,        scSourceNormalized,        kScSourcePoints,     count(kScSourcePoints)};
const PlainScale noFunction      {U::none,         0,                0.0,                        1.0,                                              noFunctionPlain,      noFunctionNormalized,      nullptr,             0};
// clang-format on

} // namespace plainScale
