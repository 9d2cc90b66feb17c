#pragma once

#include <pluginterfaces/vst/vsttypes.h>

// The IDs a host finds in the parameter list: the effect's indices, then the program change.
// The host's bypass is the effect's own Bypass.
constexpr Steinberg::Vst::ParamID kBypassId = 16;
constexpr Steinberg::Vst::ParamID kProgramId = 101;

// The edition's normalized values rise with the plain values, so Threshold's (0 dB at the
// effect's 0, -50 dB at its 1) runs the other way; every other one is the effect's value.
inline Steinberg::Vst::ParamValue vst3Value(Steinberg::Vst::ParamID id, float effectValue) {
    const auto value = static_cast<Steinberg::Vst::ParamValue>(effectValue);
    return id == 3 ? 1.0 - value : value;
}
