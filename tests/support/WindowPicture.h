#pragma once

#include "Picture.h"

#include <X11/Xlib.h>

// What the top-left `width` x `height` pixels of a window show now; empty if the server cannot
// say.
Picture windowPicture(Display* display, Window window, int width, int height);
