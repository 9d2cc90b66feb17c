#include "editor/GuiValueText.h"

#include "ProductIdentity.h"
#include "plugin/ParameterCurves.h"
#include "plugin/SettingLabels.h"

#include <cstdio>

// The curves are the parameters' own; the precision of each step is chosen here, so that the
// readout lands on the same digit as the panel always has (see ParameterCurves.h).

namespace {

// snprintf bounds every text, so an absurd value yields a cut number rather than an overrun.
void writeNumber(char* text, const char* format, double number) {
    if (text != nullptr) std::snprintf(text, kGuiValueTextCapacity, format, number);
}

void writeFixed(char* text, const char* fixed) {
    if (text != nullptr) std::snprintf(text, kGuiValueTextCapacity, "%s", fixed);
}

} // namespace

void versionText(float, char* text) {
    writeFixed(text, "version " QVL_VERSION_TEXT " [?]");
}

void detectionText(float value, char* text) {
    const double v = value;
    if (curve::detectionIsPeak(v)) {
        writeFixed(text, settingLabel::kDetectionPeak);
    } else if (curve::detectionIsDynRms(v)) {
        writeFixed(text, settingLabel::kDetectionDynRms);
    } else {
        const double rmsMs = curve::detectionRmsMs<float>(v);
        writeNumber(text, rmsMs < 10.0 ? "RMS %3.1f" : "RMS %3.0f", rmsMs);
    }
}

void scFreqText(float value, char* text) {
    writeNumber(text, "%3.0f Hz", curve::scFilterFreqHz(value));
}

void thresholdText(float value, char* text) {
    // Exactly 0 is spelled out: -50 x 0 would print as "-0".
    if (value == 0.0f)
        writeFixed(text, "0 dB");
    else
        writeNumber(text, "%3.0f dB", curve::thresholdDb(static_cast<double>(value)));
}

void kneeText(float value, char* text) {
    writeNumber(text, "%3.0f dB", curve::kneeDb(value));
}

void ratioText(float value, char* text) {
    switch (curve::ratioZone(static_cast<double>(value))) {
    case curve::RatioZone::eightToOne:
        writeFixed(text, settingLabel::kRatioEightToOne);
        break;
    case curve::RatioZone::fourToOne:
        writeFixed(text, settingLabel::kRatioFourToOne);
        break;
    default:
        writeNumber(text, "%3.1f:1", curve::variableRatio(value));
        break;
    }
}

void attackText(float value, char* text) {
    const double attackMs = curve::cubicTimeMs<double>(value, curve::kAttackTextSpanMs);
    writeNumber(text, attackMs < 10.0 ? "%3.1f ms" : "%3.0f ms", attackMs);
}

void releaseText(float value, char* text) {
    const double releaseMs = curve::cubicTimeMs<double>(value, curve::kReleaseTextSpanMs);
    if (releaseMs < 10.0)
        writeNumber(text, "%3.1f ms", releaseMs);
    else if (releaseMs < 1000.0)
        writeNumber(text, "%3.0f ms", releaseMs);
    else
        writeNumber(text, "%3.1f s", releaseMs * 0.001);
}

void dryMixText(float value, char* text) {
    // Not above 0 (and not a number) means no dry signal at all.
    if (curve::dryMixIsOut(value))
        writeFixed(text, settingLabel::kDryMixOut);
    else
        writeNumber(text, "%3.1f dB", curve::dryMixDb(static_cast<double>(value)));
}

void makeUpText(float value, char* text) {
    writeNumber(text, "%3.1f dB", curve::makeUpGainDb(value));
}

void percentText(float value, char* text) {
    writeNumber(text, "%3.0f%%", curve::harmonicsPercent(value));
}
