#include "formats/common/ModuleEditor.h"
#include "formats/vst2/Vst2Interface.h"
#include "formats/vst2/Vst2Plugin.h"

// The host's entry into the module. Hosts look for either name, so both must be this one
// function; the export list keeps every other symbol of the module private.
extern "C" __attribute__((visibility("default"))) vst2::AEffect*
VSTPluginMain(vst2::HostCallback audioMaster) {
    // A host that answers 0 does not speak this interface.
    if (!audioMaster || audioMaster(nullptr, vst2::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    Vst2Plugin* plugin = createVst2Plugin(audioMaster, moduleEditorFactory());
    return plugin ? plugin->record() : nullptr;
}

// C++ forbids declaring `main` with this signature, so the assembler gives it the same address
// (on Windows the module definition file makes the alias).
#ifndef _WIN32
asm(".globl main\n\t.type main, @function\n\t.set main, VSTPluginMain");
#endif
