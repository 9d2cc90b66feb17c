#pragma once

#include <cstdint>

// The parameter indices the editor binds (the host's numbering). The editor reaches the effect
// only through EditorHost, so it names the indices itself instead of including the effect.
enum EditorParameter : int32_t {
    kParamDetection = 0,
    kParamScFilterType = 1,
    kParamScFilterFreq = 2,
    kParamThreshold = 3,
    kParamKnee = 4,
    kParamRatio = 5,
    kParamAttack = 6,
    kParamRelease = 7,
    kParamReleaseSlow = 8,
    kParamDryMix = 9,
    kParamMakeUpGain = 10,
    kParamHfHarmonics = 11,
    kParamLfHarmonics = 12,
    kParamHfHarmonicsAmount = 13,
    kParamLfHarmonicsAmount = 14,
    kParamDelta = 15,
    kParamBypass = 16,
    kParamScPreview = 17,
    kParamMeterScale = 18,
    // 19 and 20 have no function and no control.
    kNumEditorParameters = 19
};

// The effect's readouts beside the parameters; the meters read 501 to 503 and 506.
enum EditorReadout : int32_t {
    kReadoutUnity = 500,            // always 1
    kReadoutGain = 501,             // linear gain factor, 1 = no reduction
    kReadoutLevelB = 502,           // second detector level, dB
    kReadoutLevelA = 503,           // first detector level, dB
    kReadoutZeroFirst = 504,        // always 0
    kReadoutZeroSecond = 505,       // always 0
    kReadoutProcessingActive = 506, // 1 between resume and suspend
};

// Tags 0 ... 18 are parameters; any other tag (the about trigger, the meters) is not.
constexpr bool isEditorParameter(int32_t tag) {
    return tag >= 0 && tag < kNumEditorParameters;
}

// On/off parameters count as on only at exactly 1.
constexpr bool isOn(float value) {
    return value == 1.0f;
}
