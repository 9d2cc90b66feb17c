#pragma once

#include "plugin/ParameterCurves.h"
#include "plugin/ParameterTable.h"

// Bypass, SC Preview and Delta each replace what is heard, so at most one of them may be on.
// Who settles a clash depends on the format: where the plug-in may change its own parameters
// the last change wins; where it may not (LV2's input ports), a fixed precedence decides.
namespace listening {

// In their order of precedence, which is also the order the others are turned off in.
constexpr int kSwitches[3] = {kBypass, kScPreview, kDelta};

// The bypass and the parameters designated as listening.
inline bool isSwitch(int index) {
    if (!isParameterIndex(index)) return false;
    const Designation designation = kParameters[index].designation;
    return designation == Designation::bypass || designation == Designation::listening;
}

// The preview listens from the middle of its travel on, the others only when fully on.
inline bool listens(int index, float value) {
    return index == kScPreview ? curve::scPreviewListens(value) : curve::isOn(value);
}

// Last change wins: a switch that now listens has turnOff called for each of the others.
template <typename TurnOff> void lastChangeWins(int index, float value, TurnOff&& turnOff) {
    if (!isSwitch(index) || !listens(index, value)) return;
    for (int other : kSwitches)
        if (other != index) turnOff(other);
}

struct Settled {
    bool bypass = false;
    bool scPreview = false;
    bool delta = false;
};

// Fixed precedence: of any combination asked for, only the highest-ranking switch stays on.
constexpr Settled byPrecedence(bool bypass, bool scPreview, bool delta) {
    if (bypass) return {true, false, false};
    if (scPreview) return {false, true, false};
    return {false, false, delta};
}

} // namespace listening
