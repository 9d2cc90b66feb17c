#pragma once

#include <string>

// A loaded shared library. The platform part lives in one source file per system
// (DynamicLibraryPosix.cpp, DynamicLibraryWin32.cpp).
class DynamicLibrary {
  public:
    explicit DynamicLibrary(const std::string& path);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    bool isLoaded() const { return handle_ != nullptr; }
    // Why loading failed, as the system tells it; empty when loaded.
    const std::string& error() const { return error_; }
    // The address of an exported symbol, or null.
    void* symbol(const char* name) const;

  private:
    void* handle_ = nullptr;
    std::string error_;
};
