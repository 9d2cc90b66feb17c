#pragma once

#include <cstdint>

// Translation of Win32 input state into the framework's flags (CButton) and key codes.

// `keyState` holds the MK_* flags that mouse messages carry (the buttons as the user set them
// up, already swapped for a left-handed mouse); alt is not among them.
int32_t buttonsFromWin32(uint32_t keyState, bool altDown);
// Wheel notches from a WM_MOUSEWHEEL delta (120 per notch, positive away from the user).
float wheelDistanceFromWin32(int16_t wheelDelta);
// Host key code for a Win32 virtual key: Escape gives 6, arrows 11..14; 0 for keys without one.
uint8_t virtualKeyFromWin32(uint32_t virtualKey);
// Host key modifier byte (bit 0 shift).
uint8_t keyModifiersFromWin32(bool shiftDown);
