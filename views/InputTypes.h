#pragma once

#include <cstdint>

// Mouse buttons and modifiers, one flag set per event.
enum CButton : int32_t {
    kButtonLeft = 0x2,
    kButtonMiddle = 0x4,
    kButtonRight = 0x8,
    kModShift = 0x10,
    kModControl = 0x20,
    kModAlt = 0x40,
};

enum CMouseResult : int32_t {
    kMouseNotImplemented = 0,
    kMouseHandled = 1,
    kMouseNotHandled = 2,
    kMouseHandledNoTracking = 3,
};

// Key event as the host key interface delivers it.
struct CKeyCode {
    int32_t character = 0;
    uint8_t virtualKey = 0;
    uint8_t modifiers = 0; // bit 0: shift
};

enum CVirtualKey : uint8_t {
    kKeyEscape = 6,
    kKeyLeft = 11,
    kKeyUp = 12,
    kKeyRight = 13,
    kKeyDown = 14,
};

constexpr uint8_t kKeyModifierShift = 0x1;

// Key handler answers.
constexpr int32_t kKeyUsed = 1;
constexpr int32_t kKeyNotUsed = -1;

// Knob modes the host may set; the film-strip knob drags linearly only in kLinearMode.
enum CKnobMode : int32_t {
    kCircularMode = 0,
    kRelativeCircularMode = 1,
    kLinearMode = 2,
};
