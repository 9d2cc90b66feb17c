#pragma once

#include <cstdint>

// The X11 window most recently placed inside `parentWindow` (an X11 Window id), or 0 when
// there is none or no display can be opened. Hosts that embed a window want its id back.
uintptr_t newestChildWindow(uintptr_t parentWindow);
