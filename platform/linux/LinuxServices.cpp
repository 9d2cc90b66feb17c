#include "platform/linux/CairoDrawDevice.h"
#include "platform/linux/X11FrameWindow.h"
#include "views/PlatformHooks.h"

#ifdef QVL_HAS_EMBEDDED_RESOURCES
#include "resources/EmbeddedResources.h"
#endif

#include <cstdint>
#include <ctime>

std::unique_ptr<DrawDevice> createBitmapDrawDevice(CBitmap& target) {
    auto device = std::make_unique<CairoDrawDevice>(target);
    if (!device->isValid()) return nullptr;
    return device;
}

std::unique_ptr<FrameWindow> createFrameWindow(CFrame& frame, void* parentWindow) {
    // On X11 the host passes the parent's Window id as the pointer value.
    return X11FrameWindow::create(frame,
                                  static_cast<Window>(reinterpret_cast<uintptr_t>(parentWindow)));
}

ResourceBytes findResourcePng(int32_t resourceId) {
#ifdef QVL_HAS_EMBEDDED_RESOURCES
    if (const EmbeddedResource* resource = findEmbeddedPng(resourceId))
        return {resource->data, resource->size};
#else
    (void)resourceId;
#endif
    return {};
}

uint32_t platformTickMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

int32_t platformDoubleClickTimeMs() {
    // X11 itself has no double-click setting; this is the usual desktop default.
    return 400;
}
