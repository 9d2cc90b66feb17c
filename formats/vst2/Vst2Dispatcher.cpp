#include "formats/vst2/Vst2Dispatcher.h"

#include "ProductIdentity.h"
#include "formats/vst2/Vst2Plugin.h"
#include "plugin/ParameterTable.h"

#include <cstring>

namespace {

constexpr intptr_t kVendorVersion = 1000;

// Hosts pass text buffers without their size; every text written here is short enough for
// the interface's documented buffers, and a null buffer gets nothing.
intptr_t writeText(void* buffer, const char* text) {
    if (!buffer) return 0;
    std::strcpy(static_cast<char*>(buffer), text);
    return 1;
}

// Answered yes for compatibility with hosts that check them, though nothing uses them.
bool canDo(const char* capability) {
    if (!capability) return false;
    for (const char* known : {"receiveVstTimeInfo", "receiveVstMidiEvent", "sendVstMidiEvent"})
        if (std::strcmp(capability, known) == 0) return true;
    return false;
}

intptr_t inputProperties(int32_t index, void* ptr) {
    if (!ptr || (index != 0 && index != 1)) return 0;
    auto* pin = static_cast<vst2::VstPinProperties*>(ptr);
    // The short label and arrangement stay as the host passed them.
    std::strcpy(pin->label, index == 0 ? "Input Left (1)" : "Input Right (2)");
    pin->flags = vst2::kVstPinIsActive | vst2::kVstPinIsStereo;
    return 1;
}

intptr_t speakerArrangement(intptr_t value, void* ptr) {
    if (auto* input = reinterpret_cast<vst2::VstSpeakerArrangement**>(value)) *input = nullptr;
    if (auto* output = static_cast<vst2::VstSpeakerArrangement**>(ptr)) *output = nullptr;
    return 0;
}

// The content-scale request several hosts send: index 'PreS', value 'AeCs', the factor in opt.
bool isContentScaleRequest(int32_t index, intptr_t value) {
    return index == vst2::fourCharacters('P', 'r', 'e', 'S') &&
           value == vst2::fourCharacters('A', 'e', 'C', 's');
}

// Without an editor every editor request answers 0.
intptr_t editorRequest(Vst2Plugin& plugin, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                       float opt) {
    if (!plugin.editor()) return 0;
    EffectEditor& editor = *plugin.editor();
    switch (opcode) {
    case vst2::effEditGetRect:
        if (!ptr) return 0;
        *static_cast<vst2::ERect**>(ptr) = plugin.editorRect();
        return 1;
    case vst2::effEditOpen:
        return editor.open(ptr) ? 1 : 0;
    case vst2::effEditClose:
        editor.close();
        return 1;
    case vst2::effEditIdle:
        editor.idle();
        return 1;
    case vst2::effEditKeyDown:
        return editor.onKeyDown(index, static_cast<int>(value), static_cast<int>(opt)) ? 1 : 0;
    case vst2::effEditKeyUp:
        return editor.onKeyUp(index, static_cast<int>(value), static_cast<int>(opt)) ? 1 : 0;
    case vst2::effSetEditKnobMode:
        editor.setKnobMode(static_cast<int>(value));
        return 1;
    case vst2::effVendorSpecific:
        if (!isContentScaleRequest(index, value)) return 0;
        editor.setHostScale(opt);
        return 1;
    default:
        return 0;
    }
}

} // namespace

intptr_t dispatchRequest(Vst2Plugin& plugin, int32_t opcode, int32_t index, intptr_t value,
                         void* ptr, float opt) {
    using namespace vst2;
    CompressorEffect& effect = plugin.effect();
    switch (opcode) {
    // Programs.
    case effSetProgram:
        if (value >= 0 && value < kNumPrograms) effect.setProgram(static_cast<int>(value));
        return 0;
    case effGetProgram:
        return effect.getProgram();
    case effSetProgramName:
        if (ptr) effect.setProgramName(static_cast<const char*>(ptr));
        return 0;
    case effGetProgramName:
        writeText(ptr, effect.programName(effect.getProgram()));
        return 0;
    case effGetProgramNameIndexed:
        return index >= 0 && index < kNumPrograms ? writeText(ptr, effect.programName(index)) : 0;

    // Parameters.
    case effGetParamLabel:
        writeText(ptr, "");
        return 0;
    case effGetParamDisplay:
        if (isVst2Slot(index))
            writeText(ptr, kParameters[index].hostText(effect.getParameter(index)).text);
        return 0;
    case effGetParamName:
        if (isVst2Slot(index)) writeText(ptr, kParameters[index].name);
        return 0;
    case effCanBeAutomated:
        return 1;

    // Host state.
    case effSetSampleRate:
        effect.setSampleRate(opt);
        return 0;
    case effSetBlockSize: // every block size is processed alike
        return 0;
    case effMainsChanged:
        if (value)
            plugin.resume();
        else
            plugin.suspend();
        return 0;
    case effSetTotalSampleToProcess:
        return value;

    // Editor.
    case effEditGetRect:
    case effEditOpen:
    case effEditClose:
    case effEditIdle:
    case effEditKeyDown:
    case effEditKeyUp:
    case effSetEditKnobMode:
    case effVendorSpecific:
        return editorRequest(plugin, opcode, index, value, ptr, opt);

    // Identity and capabilities.
    case effIdentify:
        return kEffectIdentifier;
    case effGetEffectName:
    case effGetProductString:
        return writeText(ptr, kProductName);
    case effGetVendorString:
        return writeText(ptr, kVendorName);
    case effGetVendorVersion:
        return kVendorVersion;
    case effGetPlugCategory:
        return kPlugCategMastering;
    case effGetVstVersion:
        return kVstVersion;
    case effCanDo:
        return canDo(static_cast<const char*>(ptr)) ? 1 : 0;
    case effGetInputProperties:
        return inputProperties(index, ptr);
    case effGetSpeakerArrangement:
        return speakerArrangement(value, ptr);
    case effGetCurrentMidiProgram:
        return -1;
    // Events are accepted and not read.
    case effProcessEvents:
        return 1;

    // Everything else answers 0: chunks (state travels as parameters), the host's soft
    // bypass (Bypass is a parameter), output properties, tail size, MIDI and offline
    // requests, process precision (both are always available) and unknown opcodes.
    default:
        return 0;
    }
}
