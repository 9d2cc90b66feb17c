#include "formats/lv2/Lv2Ports.h"

#include "plugin/ParameterCurves.h"
#include "plugin/SettingLabels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace lv2port {
namespace {

const PlainScale& scaleOf(int parameter) {
    return kParameters[parameter].plain;
}

// A parameter's three zones: the continuous one at `continuous` on the list, and the scale's
// two named settings in order around it.
struct Zones {
    int parameter;
    uint32_t port;
    const char* symbol;
    int continuous;
    const char* continuousLabel;
    const char* valueName; // the parameter's own port, named for what it sets
    double lowest;
    double highest;
};
constexpr int kZoneCount = 3;
constexpr Zones kZoned[] = {
    {kDetection, kDetectionZone, "detection_zone", 1, "RMS", "RMS Window",
     curve::kDetectionRmsShortestMs, curve::kDetectionRmsLongestMs},
    {kRatio, kRatioZone, "ratio_zone", 0, "Variable", "Variable Ratio", curve::kRatioVariableLowest,
     curve::kRatioVariableHighest},
};

const Zones* zonesOf(int parameter) {
    for (const Zones& zones : kZoned)
        if (zones.parameter == parameter) return &zones;
    return nullptr;
}

const ScalePoint& namedZone(const Zones& zones, int zone) {
    return scaleOf(zones.parameter).points[zone < zones.continuous ? zone : zone - 1];
}

const char* zoneLabel(const Zones& zones, int zone) {
    return zone == zones.continuous ? zones.continuousLabel : namedZone(zones, zone).label;
}

// The zone a normalized value plays: a named one where the scale gives its exact value.
int zoneOf(const Zones& zones, float normalized) {
    const double plain = scaleOf(zones.parameter).toPlain(normalized);
    for (int zone = 0; zone < kZoneCount; ++zone)
        if (zone != zones.continuous && plain == namedZone(zones, zone).plain) return zone;
    return zones.continuous;
}

// The nearest position on a zone list; a value that is no number picks the continuous zone.
int zonePosition(const Zones& zones, float zone) {
    if (std::isnan(zone)) return zones.continuous;
    return static_cast<int>(std::lround(std::clamp(zone, 0.0f, kZoneCount - 1.0f)));
}

// A float port has coarser steps than the normalized value where a curve is steep, so not
// every normalized float is reached from a port value. The way back is therefore rounded to a
// millionth of the travel: every stored setting (programs use at most three decimals) is met
// exactly, and a millionth of a knob's travel is far below anything audible.
// Adding zero makes the top of the threshold's travel a plain zero, as the programs store it.
float snapped(float normalized) {
    return static_cast<float>(std::round(static_cast<double>(normalized) * 1e6) / 1e6) + 0.0f;
}

float ownPortNormalized(const PlainScale& scale, float value) {
    const float normalized = scale.toNormalized(static_cast<double>(value));
    return isStepped(scale) ? normalized : snapped(normalized);
}

float declaredMinimum(int parameter) {
    const Zones* zones = zonesOf(parameter);
    return static_cast<float>(zones ? zones->lowest : scaleOf(parameter).min);
}

float declaredMaximum(int parameter) {
    const Zones* zones = zonesOf(parameter);
    return static_cast<float>(zones ? zones->highest : scaleOf(parameter).max);
}

// The float a decimal of `digits` significant digits reads as, `offset` steps of its last digit
// away from the one nearest to `value`.
float decimal(float value, int digits, int offset) {
    if (value == 0.0f) return 0.0f;
    const double magnitude = std::floor(std::log10(std::fabs(static_cast<double>(value))));
    const double step = std::pow(10.0, magnitude - digits + 1);
    const double nearest = std::round(static_cast<double>(value) / step) + offset;
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, nearest * step);
    return std::strtof(text, nullptr);
}

int groupOf(int parameter) {
    switch (static_cast<ParameterIndex>(parameter)) {
    case kDetection:
        return kGroupDetection;
    case kScFilterType:
    case kScFilterFreq:
    case kScSource:
        return kGroupScFilter;
    case kThreshold:
    case kKnee:
        return kGroupThreshold;
    case kRatio:
        return kGroupRatio;
    case kAttack:
    case kRelease:
    case kReleaseSlow:
        return kGroupEnvelope;
    case kDryMix:
    case kMakeUpGain:
        return kGroupMix;
    case kHfHarmonics:
    case kLfHarmonics:
    case kHfHarmonicsAmount:
    case kLfHarmonicsAmount:
        return kGroupHarmonics;
    case kDelta:
    case kBypass:
    case kScPreview:
        return kGroupListen;
    case kMeterScale:
        return kGroupMeters;
    case kUnused19:
    case kUnused20:
    case kNumParameters:
        break;
    }
    return kNoGroup;
}

// The slots without function keep their ports for saved sessions; a host that shows them
// anyway names them for what they are rather than with the other edition's "-".
const char* portName(int parameter) {
    if (const Zones* zones = zonesOf(parameter)) return zones->valueName;
    if (parameter == kUnused19) return "Unused 19";
    if (parameter == kUnused20) return "Unused 20";
    return kParameters[parameter].name;
}

