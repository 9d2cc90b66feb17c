#pragma once

#include <pluginterfaces/vst/vsttypes.h>

// The IDs a host finds in the parameter list besides the VST 2 indices.
constexpr Steinberg::Vst::ParamID kHostBypassId = 100;
constexpr Steinberg::Vst::ParamID kProgramId = 101;
