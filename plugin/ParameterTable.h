#pragma once

#include "plugin/PlainScale.h"

#include <array>
#include <optional>

class DynamicsEngine;

// The parameters by index. 0 ... 20 are the VST 2 module's slots, of which 19 and 20 exist for
// saved sessions but do nothing; a parameter that the newer editions alone have follows them.
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
    kScSource,
    kNumParameters
};

// The VST 2 module's slots: the parameter indices 0 ... 20, as its hosts and saved sessions know
// them. LV2's first ports are numbered after them too.
constexpr int kNumVst2Slots = kUnused20 + 1;
constexpr bool isVst2Slot(int index) {
    return index >= 0 && index < kNumVst2Slots;
}

// What a parameter stands for, beyond the sound its value makes.
enum class Designation {
    setting,    // shapes the sound
    bypass,     // the effect's latency-matched bypass: what a host's own bypass button drives
    listening,  // replaces what is heard by a part of the signal (Delta, SC Preview)
    meterScale, // changes only what the gain-reduction meter shows
    noFunction, // a slot kept for saved sessions; does nothing
};

// The newer editions whose hosts list a parameter, as bits. The VST 2 module lists its slots.
enum ListedIn : unsigned {
    kInVst3 = 1u << 0,
    kInClap = 1u << 1,
    kInLv2 = 1u << 2,
};

// A value text as the host shows it; the longest one ("-100.0 dB") needs 10 bytes.
struct ParameterText {
    char text[16];
};

// Every fact about one parameter that an edition or the editor needs. The curves behind the
// host text, the engine update, the plain value and the editor's readouts and graph are
// written once, in ParameterCurves.h.
struct ParameterInfo {
    int index;
    const char* name;      // given whole: hosts of today show more than 8 characters
    const char* shortName; // at most 8 characters, for hosts with narrow strips
    const char* symbol;    // a C identifier, stable across versions, for formats that need one
    Designation designation;
    unsigned listedIn;       // ListedIn bits
    const PlainScale& plain; // the value in its own unit, its steps and its named settings
    // The value a control-click on the editor's control sets; none where the control has no
    // such gesture or there is no control.
    std::optional<float> editorDefault;
    ParameterText (*hostText)(float value);
    void (*engineUpdate)(DynamicsEngine& engine, float value);
};

extern const std::array<ParameterInfo, kNumParameters> kParameters;

constexpr bool isParameterIndex(int index) {
    return index >= 0 && index < kNumParameters;
}

// Whether `value` is one the parameter at `index` can hold: every parameter's normalized value
// runs from 0 to 1, ends included. Anything else, even a rounding step past an end, came from
// no host or editor of ours (each holds what it sends to that range) and no factory program.
bool isHeldValue(int index, float value);

// The value after construction: factory program 0's.
float defaultValue(int index);

// Whether the parameter at `index` does anything at all.
bool hasFunction(int index);

// The parameters a host of a newer `edition` lists, in the order of the table.
bool isListedIn(ListedIn edition, int index);
int listedCount(ListedIn edition);
// The index of the parameter at `position` in the edition's list; -1 past its end.
int listedAt(ListedIn edition, int position);
