#include "platform/win32/CodeModule.h"

#include "platform/win32/ModuleInstance.h"

HMODULE codeModule() {
    if (HINSTANCE instance = moduleInstance()) return instance;
    // No DllMain ran: ask which module holds this function, without adding a reference.
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&codeModule), &module);
    return module;
}
