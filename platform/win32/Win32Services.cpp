#include "platform/win32/CodeModule.h"
#include "platform/win32/GdiplusDrawDevice.h"
#include "platform/win32/Win32FrameWindow.h"
#include "views/PlatformHooks.h"

std::unique_ptr<DrawDevice> createBitmapDrawDevice(CBitmap& target) {
    auto device = std::make_unique<GdiplusDrawDevice>(target);
    if (!device->isValid()) return nullptr;
    return device;
}

std::unique_ptr<FrameWindow> createFrameWindow(CFrame& frame, void* parentWindow) {
    return Win32FrameWindow::create(frame, static_cast<HWND>(parentWindow));
}

ResourceBytes findResourcePng(int32_t resourceId) {
    // Resource numbers are 16-bit; anything else cannot name one.
    if (resourceId <= 0 || resourceId > 0xFFFF) return {};
    HMODULE module = codeModule();
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(resourceId), L"PNG");
    if (!resource) return {};
    HGLOBAL handle = LoadResource(module, resource);
    const void* data = handle ? LockResource(handle) : nullptr;
    if (!data) return {};
    // Resource memory is part of the loaded module: it stays valid as long as the code does.
    return {static_cast<const unsigned char*>(data), SizeofResource(module, resource)};
}

uint32_t platformTickMs() {
    return GetTickCount();
}

int32_t platformDoubleClickTimeMs() {
    return static_cast<int32_t>(GetDoubleClickTime());
}
