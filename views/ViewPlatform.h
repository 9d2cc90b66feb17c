#pragma once

#include "views/DrawDevice.h"
#include "views/FrameWindow.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class CBitmap;
class CFrame;

struct ResourceBytes {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

// What the views need of the system they run on. The platform layer implements it; the program
// that assembles a module (or a tool, or a test) hands it over with useViewPlatform.
class ViewPlatform {
  public:
    virtual ~ViewPlatform() = default;

    // A drawing back end writing into `target`'s pixels; null when the system cannot make one.
    virtual std::unique_ptr<DrawDevice> createDrawDevice(CBitmap& target) const = 0;
    // A visible child window of `parentWindow` at (0, 0) with the frame's size; null when the
    // parent is null or not a usable window.
    virtual std::unique_ptr<FrameWindow> createFrameWindow(CFrame& frame,
                                                           void* parentWindow) const = 0;
    // The PNG image carried by the module under `resourceId`; empty when there is none.
    virtual ResourceBytes findResourcePng(int32_t resourceId) const = 0;
    // Milliseconds of a monotonic clock (wraps like a 32-bit tick counter).
    virtual uint32_t tickMs() const = 0;
    // The system's double-click time in milliseconds.
    virtual int32_t doubleClickTimeMs() const = 0;
};

// Every view of this module draws, opens windows, finds images and reads the clock through
// `platform` from now on; it must outlive them. A module has one system, and each module keeps
// its own copy of the views, so this is set once where the module makes its editor. Safe to
// repeat with the same platform from any thread.
void useViewPlatform(const ViewPlatform& platform);
// The platform set last; until one is set, a system without a display: no drawing device, no
// window, no images, a steady clock and the usual double-click time.
const ViewPlatform& viewPlatform();
