#include "platform/win32/FrameWindowClass.h"

#include "platform/win32/CodeModule.h"
#include "platform/win32/Utf16.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex classMutex;
int classUseCount = 0;

std::wstring makeClassName() {
    char name[32];
    std::snprintf(name, sizeof name, "Plugin%p", static_cast<void*>(codeModule()));
    return utf16FromUtf8(name);
}

bool registerClass(WNDPROC windowProc) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = codeModule();
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = nullptr; // every pixel is painted from the frame's back buffer
    windowClass.lpszClassName = FrameWindowClass::name();
    return RegisterClassExW(&windowClass) != 0;
}

bool acquire(WNDPROC windowProc) {
    std::lock_guard<std::mutex> lock(classMutex);
    if (classUseCount == 0 && !registerClass(windowProc)) return false;
    ++classUseCount;
    return true;
}

void release() {
    std::lock_guard<std::mutex> lock(classMutex);
    if (--classUseCount == 0) UnregisterClassW(FrameWindowClass::name(), codeModule());
}

} // namespace

FrameWindowClass::FrameWindowClass(WNDPROC windowProc) : registered_(acquire(windowProc)) {}

FrameWindowClass::~FrameWindowClass() {
    if (registered_) release();
}

const wchar_t* FrameWindowClass::name() {
    static const std::wstring className = makeClassName();
    return className.c_str();
}
