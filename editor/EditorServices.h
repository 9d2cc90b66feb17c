#pragma once

#include "editor/AboutCard.h"
#include "views/CGeometry.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CFrame;

// What the editor takes from the system, replaceable so that tests and the snapshot tool run
// it with their own clock, without a browser and without a display.
struct EditorServices {
    // Milliseconds, wrapping like a 32-bit tick counter.
    std::function<uint32_t()> tickMs;
    UrlOpener openUrl;
    // Gives the frame its system window inside the host's parent window; false on failure.
    std::function<bool(CFrame& frame, void* parentWindow)> openWindow;
    // The desktop's display scale factors for a window in `parentWindow`, most authoritative
    // first (none: the desktop says nothing).
    std::function<std::vector<double>(void* parentWindow)> desktopScale;
    // The screen a window in `parentWindow` is shown on, in device pixels (empty: unknown).
    std::function<CRect(void* parentWindow)> screenArea;
    // The user's settings file (empty: the user's choice of scale is neither read nor kept).
    std::string settingsFile;
};
