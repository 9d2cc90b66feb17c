#include "plugin/PlainScale.h"

#include "plugin/ParameterCurves.h"

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

namespace plainScale {
namespace {

// A plain value a format may hand over, made one of the range's values.
double limited(double plain, double min, double max) {
    if (std::isnan(plain)) return min;
    return std::clamp(plain, min, max);
}

float normalized(double v) {
    return static_cast<float>(std::clamp(v, 0.0, 1.0));
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
    if (ms < 0.05) return 0.0f;
    if (ms >= 330.0) return 1.0f;
    const double window = std::clamp(ms, 0.1, 60.0);
    return normalized(0.1 + std::cbrt((window - 0.1) / 59.9) / 1.25);
}
const ScalePoint kDetectionPoints[] = {{"Peak", curve::kDetectionPeakMs},
                                       {"Dyn RMS", curve::kDetectionDynRmsMs}};

// Three positions at 0, 0.5 and 1, as the selector sets them.
double scFilterTypePlain(float v) {
    return curve::scFilterTypePosition(v);
}
float scFilterTypeNormalized(double plain) {
    return static_cast<float>(position(plain, 3)) * 0.5f;
}
const ScalePoint kScFilterTypePoints[] = {{"off", 0.0}, {"3 dB/oct", 1.0}, {"6 dB/oct", 2.0}};

// The exact logarithmic sweep; the text and the engine add a nudge of a millionth of the
// travel, which is far below any printed digit.
double scFilterFreqPlain(float v) {
    return kScFilterLowestHz * std::pow(10.0, static_cast<double>(v));
}
float scFilterFreqNormalized(double plain) {
    const double hz = limited(plain, kScFilterLowestHz, kScFilterHighestHz);
    return normalized(std::log10(hz / kScFilterLowestHz));
}

double thresholdPlain(float v) {
    return curve::thresholdDb(static_cast<double>(v));
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
    const double r = limited(plain, 1.0, curve::kRatioEightToOne);
    if (r >= 6.0) return 1.0f;
    if (r >= 3.5) return 0.85f;
    return normalized((std::min(r, 3.0) - 1.0) / 2.5);
}
const ScalePoint kRatioPoints[] = {{"4:1", curve::kRatioFourToOne},
                                   {"8:1", curve::kRatioEightToOne}};

// The times the host texts print, so a format shows the numbers a user already knows.
double cubicPlain(float v, double spanMs) {
    const double x = static_cast<double>(v);
    return x * x * x * spanMs + 0.1;
}
float cubicNormalized(double plain, double spanMs) {
    const double ms = limited(plain, 0.1, spanMs + 0.1);
    return normalized(std::cbrt((ms - 0.1) / spanMs));
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
const ScalePoint kDryMixPoints[] = {{"Out", -curve::kDryMixRangeDb}};

double makeUpGainPlain(float v) {
    return curve::makeUpGainDb(static_cast<double>(v));
}
float makeUpGainNormalized(double plain) {
    const double db = limited(plain, curve::kMakeUpFloorDb, curve::kMakeUpCeilingDb);
    if (db < 0.0) return normalized((1.0 - std::sqrt(db / curve::kMakeUpFloorDb)) * 0.5);
    return normalized((db + 12.0) / 24.0);
}

double onOffPlain(float v) {
    return curve::isOn(v) ? 1.0 : 0.0;
}
float onOffNormalized(double plain) {
    return static_cast<float>(position(plain, 2));
}
const ScalePoint kOnOffPoints[] = {{"off", 0.0}, {"on", 1.0}};

double harmonicsAmountPlain(float v) {
    return curve::harmonicsPercent(v);
}
float harmonicsAmountNormalized(double plain) {
    return normalized(limited(plain, 0.0, curve::kHarmonicsRangePercent) /
                      curve::kHarmonicsRangePercent);
}

// Four positions at 0, 0.25, 0.5 and 0.75, as the scale's clicks step them.
double meterScalePlain(float v) {
    return curve::meterScalePosition(v);
}
float meterScaleNormalized(double plain) {
    return static_cast<float>(position(plain, 4)) * 0.25f;
}
const ScalePoint kMeterScalePoints[] = {
    {"6 dB", 0.0}, {"12 dB", 1.0}, {"24 dB", 2.0}, {"48 dB", 3.0}};

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
const PlainScale detection       {U::milliseconds, 0,                 0.0,    600.0, detectionPlain,       detectionNormalized,       kDetectionPoints,    count(kDetectionPoints)};
const PlainScale scFilterType    {U::none,         kSwitch,           0.0,    2.0,   scFilterTypePlain,    scFilterTypeNormalized,    kScFilterTypePoints, count(kScFilterTypePoints)};
const PlainScale scFilterFreq    {U::hertz,        kHintLogarithmic,  30.0,   300.0, scFilterFreqPlain,    scFilterFreqNormalized,    nullptr,             0};
const PlainScale threshold       {U::decibels,     0,                 -50.0,  0.0,   thresholdPlain,       thresholdNormalized,       nullptr,             0};
const PlainScale knee            {U::decibels,     0,                 0.0,    20.0,  kneePlain,            kneeNormalized,            nullptr,             0};
const PlainScale ratio           {U::ratio,        0,                 1.0,    8.0,   ratioPlain,           ratioNormalized,           kRatioPoints,        count(kRatioPoints)};
const PlainScale attack          {U::milliseconds, 0,                 0.1,    500.0, attackPlain,          attackNormalized,          nullptr,             0};
const PlainScale release         {U::milliseconds, 0,                 0.1,    2000.0, releasePlain,        releaseNormalized,         nullptr,             0};
const PlainScale dryMix          {U::decibels,     0,                 -100.0, 0.0,   dryMixPlain,          dryMixNormalized,          kDryMixPoints,       count(kDryMixPoints)};
const PlainScale makeUpGain      {U::decibels,     0,                 -60.0,  12.0,  makeUpGainPlain,      makeUpGainNormalized,      nullptr,             0};
const PlainScale onOff           {U::none,         kHintToggled,      0.0,    1.0,   onOffPlain,           onOffNormalized,           kOnOffPoints,        count(kOnOffPoints)};
const PlainScale harmonicsAmount {U::percent,      0,                 0.0,    200.0, harmonicsAmountPlain, harmonicsAmountNormalized, nullptr,             0};
const PlainScale meterScale      {U::none,         kSwitch,           0.0,    3.0,   meterScalePlain,      meterScaleNormalized,      kMeterScalePoints,   count(kMeterScalePoints)};
const PlainScale noFunction      {U::none,         0,                 0.0,    1.0,   noFunctionPlain,      noFunctionNormalized,      nullptr,             0};
// clang-format on

} // namespace plainScale
