#pragma once

#include "plugin/ParameterTable.h"

#include <array>
#include <cstdint>

// The LV2 edition's ports, in the order the description lists them: stereo audio, one control
// input per parameter (port kFirstParameterPort + parameter index), the host's enable switch,
// the latency report and the meters the editor shows.
namespace lv2port {

enum : uint32_t {
    kInputLeft = 0,
    kInputRight,
    kOutputLeft,
    kOutputRight,
    kFirstParameterPort,
    kEnabled = kFirstParameterPort + kNumParameters,
    kLatency,
    kMeterGain,
    kMeterLevelA,
    kMeterLevelB,
    kMeterActive,
    kNumPorts
};

constexpr bool isParameterPort(uint32_t port) {
    return port >= kFirstParameterPort && port < kFirstParameterPort + kNumParameters;
}
constexpr int parameterOf(uint32_t port) {
    return static_cast<int>(port - kFirstParameterPort);
}
constexpr uint32_t portOf(int parameterIndex) {
    return kFirstParameterPort + static_cast<uint32_t>(parameterIndex);
}

struct ScalePoint {
    float value;
    const char* label;
};

enum class Unit { none, db, ms, hz, percent, ratio };

// How a parameter looks as an LV2 control port: the plain value a user reads and types, its
// range and hints, and the two-way mapping to the normalized value the effect takes.
struct ControlPort {
    const char* symbol;
    Unit unit;
    float minimum;
    float maximum;
    bool toggled;
    bool enumeration; // also integer: the positions are the scale points
    bool logarithmic;
    bool hidden;                           // kept for saved sessions, nothing to show
    std::array<ScalePoint, 4> scalePoints; // unused entries have a null label
    float (*toPlain)(float normalized);
    float (*toNormalized)(float plain); // takes a value inside minimum..maximum
};

extern const std::array<ControlPort, kNumParameters> kControlPorts;

// A value a host sent, made one the mapping takes: NaN keeps `previous`, anything else is held
// to the port's range.
float clampedPlain(const ControlPort& port, float plain, float previous);

// The plain value stored for `normalized` in defaults and presets: the nearest value to the
// curve whose way back gives exactly `normalized`, so a preset reaches the engine as the
// program does.
float exactPlain(const ControlPort& port, float normalized);

} // namespace lv2port
