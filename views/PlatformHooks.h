#pragma once

#include "views/DrawDevice.h"
#include "views/FrameWindow.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class CBitmap;
class CFrame;

// Implemented by the platform layer that the build links in (qvl_platform).

struct ResourceBytes {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

// A drawing back end writing into `target`'s pixels; null when the platform cannot make one.
std::unique_ptr<DrawDevice> createBitmapDrawDevice(CBitmap& target);
// A visible child window of `parentWindow` at (0, 0) with the frame's size; null when the
// parent is null or not a usable window.
std::unique_ptr<FrameWindow> createFrameWindow(CFrame& frame, void* parentWindow);
// The PNG image carried by the library under `resourceId`; empty when there is none.
ResourceBytes findResourcePng(int32_t resourceId);
// Milliseconds of a monotonic clock (wraps like a 32-bit tick counter).
uint32_t platformTickMs();
// The system's double-click time in milliseconds.
int32_t platformDoubleClickTimeMs();
