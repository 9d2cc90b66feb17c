// Mouse, wheel and keys sent to the frame's child window reach the views by the framework's
// routing rules, with the mouse captured for a drag.
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "views/CFrame.h"
#include "views/COnOffButton.h"
#include "views/InputTypes.h"

#include <gtest/gtest.h>

namespace {

class FrameWindowInputTest : public testing::Test {
  protected:
    void SetUp() override {
        probe = new ProbeView({20, 10, 80, 40}, kColorRed);
        frame.addView(probe);
        ASSERT_TRUE(frame.open(host.handle()));
        child = host.child();
        ASSERT_NE(child, nullptr);
    }

    LRESULT send(UINT message, WPARAM wParam, int x, int y) {
        return SendMessageW(child, message, wParam, clientPoint(x, y));
    }

    HostWindow host{300, 200};
    Recorder recorder;
    CFrame frame{{0, 0, 200, 100}, &recorder};
    ProbeView* probe = nullptr; // owned by the frame
    HWND child = nullptr;
};

} // namespace

TEST_F(FrameWindowInputTest, PressMovesAndReleaseReachTheViewUnderThePress) {
    send(WM_LBUTTONDOWN, MK_LBUTTON, 30, 20);
    EXPECT_EQ(GetCapture(), child);          // the drag keeps the mouse
    send(WM_MOUSEMOVE, MK_LBUTTON, 250, -5); // beyond the window: still the same view
    send(WM_LBUTTONUP, 0, 260, -6);
    EXPECT_EQ(GetCapture(), nullptr);
    ASSERT_EQ(probe->events.size(), 3u);
    EXPECT_EQ(probe->events[0].kind, "down");
    EXPECT_EQ(probe->events[0].where, (CPoint{30, 20}));
    EXPECT_EQ(probe->events[0].buttons, kButtonLeft);
    EXPECT_EQ(probe->events[1].kind, "move");
    EXPECT_EQ(probe->events[1].where, (CPoint{250, -5}));
    EXPECT_EQ(probe->events[1].buttons, kButtonLeft);
    EXPECT_EQ(probe->events[2].kind, "up");
    EXPECT_EQ(probe->events[2].where, (CPoint{260, -6}));
}

TEST_F(FrameWindowInputTest, PressOutsideEveryViewGoesNowhereAndTakesNoCapture) {
    send(WM_LBUTTONDOWN, MK_LBUTTON, 150, 80);
    EXPECT_EQ(GetCapture(), nullptr);
    send(WM_MOUSEMOVE, MK_LBUTTON, 30, 20);
    send(WM_LBUTTONUP, 0, 30, 20);
    EXPECT_TRUE(probe->events.empty());
}

TEST_F(FrameWindowInputTest, ButtonsAndModifiersArriveAsFlags) {
    const struct {
        UINT message;
        WPARAM keyState;
        int32_t flags;
    } presses[] = {
        {WM_RBUTTONDOWN, MK_RBUTTON, kButtonRight},
        {WM_MBUTTONDOWN, MK_MBUTTON, kButtonMiddle},
        {WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, kButtonLeft | kModControl},
        {WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, kButtonLeft | kModShift | kModControl},
        // Double clicks are presses too; the controls time them themselves.
        {WM_LBUTTONDBLCLK, MK_LBUTTON, kButtonLeft},
    };
    for (const auto& press : presses) {
        SCOPED_TRACE(press.flags);
        probe->events.clear();
        send(press.message, press.keyState, 40, 30);
        send(WM_LBUTTONUP, 0, 40, 30);
        ASSERT_FALSE(probe->events.empty());
        EXPECT_EQ(probe->events[0].kind, "down");
        EXPECT_EQ(probe->events[0].buttons, press.flags);
    }
}

TEST_F(FrameWindowInputTest, LosingTheMouseToAnotherWindowEndsTheDrag) {
    send(WM_LBUTTONDOWN, MK_LBUTTON, 30, 20);
    send(WM_MOUSEMOVE, MK_LBUTTON, 35, 22);
    ASSERT_EQ(GetCapture(), child);
    SetCapture(host.handle());
    ASSERT_EQ(probe->events.size(), 3u);
    EXPECT_EQ(probe->events[2].kind, "up");
    EXPECT_EQ(probe->events[2].where, (CPoint{35, 22}));
    EXPECT_EQ(frame.getMouseCaptureView(), nullptr);
    ReleaseCapture();
    send(WM_MOUSEMOVE, MK_LBUTTON, 40, 25); // no longer a drag
    EXPECT_EQ(probe->events.size(), 3u);
}

