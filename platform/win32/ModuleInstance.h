#pragma once

#include <windows.h>

// The instance handle Windows gave this library when it loaded it: image resources are loaded
// from it and the editor's window class is registered with it. Null until the library is
// attached to a process.
HINSTANCE moduleInstance();
