#include "platform/SystemViewPlatform.h"
#include "platform/win32/CodeModule.h"
#include "platform/win32/GdiplusDrawDevice.h"
#include "platform/win32/Win32FrameWindow.h"

namespace {

class Win32ViewPlatform : public ViewPlatform {
  public:
    std::unique_ptr<DrawDevice> createDrawDevice(CBitmap& target) const override {
        auto device = std::make_unique<GdiplusDrawDevice>(target);
        if (!device->isValid()) return nullptr;
        return device;
    }

    std::unique_ptr<FrameWindow> createFrameWindow(CFrame& frame,
                                                   void* parentWindow) const override {
        return Win32FrameWindow::create(frame, static_cast<HWND>(parentWindow));
    }

    ResourceBytes findResourcePng(int32_t resourceId) const override {
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

    uint32_t tickMs() const override { return GetTickCount(); }

    int32_t doubleClickTimeMs() const override {
        return static_cast<int32_t>(GetDoubleClickTime());
    }
};

} // namespace

const ViewPlatform& systemViewPlatform() {
    static const Win32ViewPlatform platform;
    return platform;
}
