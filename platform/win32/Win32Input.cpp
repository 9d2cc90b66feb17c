#include "platform/win32/Win32Input.h"

#include "views/InputTypes.h"

#include <windows.h>

int32_t buttonsFromWin32(uint32_t keyState, bool altDown) {
    int32_t flags = 0;
    if (keyState & MK_LBUTTON) flags |= kButtonLeft;
    if (keyState & MK_MBUTTON) flags |= kButtonMiddle;
    if (keyState & MK_RBUTTON) flags |= kButtonRight;
    if (keyState & MK_SHIFT) flags |= kModShift;
    if (keyState & MK_CONTROL) flags |= kModControl;
    if (altDown) flags |= kModAlt;
    return flags;
}

float wheelDistanceFromWin32(int16_t wheelDelta) {
    return static_cast<float>(wheelDelta) / static_cast<float>(WHEEL_DELTA);
}

uint8_t virtualKeyFromWin32(uint32_t virtualKey) {
    switch (virtualKey) {
    case VK_ESCAPE:
        return kKeyEscape;
    case VK_LEFT:
        return kKeyLeft;
    case VK_UP:
        return kKeyUp;
    case VK_RIGHT:
        return kKeyRight;
    case VK_DOWN:
        return kKeyDown;
    default:
        return 0;
    }
}

uint8_t keyModifiersFromWin32(bool shiftDown) {
    return shiftDown ? kKeyModifierShift : uint8_t{0};
}
