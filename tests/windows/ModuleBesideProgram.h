#pragma once

#include <windows.h>

#include <string>

// The folder of the running test program, with its closing separator: the build puts the
// plug-in module beside the tests that load it, as a host's plug-in folder would hold it.
inline std::wstring programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// The plug-in module the test program was built with (QVL_PLUGIN_FILE_NAME), beside it.
inline std::wstring modulePath() {
    return programFolder() + L"" QVL_PLUGIN_FILE_NAME;
}

// A path as UTF-8, as the host tools take it.
inline std::string utf8Path(const std::wstring& path) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, text.data(), size, nullptr, nullptr);
    text.resize(text.size() - 1);
    return text;
}
