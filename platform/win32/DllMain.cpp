#include "platform/win32/ModuleInstance.h"

namespace {
// Written once, under the loader lock, before the library's code can run anywhere else: the
// process attach happens before LoadLibrary returns, so later readers on any thread see it.
HINSTANCE gModuleInstance = nullptr;
} // namespace

HINSTANCE moduleInstance() {
    return gModuleInstance;
}

// Nothing to set up or tear down: the effect builds everything when the host asks for it.
// Thread attach and detach calls carry the same handle and are ignored, so no write can race
// with a reader.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) gModuleInstance = instance;
    return TRUE;
}
