#pragma once

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

struct ParameterInfo {
    int index;
    const char* name; // given whole: hosts of today show more than 8 characters
    ParameterKind kind;
    ParameterText (*hostText)(float value);
    void (*engineUpdate)(DynamicsEngine& engine, float value);
};

extern const std::array<ParameterInfo, kNumParameters> kParameters;

constexpr bool isParameterIndex(int index) {
    return index >= 0 && index < kNumParameters;
}
