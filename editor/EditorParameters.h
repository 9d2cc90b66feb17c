#pragma once

#include "plugin/ParameterCurves.h"
#include "plugin/ParameterTable.h"

#include <cstdint>

// The parameters the editor binds, by the parameter table's indices. The editor reaches the
// effect only through EditorHost; it takes the numbering, not the effect, from the table.
enum EditorParameter : int32_t {
    kParamDetection = kDetection,
    kParamScFilterType = kScFilterType,
    kParamScFilterFreq = kScFilterFreq,
    kParamThreshold = kThreshold,
    kParamKnee = kKnee,
    kParamRatio = kRatio,
    kParamAttack = kAttack,
    kParamRelease = kRelease,
    kParamReleaseSlow = kReleaseSlow,
    kParamDryMix = kDryMix,
    kParamMakeUpGain = kMakeUpGain,
    kParamHfHarmonics = kHfHarmonics,
    kParamLfHarmonics = kLfHarmonics,
    kParamHfHarmonicsAmount = kHfHarmonicsAmount,
    kParamLfHarmonicsAmount = kLfHarmonicsAmount,
    kParamDelta = kDelta,
    kParamBypass = kBypass,
    kParamScPreview = kScPreview,
    kParamMeterScale = kMeterScale,
};

// The parameters that do something; any other tag (the about trigger, the meters, the slots
// that do nothing) is none the editor follows or reports.
inline bool isEditorParameter(int32_t tag) {
    return hasFunction(tag);
}

// On/off parameters count as on only at exactly 1, as everywhere.
using curve::isOn;
