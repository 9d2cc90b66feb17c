#pragma once

#include "plugin/ParameterTable.h"

#include <cstdint>

// The LV2 edition's ports, in the order the description lists them: stereo audio, one control
// input per VST 2 slot (port kFirstParameterPort + parameter index), the host's enable switch,
// the latency report and the meters the editor shows; then, added after the first release
// behind every port that had an index already, the zone lists of Detection and Ratio, one
// control input for each parameter that came after the slots, in the table's order, and the
// key's two audio inputs. A port never moves: saved sessions name ports by index.
namespace lv2port {

enum : uint32_t {
    kInputLeft = 0,
    kInputRight,
    kOutputLeft,
    kOutputRight,
    kFirstParameterPort,
    kEnabled = kFirstParameterPort + kNumVst2Slots,
    kLatency,
    kMeterGain,
    kMeterLevelA,
    kMeterLevelB,
    kMeterActive,
    kDetectionZone,
    kRatioZone,
    kFirstLaterParameterPort,
    kKeyLeft = kFirstLaterParameterPort + (kNumParameters - kNumVst2Slots),
    kKeyRight,
    kNumPorts
};
static_assert(kNumParameters == kNumVst2Slots + 1,
              "a parameter added after SC Source takes a port after the key's, not before it");

constexpr uint32_t kNoPort = UINT32_MAX;

// The gain meter's declared range tops out far above any gain the DSP writes (about 1 at most:
// it only reduces), so a gain port at its maximum never came from a run.
constexpr float kMeterGainMaximum = 16.0f;

// Until the plug-in has run, a host hands the UI values of its own for the meter ports: jalv,
// Qtractor and Ardour give 0, another host might give each port's minimum or maximum. None of
// these has both the processing port above 0 (as hosts read a switch) and a gain below the gain
// port's maximum, which every run writes, so only the values of a run pass.
constexpr bool metersFromARun(float gain, bool processing) {
    return processing && gain < kMeterGainMaximum;
}

constexpr bool isParameterPort(uint32_t port) {
    return (port >= kFirstParameterPort && port < kEnabled) ||
           (port >= kFirstLaterParameterPort && port < kNumPorts);
}
// Only for a parameter port.
constexpr int parameterOf(uint32_t port) {
    return port < kEnabled ? static_cast<int>(port - kFirstParameterPort)
                           : kNumVst2Slots + static_cast<int>(port - kFirstLaterParameterPort);
}
constexpr uint32_t portOf(int parameterIndex) {
    return isVst2Slot(parameterIndex)
               ? kFirstParameterPort + static_cast<uint32_t>(parameterIndex)
               : kFirstLaterParameterPort + static_cast<uint32_t>(parameterIndex - kNumVst2Slots);
}

// Detection and Ratio jump between zones, and a host's slider over one number would show
// values the plug-in never plays between them ("278 ms" that is RMS 60, "5.5:1" that is 4:1).
// Each has a second port that lists its zones (Peak / RMS / Dyn RMS, Variable / 4:1 / 8:1);
// its own port holds the value inside the continuous zone (the RMS window 0.1 ... 60 ms, the
// ratio 1 ... 3:1). Every other parameter is one port.
uint32_t zonePortOf(int parameter);     // kNoPort where the parameter has no zone list
int parameterOfZonePort(uint32_t port); // -1 for any other port

// What a parameter's ports hold: its own port's value and the position on its zone list
// (0 for a parameter without one).
struct PortValues {
    float value;
    float zone;
};

// The normalized value the effect takes for the ports' values. While the zone list is at its
// continuous zone, a value on the parameter's own port that sessions saved before the zone
// lists used for a named zone (Detection 0 ms "Peak" or 600 ms "Dyn RMS", Ratio 4 or 8) still
// means that zone, so an old session, restored with the list at its default, keeps its sound;
// such values lie outside the range the port now declares.
float toNormalized(int parameter, PortValues ports);
// The port values that show a normalized value. A named zone puts the value port at the end of
// the continuous zone next to it, where the editor's knob passes into that zone.
PortValues toPlain(int parameter, float normalized);

// The port values stored for `normalized` in defaults and presets: the shortest decimal near
// the curve whose way back gives exactly `normalized`, so a preset reaches the engine as the
// program does and reads as a short number where one maps back exactly.
PortValues exactPlain(int parameter, float normalized);

// Values a host sent, made ones the mapping takes: NaN keeps the previous value, anything else
// is held to what the port accepts (the range a saved session may hold) and the zone to the
// nearest position on the list.
PortValues accepted(int parameter, PortValues sent, PortValues previous);

// The editor panel's sections as port groups, in its order, for hosts that show groups: each
// zone list sits in its parameter's group, beside the port that holds the value in its
// continuous zone, and the meter outputs sit with the meter scale. jalv lists the groups after
// every port without one and orders them by URI, so every control shown has a group and the
// URIs count the sections.
enum ControlGroupIndex : int {
    kGroupDetection,
    kGroupScFilter,
    kGroupThreshold,
    kGroupRatio,
    kGroupEnvelope,
    kGroupMix,
    kGroupHarmonics,
    kGroupListen,
    kGroupMeters,
    kNumControlGroups,
    kNoGroup = -1
};
struct ControlGroup {
    const char* symbol;
    const char* name;
};
constexpr ControlGroup kControlGroups[kNumControlGroups] = {{"detection", "Detection"},
                                                            {"sc_filter", "Sidechain Filter"},
                                                            {"threshold", "Threshold and Knee"},
                                                            {"ratio", "Ratio"},
                                                            {"envelope", "Attack and Release"},
                                                            {"mix", "Dry Mix and Make Up"},
                                                            {"harmonics", "Harmonics"},
                                                            {"listen", "Listen and Bypass"},
                                                            {"meters", "Meters"}};

// What the description declares for a control input.
struct ScalePointText {
    const char* label;
    float value;
};
struct ControlPortDescription {
    uint32_t index;
    const char* symbol;
    const char* name;
    ParameterUnit unit;
    unsigned hints; // ParameterHint bits as the port declares them
    float minimum;
    float maximum;
    ScalePointText points[4];
    int numPoints;
    bool hidden; // kept for saved sessions only: nothing to show
    int group;   // a ControlGroupIndex
};
ControlPortDescription describeParameterPort(int parameter);
// Only for a parameter whose zonePortOf is a port.
ControlPortDescription describeZonePort(int parameter);

} // namespace lv2port
