#include "plugin/HostValueText.h"

#include "plugin/ParameterCurves.h"
#include "plugin/SettingLabels.h"

#include <cstdio>

namespace hostText {
namespace {

ParameterText literal(const char* text) {
    ParameterText result{};
    std::snprintf(result.text, sizeof result.text, "%s", text);
    return result;
}

// Minimum width 3 keeps the leading blank of two-digit numbers (" 63 ms") that hosts show.
ParameterText number(const char* format, double value) {
    ParameterText result{};
    std::snprintf(result.text, sizeof result.text, format, value);
    return result;
}

// Below 20 ms with one decimal, above it in whole milliseconds.
ParameterText cubicTime(float timeMs) {
    return number(timeMs < 20.0f ? "%3.1f ms" : "%3.0f ms", timeMs);
}

} // namespace

ParameterText detection(float v) {
    const double x = static_cast<double>(v);
    if (curve::detectionIsPeak(x)) return literal(settingLabel::kDetectionPeak);
    if (curve::detectionIsDynRms(x)) return literal(settingLabel::kDetectionDynRms);
    const double timeMs = curve::detectionRmsMs<float>(x);
    return number(timeMs < 10.0 ? "RMS %3.1f" : "RMS %3.0f", timeMs);
}

ParameterText scFilterType(float v) {
    return literal(settingLabel::kScFilterType[curve::scFilterTypePosition(v)]);
}

ParameterText scFilterFreq(float v) {
    return number("%3.0f Hz", curve::scFilterFreqHz(v));
}

// Double precision, so v = 0 prints the negative zero that the product gives.
ParameterText threshold(float v) {
    return number("%3.1f dB", curve::thresholdDb(static_cast<double>(v)));
}

ParameterText knee(float v) {
    return number("%3.1f dB", curve::kneeDb(v));
}

ParameterText ratio(float v) {
    switch (curve::ratioZone(v)) {
    case curve::RatioZone::eightToOne:
        return literal(settingLabel::kRatioEightToOne);
    case curve::RatioZone::fourToOne:
        return literal(settingLabel::kRatioFourToOne);
    default:
        return number("%3.1f:1", curve::variableRatio(v));
    }
}

ParameterText attack(float v) {
    return cubicTime(curve::cubicTimeMs<float>(v, curve::kAttackTextSpanMs));
}

ParameterText release(float v) {
    return cubicTime(curve::cubicTimeMs<float>(v, curve::kReleaseTextSpanMs));
}

ParameterText dryMix(float v) {
    if (curve::dryMixIsOut(v)) return literal(settingLabel::kDryMixOut);
    return number("%3.1f dB", curve::dryMixDb(v));
}

ParameterText makeUpGain(float v) {
    return number("%3.1f dB", curve::makeUpGainDb(v));
}

ParameterText onOff(float v) {
    return literal(settingLabel::kOnOff[curve::isOn(v) ? 1 : 0]);
}

ParameterText harmonicsAmount(float v) {
    return number("%3.1f%%", curve::harmonicsPercent(v));
}

ParameterText meterScale(float v) {
    return literal(curve::kMeterScaleSettings[curve::meterScalePosition(v)].label);
}

ParameterText scSource(float v) {
    return literal(settingLabel::kScSource[curve::scSourcePosition(v)]);
}

ParameterText noFunction(float) {
    return literal("-");
}

} // namespace hostText
