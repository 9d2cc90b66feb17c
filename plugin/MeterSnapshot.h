#pragma once

#include "editor/EditorParameters.h"

// The meter readings at one moment, as the editor's meters and lamps use them.
struct MeterSnapshot {
    float gain = 1.0f;             // linear gain factor, 1 = no reduction
    float levelA = -70.0f;         // first detector level, dB
    float levelB = -70.0f;         // second detector level, dB
    bool processingActive = false; // between resume and suspend
};

// The snapshot read as the editor's readout indices 500 to 506; 0 for any other index. Kept
// here so every host of the editor answers the readouts alike.
inline float readoutValue(const MeterSnapshot& meters, int index) {
    switch (index) {
    case kReadoutUnity:
        return 1.0f;
    case kReadoutGain:
        return meters.gain;
    case kReadoutLevelB:
        return meters.levelB;
    case kReadoutLevelA:
        return meters.levelA;
    case kReadoutProcessingActive:
        return meters.processingActive ? 1.0f : 0.0f;
    default:
        return 0.0f; // including the two readouts that are always zero
    }
}
