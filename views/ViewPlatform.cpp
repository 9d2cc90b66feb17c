#include "views/ViewPlatform.h"

#include <atomic>
#include <chrono>

namespace {

class NoDisplayPlatform : public ViewPlatform {
  public:
    std::unique_ptr<DrawDevice> createDrawDevice(CBitmap&) const override { return nullptr; }
    std::unique_ptr<FrameWindow> createFrameWindow(CFrame&, void*) const override {
        return nullptr;
    }
    ResourceBytes findResourcePng(int32_t) const override { return {}; }
    uint32_t tickMs() const override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    // No system setting: the controls' own shortest double-click time applies.
    int32_t doubleClickTimeMs() const override { return 0; }
};

std::atomic<const ViewPlatform*> current{nullptr};

} // namespace

void useViewPlatform(const ViewPlatform& platform) {
    current.store(&platform);
}

const ViewPlatform& viewPlatform() {
    static const NoDisplayPlatform noDisplay;
    const ViewPlatform* platform = current.load();
    return platform ? *platform : noDisplay;
}
