#include "editor/GuiValueText.h"

#include "ProductVersion.h"

#include <cmath>
#include <cstdio>

// The roundings below are deliberate: where a step is done in float the readout must land on
// the same digit as the panel always has (a float 0.9 is below the double 0.9, so Detection
// still reads "RMS  60" there, and a float 0.8 is above 0.8, so Ratio reads "4:1").

namespace {

// snprintf bounds every text, so an absurd value yields a cut number rather than an overrun.
void writeNumber(char* text, const char* format, double number) {
    if (text != nullptr) std::snprintf(text, kGuiValueTextCapacity, format, number);
}

void writeFixed(char* text, const char* fixed) {
    if (text != nullptr) std::snprintf(text, kGuiValueTextCapacity, "%s", fixed);
}

// Cube in single precision, widened for the rest of the time formula.
double cubeSingle(float v) {
    return static_cast<double>(v * v * v);
}

} // namespace

void versionText(float, char* text) {
    writeFixed(text, "version " QVL_VERSION_TEXT " [?]");
}

void detectionText(float value, char* text) {
    const double v = value;
    if (v < 0.1) {
        writeFixed(text, "Peak");
    } else if (v > 0.9) {
        writeFixed(text, "Dyn RMS");
    } else {
        const float b = static_cast<float>(v - 0.1) * 1.25f;
        const double rmsMs = static_cast<double>(b * b * b) * 59.9 + 0.1;
        writeNumber(text, rmsMs < 10.0 ? "RMS %3.1f" : "RMS %3.0f", rmsMs);
    }
}

void scFreqText(float value, char* text) {
    const float lowLog = static_cast<float>(std::log(30.0));
    const float highLog = static_cast<float>(std::log(300.0));
    const float s = (highLog - lowLog) * (value + 0.000001f) + lowLog;
    float frequencyHz = static_cast<float>(std::exp(static_cast<double>(s)));
    if (frequencyHz < 30.0f)
        frequencyHz = 30.0f;
    else if (frequencyHz > 300.0f)
        frequencyHz = 300.0f;
    writeNumber(text, "%3.0f Hz", frequencyHz);
}

void thresholdText(float value, char* text) {
    // Exactly 0 is spelled out: -50 x 0 would print as "-0".
    if (value == 0.0f)
        writeFixed(text, "0 dB");
    else
        writeNumber(text, "%3.0f dB", static_cast<double>(value) * -50.0);
}

void kneeText(float value, char* text) {
    writeNumber(text, "%3.0f dB", value * 20.0f);
}

void ratioText(float value, char* text) {
    const double v = value;
    if (v > 0.9)
        writeFixed(text, "8:1");
    else if (v > 0.8)
        writeFixed(text, "4:1");
    else
        writeNumber(text, "%3.1f:1", value * 1.25f * 2.0f + 1.0f);
}

void attackText(float value, char* text) {
    const double attackMs = cubeSingle(value) * 499.9 + 0.1;
    writeNumber(text, attackMs < 10.0 ? "%3.1f ms" : "%3.0f ms", attackMs);
}

void releaseText(float value, char* text) {
    const double releaseMs = cubeSingle(value) * 1999.9 + 0.1;
    if (releaseMs < 10.0)
        writeNumber(text, "%3.1f ms", releaseMs);
    else if (releaseMs < 1000.0)
        writeNumber(text, "%3.0f ms", releaseMs);
    else
        writeNumber(text, "%3.1f s", releaseMs * 0.001);
}

void dryMixText(float value, char* text) {
    // Not above 0 (and not a number) means no dry signal at all.
    if (value > 0.0f)
        writeNumber(text, "%3.1f dB", static_cast<double>(value) * 100.0 - 100.0);
    else
        writeFixed(text, "Out");
}

void makeUpText(float value, char* text) {
    if (value < 0.5f) {
        const float cut = 1.0f - 2.0f * value;
        writeNumber(text, "%3.1f dB", static_cast<double>(cut * cut) * -60.0);
    } else {
        writeNumber(text, "%3.1f dB", value * 24.0f - 12.0f);
    }
}

void percentText(float value, char* text) {
    writeNumber(text, "%3.0f%%", static_cast<double>(value) * 200.0);
}
