#include "DynamicLibrary.h"

#include <windows.h>

namespace {

// Paths are UTF-8 here, as on the other systems; Windows takes them as UTF-16.
std::wstring widePath(const std::string& path) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<std::size_t>(length) : 1, L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

} // namespace

DynamicLibrary::DynamicLibrary(const std::string& path) {
    handle_ = LoadLibraryW(widePath(path).c_str());
    if (!handle_)
        error_ = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
}

DynamicLibrary::~DynamicLibrary() {
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

void* DynamicLibrary::symbol(const char* name) const {
    return handle_ ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name))
                   : nullptr;
}
