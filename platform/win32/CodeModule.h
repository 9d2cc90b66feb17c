#pragma once

#include <windows.h>

// The module that carries this code, its images and its window class: the handle DllMain
// stored in the plug-in; in a program that links the layer directly (tests), that program.
HMODULE codeModule();
