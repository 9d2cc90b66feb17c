#pragma once

// The meter readings at one moment, as the editor's meters and lamps use them.
struct MeterSnapshot {
    float gain = 1.0f;             // linear gain factor, 1 = no reduction
    float levelA = -70.0f;         // first detector level, dB
    float levelB = -70.0f;         // second detector level, dB
    bool processingActive = false; // between resume and suspend
};
