#include "platform/win32/Utf16.h"

#include <windows.h>

std::wstring utf16FromUtf8(const char* utf8) {
    if (!utf8 || !*utf8) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (length <= 1) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1)); // without the terminating zero
    return wide;
}
