#include "platform/SystemViewPlatform.h"
#include "platform/linux/CairoDrawDevice.h"
#include "platform/linux/X11FrameWindow.h"

#ifdef QVL_HAS_EMBEDDED_RESOURCES
#include "resources/EmbeddedResources.h"
#endif

#include <cstdint>
#include <ctime>

namespace {

class LinuxViewPlatform : public ViewPlatform {
  public:
    std::unique_ptr<DrawDevice> createDrawDevice(CBitmap& target) const override {
        auto device = std::make_unique<CairoDrawDevice>(target);
        if (!device->isValid()) return nullptr;
        return device;
    }

    std::unique_ptr<FrameWindow> createFrameWindow(CFrame& frame,
                                                   void* parentWindow) const override {
        // On X11 the host passes the parent's Window id as the pointer value.
        return X11FrameWindow::create(
            frame, static_cast<Window>(reinterpret_cast<uintptr_t>(parentWindow)));
    }

    ResourceBytes findResourcePng(int32_t resourceId) const override {
#ifdef QVL_HAS_EMBEDDED_RESOURCES
        if (const EmbeddedResource* resource = findEmbeddedPng(resourceId))
            return {resource->data, resource->size};
#else
        (void)resourceId;
#endif
        return {};
    }

    uint32_t tickMs() const override {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                     static_cast<uint64_t>(now.tv_nsec) / 1000000u);
    }

    int32_t doubleClickTimeMs() const override {
        // X11 itself has no double-click setting; this is the usual desktop default.
        return 400;
    }
};

} // namespace

const ViewPlatform& systemViewPlatform() {
    static const LinuxViewPlatform platform;
    return platform;
}
