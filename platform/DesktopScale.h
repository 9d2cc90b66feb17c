#pragma once

#include "views/CGeometry.h"

#include <string>
#include <vector>

// What the desktop says about its display scale for a window inside `parentWindow` (an X11
// Window id on Linux, an HWND on Windows; null: the main display), as factors (1.0 = 96 DPI),
// most authoritative first. Empty when the desktop says nothing. Values are passed on as
// read: the caller decides which are usable.
std::vector<double> desktopScaleFactors(void* parentWindow);

// The size of the monitor that shows `parentWindow` (on Windows its work area, without the task
// bar), in device pixels at (0, 0); empty when the system does not say.
CRect desktopScreenArea(void* parentWindow);

// The file that keeps this user's editor settings (UTF-8 path); empty when the system names
// no place for it.
std::string userSettingsFile();
