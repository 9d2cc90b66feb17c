#pragma once

#include "editor/AboutCard.h"

#include <cstdint>
#include <functional>

class CFrame;

// What the editor takes from the system, replaceable so that tests and the snapshot tool run
// it with their own clock, without a browser and without a display.
struct EditorServices {
    // Milliseconds, wrapping like a 32-bit tick counter.
    std::function<uint32_t()> tickMs;
    UrlOpener openUrl;
    // Gives the frame its system window inside the host's parent window; false on failure.
    std::function<bool(CFrame& frame, void* parentWindow)> openWindow;
};

// The platform's clock, browser and windows.
EditorServices platformEditorServices();