const char* pointLabel(int parameter, int point) {
    if (parameter == kScFilterType && point >= 0 &&
        point < static_cast<int>(std::size(settingLabel::kScFilterCaptions)))
        return settingLabel::kScFilterCaptions[point];
    return scaleOf(parameter).points[point].label;
}

} // namespace

uint32_t zonePortOf(int parameter) {
    const Zones* zones = zonesOf(parameter);
    return zones ? zones->port : kNoPort;
}

int parameterOfZonePort(uint32_t port) {
    for (const Zones& zones : kZoned)
        if (zones.port == port) return zones.parameter;
    return -1;
}

float toNormalized(int parameter, PortValues ports) {
    const PlainScale& scale = scaleOf(parameter);
    const Zones* zones = zonesOf(parameter);
    const int zone = zones ? zonePosition(*zones, ports.zone) : 0;
    if (zones && zone != zones->continuous)
        return scale.toNormalized(namedZone(*zones, zone).plain);
    return ownPortNormalized(scale, ports.value);
}

PortValues toPlain(int parameter, float normalized) {
    const PlainScale& scale = scaleOf(parameter);
    const float plain = std::clamp(static_cast<float>(scale.toPlain(normalized)),
                                   static_cast<float>(scale.min), static_cast<float>(scale.max));
    const Zones* zones = zonesOf(parameter);
    if (!zones) return {plain, 0.0f};
    const int zone = zoneOf(*zones, normalized);
    const float lowest = declaredMinimum(parameter);
    const float highest = declaredMaximum(parameter);
    if (zone == zones->continuous)
        return {std::clamp(plain, lowest, highest), static_cast<float>(zone)};
    return {zone < zones->continuous ? lowest : highest, static_cast<float>(zone)};
}

PortValues exactPlain(int parameter, float normalized) {
    PortValues ports = toPlain(parameter, normalized);
    const float lowest = declaredMinimum(parameter);
    const float highest = declaredMaximum(parameter);
    const auto exact = [&](float value) {
        return value >= lowest && value <= highest &&
               toNormalized(parameter, {value, ports.zone}) == normalized;
    };
    const float start = ports.value;
    for (int digits = 1; digits <= 9; ++digits)
        for (int offset : {0, -1, 1}) {
            const float candidate = decimal(start, digits, offset) + 0.0f;
            if (exact(candidate)) return {candidate, ports.zone};
        }
    // Neighbouring floats are tried outwards from the curve's value; a few steps cover the
    // rounding of every curve.
    float up = start;
    float down = start;
    for (int step = 0; step < 4096; ++step) {
        if (exact(up)) return {up, ports.zone};
        if (exact(down)) return {down, ports.zone};
        up = std::nextafter(up, highest);
        down = std::nextafter(down, lowest);
    }
    return ports;
}

PortValues accepted(int parameter, PortValues sent, PortValues previous) {
    const PlainScale& scale = scaleOf(parameter);
    PortValues result = previous;
    if (!std::isnan(sent.value))
        result.value =
            std::clamp(sent.value, static_cast<float>(scale.min), static_cast<float>(scale.max));
    const Zones* zones = zonesOf(parameter);
    if (!zones)
        result.zone = 0.0f;
    else if (!std::isnan(sent.zone))
        result.zone = static_cast<float>(zonePosition(*zones, sent.zone));
    return result;
}

ControlPortDescription describeParameterPort(int parameter) {
    const ParameterInfo& info = kParameters[parameter];
    const PlainScale& scale = info.plain;
    const Zones* zones = zonesOf(parameter);
    ControlPortDescription port{portOf(parameter),
                                info.symbol,
                                portName(parameter),
                                scale.unit,
                                zones ? 0u : scale.hints,
                                declaredMinimum(parameter),
                                declaredMaximum(parameter),
                                {},
                                0,
                                !isListedIn(kInLv2, parameter),
                                groupOf(parameter)};
    // The times grow as a cube from 0.1 ms: a logarithmic slider gives their short end, where
    // the audible differences are, as much travel as their long end.
    if (scale.unit == ParameterUnit::milliseconds) port.hints |= kHintLogarithmic;
    // A switch of two positions is a checkbox in every host; it needs no names. A zoned
    // parameter names its zones on its list.
    if (!(scale.hints & kHintToggled) && !zones)
        for (int point = 0; point < scale.numPoints; ++point)
            port.points[port.numPoints++] = {pointLabel(parameter, point),
                                             static_cast<float>(scale.points[point].plain)};
    return port;
}

ControlPortDescription describeZonePort(int parameter) {
    const Zones& zones = *zonesOf(parameter);
    ControlPortDescription port{zones.port,
                                zones.symbol,
                                kParameters[parameter].name,
                                ParameterUnit::none,
                                kHintEnumeration | kHintInteger,
                                0.0f,
                                kZoneCount - 1.0f,
                                {},
                                0,
                                false,
                                groupOf(parameter)};
    for (int zone = 0; zone < kZoneCount; ++zone)
        port.points[port.numPoints++] = {zoneLabel(zones, zone), static_cast<float>(zone)};
    return port;
}

} // namespace lv2port
