#pragma once

#include "plugin/MeterSnapshot.h"

#include <cstdint>

// The meter readings a VST 2 host reads beside the parameters, as getParameter indices 500 to
// 506. Hosts and their saved probes have always seen them there, so the numbers stay.
enum Vst2Readout : int32_t {
    kReadoutUnity = 500,            // always 1
    kReadoutGain = 501,             // linear gain factor, 1 = no reduction
    kReadoutLevelB = 502,           // second detector level, dB
    kReadoutLevelA = 503,           // first detector level, dB
    kReadoutZeroFirst = 504,        // always 0
    kReadoutZeroSecond = 505,       // always 0
    kReadoutProcessingActive = 506, // 1 between resume and suspend
};

// The snapshot read as readout `index`; 0 for any other index.
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
