#pragma once

#include <cstdint>

// The window most recently placed inside `parentWindow` (the system's window handle as a number:
// an X11 Window id on Linux), or 0 when there is none or the window system cannot be reached.
// Hosts that embed a window want its id back. Only the X11 side has it: the one edition that
// asks runs only there.
uintptr_t newestChildWindow(uintptr_t parentWindow);