TEST_F(FrameWindowInputTest, APopupKeepsTheMouseUntilAPressOutsideOrAnotherWindowTakesIt) {
    auto* menu = new ProbeView({0, 0, 200, 100}, kColorBlue);
    ASSERT_TRUE(frame.setPopupOverlay(menu));
    EXPECT_EQ(GetCapture(), child);
    send(WM_RBUTTONUP, 0, 30, 20); // the right button that opened it comes up
    EXPECT_EQ(GetCapture(), child);
    send(WM_LBUTTONDOWN, MK_LBUTTON, 250, 150); // beside the editor, in the host's window
    EXPECT_EQ(frame.getModalOverlay(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    send(WM_LBUTTONUP, 0, 250, 150);
    EXPECT_TRUE(menu->events.empty());

    ASSERT_TRUE(frame.setPopupOverlay(menu));
    SetCapture(host.handle()); // another program came to the front, say
    EXPECT_EQ(frame.getModalOverlay(), nullptr);
    ReleaseCapture();
    menu->releaseRef();
}

// Escape must reach an open popup wherever the host's keyboard focus was: the popup takes the
// focus and gives it back to the host's window when it closes.
TEST_F(FrameWindowInputTest, APopupTakesTheKeysAndGivesTheFocusBack) {
    SetFocus(host.handle());
    auto* menu = new ProbeView({0, 0, 200, 100}, kColorBlue);
    ASSERT_TRUE(frame.setPopupOverlay(menu));
    EXPECT_EQ(GetFocus(), child);
    SendMessageW(child, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_EQ(menu->events.size(), 1u);
    EXPECT_EQ(menu->events[0].kind, "keyDown");
    EXPECT_EQ(menu->events[0].virtualKey, 6);
    EXPECT_TRUE(probe->events.empty());
    frame.setModalOverlay(nullptr);
    EXPECT_EQ(GetFocus(), host.handle());
    EXPECT_EQ(GetCapture(), nullptr);
    menu->releaseRef();
}

TEST_F(FrameWindowInputTest, WheelUsesScreenCoordinatesAndNotches) {
    POINT screen{50, 30};
    ClientToScreen(child, &screen);
    SendMessageW(child, WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-240)),
                 MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
    ASSERT_EQ(probe->events.size(), 1u);
    EXPECT_EQ(probe->events[0].kind, "wheel");
    EXPECT_EQ(probe->events[0].where, (CPoint{50, 30}));
    EXPECT_EQ(probe->events[0].distance, -2.0f);
    EXPECT_EQ(probe->events[0].buttons, kModShift);
}

TEST_F(FrameWindowInputTest, ArrowKeysGoToTheFocusView) {
    frame.setFocusView(probe);
    EXPECT_EQ(SendMessageW(child, WM_KEYDOWN, VK_UP, 0), 0);
    SendMessageW(child, WM_KEYUP, VK_UP, 0);
    SendMessageW(child, WM_KEYDOWN, 'Q', 0); // no host key code: not used
    ASSERT_EQ(probe->events.size(), 3u);
    EXPECT_EQ(probe->events[0].kind, "keyDown");
    EXPECT_EQ(probe->events[0].virtualKey, kKeyUp);
    EXPECT_EQ(probe->events[1].kind, "keyUp");
    EXPECT_EQ(probe->events[1].virtualKey, kKeyUp);
    EXPECT_EQ(probe->events[2].virtualKey, 0);
}

TEST_F(FrameWindowInputTest, OnlyTheLastAddedOfOverlappingViewsGetsThePress) {
    auto* top = new ProbeView({50, 20, 120, 60}, kColorBlue, kMouseNotHandled);
    frame.addView(top);
    send(WM_LBUTTONDOWN, MK_LBUTTON, 60, 30); // inside both
    send(WM_LBUTTONUP, 0, 60, 30);
    ASSERT_EQ(top->events.size(), 1u); // not handled: no capture, so no release either
    EXPECT_EQ(top->events[0].kind, "down");
    EXPECT_TRUE(probe->events.empty());
}

TEST_F(FrameWindowInputTest, ButtonClickChangesItsValueAndTellsTheListener) {
    auto* button = new COnOffButton({120, 10, 150, 35}, &recorder, 7, nullptr);
    frame.addView(button);
    send(WM_LBUTTONDOWN, MK_LBUTTON, 130, 20);
    send(WM_LBUTTONUP, 0, 130, 20);
    EXPECT_EQ(button->getValue(), 1.0f);
    EXPECT_EQ(recorder.changedValues, (std::vector<float>{1.0f}));
    EXPECT_EQ(GetCapture(), nullptr); // a button takes no capture
    send(WM_LBUTTONDOWN, MK_LBUTTON, 130, 20);
    send(WM_LBUTTONUP, 0, 130, 20);
    EXPECT_EQ(button->getValue(), 0.0f);
    EXPECT_EQ(recorder.changedValues, (std::vector<float>{1.0f, 0.0f}));
    // The right button does not switch it.
    send(WM_RBUTTONDOWN, MK_RBUTTON, 130, 20);
    EXPECT_EQ(button->getValue(), 0.0f);
}

// Real input through the system's queue, as a user's mouse makes it.
TEST_F(FrameWindowInputTest, SystemMouseInputReachesTheView) {
    // System input goes to whichever window is under the pointer. Other test programs running
    // at the same time open their windows at the screen's top-left corner, so this one moves
    // clear of them and stays on top.
    SetWindowPos(host.handle(), HWND_TOPMOST, 700, 540, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    pumpMessages();
    POINT screen{40, 25};
    ClientToScreen(child, &screen);
    SetCursorPos(screen.x, screen.y);
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
    for (int i = 0; i < 50 && probe->events.size() < 2; ++i) {
        pumpMessages();
        Sleep(10);
    }
    ASSERT_GE(probe->events.size(), 2u);
    EXPECT_EQ(probe->events.front().kind, "down");
    EXPECT_EQ(probe->events.front().where, (CPoint{40, 25}));
    EXPECT_EQ(probe->events.back().kind, "up");
}
