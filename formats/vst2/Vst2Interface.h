#pragma once
// The VST 2.4 plug-in binary interface as published: record layout, opcode numbers, flags
// and the few structures this plug-in exchanges with a host. Declared here so the plug-in
// and our host-side tools share one definition. Integer fields that carry pointers are
// pointer-sized, so the same declarations hold for 32- and 64-bit builds.

#include <cstddef>
#include <cstdint>

namespace vst2 {

#if defined(_WIN32) && !defined(_WIN64)
#define VST2_CALL __cdecl
#else
#define VST2_CALL
#endif

struct AEffect;

using HostCallback = intptr_t(VST2_CALL*)(AEffect* effect, int32_t opcode, int32_t index,
                                          intptr_t value, void* ptr, float opt);
using DispatcherProc = intptr_t(VST2_CALL*)(AEffect* effect, int32_t opcode, int32_t index,
                                            intptr_t value, void* ptr, float opt);
using ProcessProc = void(VST2_CALL*)(AEffect* effect, float** inputs, float** outputs,
                                     int32_t sampleFrames);
using ProcessDoubleProc = void(VST2_CALL*)(AEffect* effect, double** inputs, double** outputs,
                                           int32_t sampleFrames);
using SetParameterProc = void(VST2_CALL*)(AEffect* effect, int32_t index, float value);
using GetParameterProc = float(VST2_CALL*)(AEffect* effect, int32_t index);
using PluginEntryProc = AEffect*(VST2_CALL*)(HostCallback host);

constexpr int32_t fourCharacters(char a, char b, char c, char d) {
    return static_cast<int32_t>((static_cast<uint32_t>(a) << 24) |
                                (static_cast<uint32_t>(b) << 16) | (static_cast<uint32_t>(c) << 8) |
                                static_cast<uint32_t>(d));
}

constexpr int32_t kEffectMagic = fourCharacters('V', 's', 't', 'P');
constexpr int32_t kEffectIdentifier = fourCharacters('N', 'v', 'E', 'f');
constexpr int32_t kVstVersion = 2400;

struct AEffect {
    int32_t magic;
    DispatcherProc dispatcher;
    ProcessProc process; // deprecated accumulating call
    SetParameterProc setParameter;
    GetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;
    intptr_t resvd1;
    intptr_t resvd2;
    int32_t initialDelay;
    int32_t realQualities;
    int32_t offQualities;
    float ioRatio;
    void* object;
    void* user;
    int32_t uniqueID;
    int32_t version;
    ProcessProc processReplacing;
    ProcessDoubleProc processDoubleReplacing;
    char future[56];
};

enum EffectFlags : int32_t {
    effFlagsHasEditor = 1 << 0,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
    effFlagsNoSoundInStop = 1 << 9,
    effFlagsCanDoubleReplacing = 1 << 12,
};

enum EffectOpcode : int32_t {
    effOpen = 0,
    effClose = 1,
    effSetProgram = 2,
    effGetProgram = 3,
    effSetProgramName = 4,
    effGetProgramName = 5,
    effGetParamLabel = 6,
    effGetParamDisplay = 7,
    effGetParamName = 8,
    effSetSampleRate = 10,
    effSetBlockSize = 11,
    effMainsChanged = 12,
    effEditGetRect = 13,
    effEditOpen = 14,
    effEditClose = 15,
    effEditIdle = 19,
    effIdentify = 22,
    effGetChunk = 23,
    effSetChunk = 24,
    effProcessEvents = 25,
    effCanBeAutomated = 26,
    effString2Parameter = 27,
    effGetProgramNameIndexed = 29,
    effGetInputProperties = 33,
    effGetOutputProperties = 34,
    effGetPlugCategory = 35,
    effSetSpeakerArrangement = 42,
    effSetBypass = 44,
    effGetEffectName = 45,
    effGetVendorString = 47,
    effGetProductString = 48,
    effGetVendorVersion = 49,
    effVendorSpecific = 50,
    effCanDo = 51,
    effGetTailSize = 52,
    effGetParameterProperties = 56,
    effGetVstVersion = 58,
    effEditKeyDown = 59,
    effEditKeyUp = 60,
    effSetEditKnobMode = 61,
    effGetCurrentMidiProgram = 63,
    effBeginSetProgram = 67,
    effEndSetProgram = 68,
    effGetSpeakerArrangement = 69,
    effStartProcess = 71,
    effStopProcess = 72,
    effSetTotalSampleToProcess = 73,
    effSetPanLaw = 74,
    effBeginLoadBank = 75,
    effBeginLoadProgram = 76,
    effSetProcessPrecision = 77,
    effGetNumMidiInputChannels = 78,
    effGetNumMidiOutputChannels = 79,
};

enum HostOpcode : int32_t {
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterCurrentId = 2,
    audioMasterIdle = 3,
    audioMasterGetTime = 7,
    audioMasterProcessEvents = 8,
    audioMasterIOChanged = 13,
    audioMasterSizeWindow = 15,
    audioMasterGetSampleRate = 16,
    audioMasterGetBlockSize = 17,
    audioMasterGetVendorString = 32,
    audioMasterGetProductString = 33,
    audioMasterGetVendorVersion = 34,
    audioMasterCanDo = 37,
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43,
    audioMasterEndEdit = 44,
};

enum PlugCategory : int32_t {
    kPlugCategUnknown = 0,
    kPlugCategEffect = 1,
    kPlugCategSynth = 2,
    kPlugCategAnalysis = 3,
    kPlugCategMastering = 4,
};

constexpr int kVstMaxProgNameLen = 24;
constexpr int kVstMaxParamStrLen = 8;
constexpr int kVstMaxEffectNameLen = 32;
constexpr int kVstMaxVendorStrLen = 64;
constexpr int kVstMaxProductStrLen = 64;
constexpr int kVstMaxLabelLen = 64;
constexpr int kVstMaxShortLabelLen = 8;

enum PinFlags : int32_t {
    kVstPinIsActive = 1 << 0,
    kVstPinIsStereo = 1 << 1,
    kVstPinUseSpeaker = 1 << 2,
};

struct VstPinProperties {
    char label[kVstMaxLabelLen];
    int32_t flags;
    int32_t arrangementType;
    char shortLabel[kVstMaxShortLabelLen];
    char future[48];
};

// Editor rectangle as the host reads it from effEditGetRect.
struct ERect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

struct VstEvent {
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    char data[16];
};

struct VstEvents {
    int32_t numEvents;
    intptr_t reserved;
    VstEvent* events[2];
};

// Opaque speaker arrangement; the plug-in only ever hands back null pointers.
struct VstSpeakerArrangement;

} // namespace vst2

// The published record is 192 bytes on 64-bit systems and 144 bytes on 32-bit ones.
static_assert(sizeof(void*) != 8 || (offsetof(vst2::AEffect, resvd1) == 64 &&
                                     offsetof(vst2::AEffect, initialDelay) == 80 &&
                                     offsetof(vst2::AEffect, object) == 96 &&
                                     offsetof(vst2::AEffect, processReplacing) == 120 &&
                                     sizeof(vst2::AEffect) == 192),
              "AEffect layout (64-bit)");
static_assert(sizeof(void*) != 4 ||
                  (offsetof(vst2::AEffect, resvd1) == 40 &&
                   offsetof(vst2::AEffect, initialDelay) == 48 &&
                   offsetof(vst2::AEffect, object) == 64 &&
                   offsetof(vst2::AEffect, processReplacing) == 80 && sizeof(vst2::AEffect) == 144),
              "AEffect layout (32-bit)");
static_assert(sizeof(vst2::VstPinProperties) == 128, "VstPinProperties layout");
