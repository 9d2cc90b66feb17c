#include "platform/OpenUrl.h"

#include "platform/win32/Utf16.h"

#include <windows.h>

#include <shellapi.h>

// The shell starts the user's browser for the address and returns at once. It answers a value
// above 32 when it could start a handler. OLE, which the shell may need for the handler, is
// initialised on this thread while the editor window is open (the only time a link is shown).
bool openUrlInBrowser(const char* url) {
    const std::wstring address = utf16FromUtf8(url);
    if (address.empty()) return false;
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
