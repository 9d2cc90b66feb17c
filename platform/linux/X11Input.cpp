#include "platform/linux/X11Input.h"

#include "views/InputTypes.h"

#include <X11/X.h>
#include <X11/keysym.h>

int32_t buttonsFromX11(unsigned int state, unsigned int pressedButton) {
    int32_t flags = 0;
    if ((state & Button1Mask) || pressedButton == Button1) flags |= kButtonLeft;
    if ((state & Button2Mask) || pressedButton == Button2) flags |= kButtonMiddle;
    if ((state & Button3Mask) || pressedButton == Button3) flags |= kButtonRight;
    if (state & ShiftMask) flags |= kModShift;
    if (state & ControlMask) flags |= kModControl;
    if (state & Mod1Mask) flags |= kModAlt;
    return flags;
}

float wheelDistanceFromX11(unsigned int button) {
    if (button == Button4) return 1.0f;
    if (button == Button5) return -1.0f;
    return 0.0f;
}

uint8_t virtualKeyFromX11(unsigned long keysym) {
    switch (keysym) {
    case XK_Escape:
        return kKeyEscape;
    case XK_Left:
    case XK_KP_Left:
        return kKeyLeft;
    case XK_Up:
    case XK_KP_Up:
        return kKeyUp;
    case XK_Right:
    case XK_KP_Right:
        return kKeyRight;
    case XK_Down:
    case XK_KP_Down:
        return kKeyDown;
    default:
        return 0;
    }
}

uint8_t keyModifiersFromX11(unsigned int state) {
    return (state & ShiftMask) ? kKeyModifierShift : uint8_t{0};
}
