#pragma once

#include <X11/Xlib.h>

// A top-level window of the given size, mapped and shown, as a host makes one for a plug-in's
// editor to open in.
Window openParentWindow(Display* display, int width, int height);
