#include "plugin/HostValueText.h"

#include <cmath>
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

ParameterText cubicTime(float v, float rangeMs) {
    const float timeMs = v * v * v * rangeMs + 0.1f;
    return number(timeMs < 20.0f ? "%3.1f ms" : "%3.0f ms", timeMs);
}

} // namespace

ParameterText detection(float v) {
    if (static_cast<double>(v) < 0.1) return literal("Peak");
    if (static_cast<double>(v) > 0.9) return literal("Dyn RMS");
    const float offset = static_cast<float>(static_cast<double>(v) - 0.1) * 1.25f;
    const double timeMs = static_cast<double>(offset * offset * offset) * 59.9 + 0.1;
    return number(timeMs < 10.0 ? "RMS %3.1f" : "RMS %3.0f", timeMs);
}

ParameterText scFilterType(float v) {
    if (v < 0.3f) return literal("off");
    return literal(v < 0.7f ? "3 dB/oct" : "6 dB/oct");
}

float scFilterFreqHz(float v) {
    const float lowLog = static_cast<float>(std::log(30.0));
    const float highLog = static_cast<float>(std::log(300.0));
    const float exponent = lowLog + (v + 0.000001f) * (highLog - lowLog);
    const float frequencyHz = static_cast<float>(std::exp(static_cast<double>(exponent)));
    if (frequencyHz < 30.0f) return 30.0f;
    return frequencyHz > 300.0f ? 300.0f : frequencyHz;
}

ParameterText scFilterFreq(float v) {
    return number("%3.0f Hz", scFilterFreqHz(v));
}

// Double precision, so v = 0 prints the negative zero that the product gives.
ParameterText threshold(float v) {
    return number("%3.1f dB", static_cast<double>(v) * -50.0);
}

ParameterText knee(float v) {
    return number("%3.1f dB", v * 20.0f);
}

ParameterText ratio(float v) {
    if (v > 0.9f) return literal("8:1");
    if (v > 0.8f) return literal("4:1");
    return number("%3.1f:1", v * 1.25f * 2.0f + 1.0f);
}

ParameterText attack(float v) {
    return cubicTime(v, 499.9f);
}

ParameterText release(float v) {
    return cubicTime(v, 1999.9f);
}

ParameterText dryMix(float v) {
    if (!(v > 0.0f)) return literal("Out");
    return number("%3.1f dB", 100.0f * v - 100.0f);
}

ParameterText makeUpGain(float v) {
    if (v < 0.5f) {
        const float fall = 1.0f - 2.0f * v;
        return number("%3.1f dB", static_cast<double>(fall * fall) * -60.0);
    }
    return number("%3.1f dB", 24.0f * v - 12.0f);
}

ParameterText onOff(float v) {
    return literal(v == 1.0f ? "on" : "off");
}

ParameterText harmonicsAmount(float v) {
    return number("%3.1f%%", 200.0 * static_cast<double>(v));
}

ParameterText meterScale(float v) {
    if (v < 0.25f) return literal("6 dB");
    if (v < 0.5f) return literal("12 dB");
    return literal(v < 0.75f ? "24 dB" : "48 dB");
}

ParameterText noFunction(float) {
    return literal("-");
}

} // namespace hostText
