#pragma once

#include "plugin/ParameterTable.h"

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

// A control port carries the parameter's plain value (its range, unit and named points come
// from the parameter table) as a float.

float minimum(int parameter);
float maximum(int parameter);

// A value a host sent, made one the mapping takes: NaN keeps `previous`, anything else is held
// to the port's range.
float clampedPlain(int parameter, float plain, float previous);

// The normalized value the effect takes for a port value inside the range.
float toNormalized(int parameter, float plain);
// The port value that shows a normalized value.
float toPlain(int parameter, float normalized);

// The port value stored for `normalized` in defaults and presets: the float nearest to the
// curve whose way back gives exactly `normalized`, so a preset reaches the engine as the
// program does.
float exactPlain(int parameter, float normalized);

// The label LV2 hosts show for a named point of the parameter.
const char* pointLabel(int parameter, int point);

} // namespace lv2port
