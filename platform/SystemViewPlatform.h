#pragma once

#include "views/ViewPlatform.h"

// This system's drawing, windows, module images and clock for the views: cairo and X11 on
// Linux, GDI+ and Win32 on Windows. One object for the whole process.
const ViewPlatform& systemViewPlatform();
