#include "plugin/lv2/Lv2Ports.h"

#include "plugin/ScFilterCaptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace lv2port {
namespace {

const PlainScale& scaleOf(int parameter) {
    return kParameters[parameter].plain;
}

bool isStepped(const PlainScale& scale) {
    return (scale.hints & (kHintToggled | kHintEnumeration)) != 0;
}

// A float port has coarser steps than the normalized value where a curve is steep, so not
// every normalized float is reached from a port value. The way back is therefore rounded to a
// millionth of the travel: every stored setting (programs use at most three decimals) is met
// exactly, and a millionth of a knob's travel is far below anything audible.
// Adding zero makes the top of the threshold's travel a plain zero, as the programs store it.
float snapped(float normalized) {
    return static_cast<float>(std::round(static_cast<double>(normalized) * 1e6) / 1e6) + 0.0f;
}

// The value rounded to six significant digits, as a user would type it.
float rounded(float plain) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", static_cast<double>(plain));
    return std::strtof(text, nullptr);
}

} // namespace

float minimum(int parameter) {
    return static_cast<float>(scaleOf(parameter).min);
}

float maximum(int parameter) {
    return static_cast<float>(scaleOf(parameter).max);
}

float clampedPlain(int parameter, float plain, float previous) {
    if (std::isnan(plain)) return previous;
    return std::clamp(plain, minimum(parameter), maximum(parameter));
}

float toNormalized(int parameter, float plain) {
    const PlainScale& scale = scaleOf(parameter);
    // LV2 hosts treat any value above zero as a switch's "on".
    if (scale.hints & kHintToggled) return plain > 0.0f ? 1.0f : 0.0f;
    const float normalized = scale.toNormalized(static_cast<double>(plain));
    return isStepped(scale) ? normalized : snapped(normalized);
}

float toPlain(int parameter, float normalized) {
    return clampedPlain(parameter, static_cast<float>(scaleOf(parameter).toPlain(normalized)),
                        minimum(parameter));
}

float exactPlain(int parameter, float normalized) {
    const float start = toPlain(parameter, normalized);
    // A short number reads better in a host's generic controls, where it maps exactly.
    const float shortest = clampedPlain(parameter, rounded(start), start) + 0.0f;
    if (toNormalized(parameter, shortest) == normalized) return shortest;
    // Neighbouring floats are tried outwards from the curve's value; a few steps cover the
    // rounding of every curve.
    float up = start;
    float down = start;
    for (int step = 0; step < 4096; ++step) {
        if (toNormalized(parameter, up) == normalized) return up;
        if (toNormalized(parameter, down) == normalized) return down;
        up = std::min(std::nextafter(up, maximum(parameter)), maximum(parameter));
        down = std::max(std::nextafter(down, minimum(parameter)), minimum(parameter));
    }
    return start;
}

const char* pointLabel(int parameter, int point) {
    if (parameter == kScFilterType && point >= 0 && point < 3) return kScFilterCaptions[point];
    return scaleOf(parameter).points[point].label;
}

} // namespace lv2port
