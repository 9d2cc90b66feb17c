#pragma once

#include "plugin/ParameterTable.h"

#include <atomic>

// One program: a name and a normalized value for every parameter. The current program holds the
// live values, which the host, the editor and the audio thread reach from different threads.
struct CompressorProgram {
    static constexpr int kNameLength = 24;

    char name[kNameLength + 1] = "-"; // the last byte stays zero, so a full name still ends
    std::atomic<float> values[kNumParameters] = {};

    float value(int index) const { return values[index].load(std::memory_order_relaxed); }
    void setValue(int index, float v) { values[index].store(v, std::memory_order_relaxed); }
};
