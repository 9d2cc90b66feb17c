#include "platform/win32/Win32Input.h"
#include "views/InputTypes.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(Win32InputTest, MouseKeyStateBecomesTheFrameworksFlags) {
    const struct {
        uint32_t keyState;
        bool alt;
        int32_t flags;
    } cases[] = {
        {0, false, 0},
        {MK_LBUTTON, false, 0x2},
        {MK_MBUTTON, false, 0x4},
        {MK_RBUTTON, false, 0x8},
        {MK_SHIFT, false, 0x10},
        {MK_CONTROL, false, 0x20},
        {0, true, 0x40},
        {MK_LBUTTON | MK_CONTROL, false, 0x22}, // the reset gesture: exactly control + left
        {MK_LBUTTON | MK_SHIFT | MK_CONTROL, true, 0x72},
        {MK_LBUTTON | MK_RBUTTON | MK_MBUTTON, false, 0xE},
        {MK_XBUTTON1 | MK_XBUTTON2, false, 0}, // the side buttons mean nothing here
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "keyState " << c.keyState << " alt " << c.alt);
        EXPECT_EQ(buttonsFromWin32(c.keyState, c.alt), c.flags);
    }
}

TEST(Win32InputTest, WheelDeltaCountsNotchesOf120) {
    EXPECT_EQ(wheelDistanceFromWin32(120), 1.0f);
    EXPECT_EQ(wheelDistanceFromWin32(-120), -1.0f);
    EXPECT_EQ(wheelDistanceFromWin32(360), 3.0f);
    EXPECT_EQ(wheelDistanceFromWin32(60), 0.5f); // high-resolution wheels send parts of a notch
    EXPECT_EQ(wheelDistanceFromWin32(0), 0.0f);
}

TEST(Win32InputTest, ArrowsAndEscapeGetTheHostKeyCodes) {
    const struct {
        uint32_t virtualKey;
        uint8_t hostKey;
    } cases[] = {{VK_LEFT, 11},  {VK_UP, 12}, {VK_RIGHT, 13}, {VK_DOWN, 14}, {VK_ESCAPE, 6},
                 {VK_RETURN, 0}, {'A', 0},    {VK_SHIFT, 0},  {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.virtualKey);
        EXPECT_EQ(virtualKeyFromWin32(c.virtualKey), c.hostKey);
    }
}

TEST(Win32InputTest, ShiftIsBitZeroOfTheKeyModifiers) {
    EXPECT_EQ(keyModifiersFromWin32(true), 1);
    EXPECT_EQ(keyModifiersFromWin32(false), 0);
}
