#pragma once

#include "plugin/PlainScale.h"

#include <array>

class DynamicsEngine;

// The host's parameter indices. 19 and 20 exist for saved sessions but do nothing.
enum ParameterIndex : int {
    kDetection = 0,
    kScFilterType,
    kScFilterFreq,
    kThreshold,
    kKnee,
    kRatio,
    kAttack,
    kRelease,
    kReleaseSlow,
    kDryMix,
    kMakeUpGain,
    kHfHarmonics,
    kLfHarmonics,
    kHfHarmonicsAmount,
    kLfHarmonicsAmount,
    kDelta,
    kBypass,
    kScPreview,
    kMeterScale,
    kUnused19,
    kUnused20,
    kNumParameters
};

enum class ParameterKind { continuous, zoned, threeWaySwitch, fourWaySwitch, onOff, noFunction };

// A value text as the host shows it; the longest one ("-100.0 dB") needs 10 bytes.
struct ParameterText {
    char text[16];
};

// Every fact about one parameter, for hosts of any format. The curves behind the host text,
// the engine update, the plain value and the editor's readouts and graph are written once, in
// ParameterCurves.h.
struct ParameterInfo {
    int index;
    const char* name;   // given whole: hosts of today show more than 8 characters
    const char* symbol; // a C identifier, stable across versions, for formats that need one
    ParameterKind kind;
    const PlainScale& plain; // the value in its own unit, for formats that show units
    ParameterText (*hostText)(float value);
    void (*engineUpdate)(DynamicsEngine& engine, float value);
};

extern const std::array<ParameterInfo, kNumParameters> kParameters;

constexpr bool isParameterIndex(int index) {
    return index >= 0 && index < kNumParameters;
}

// The value after construction: factory program 0's.
float defaultValue(int index);
