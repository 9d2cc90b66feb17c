#pragma once

#include <cstdint>

// Translation of X11 input state into the framework's flags (CButton) and key codes.

// `state` is the X modifier/button mask of the event; `pressedButton` is the X button number
// of a press or release (0 for motion), which the mask does not yet (or no longer) hold.
int32_t buttonsFromX11(unsigned int state, unsigned int pressedButton);
// Wheel notches for X buttons 4 (up, +1) and 5 (down, -1); 0 for any other button.
float wheelDistanceFromX11(unsigned int button);
// Host key code for an X keysym: Escape gives 6, arrows 11..14; 0 for keys without one.
uint8_t virtualKeyFromX11(unsigned long keysym);
// Host key modifier byte (bit 0 shift) from the X mask.
uint8_t keyModifiersFromX11(unsigned int state);
