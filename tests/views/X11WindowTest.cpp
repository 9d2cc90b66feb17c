// GoogleTest first: Xlib defines macros (None, Bool, Status) that clash with its templates.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/linux/X11Input.h"
#include "views/CDrawSurface.h"
#include "views/CFrame.h"
#include "views/CParamDisplay.h"
#include "views/FrameSnapshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <thread>

namespace {

constexpr int32_t kWidth = 200;
constexpr int32_t kHeight = 100;

void labelText(float, char* text) {
    std::snprintf(text, 16, "-24 dB");
}

// A frame with a background, a filled panel, a framed readout and a translucent overlay.
std::unique_ptr<CFrame> makeFrame() {
    auto frame = std::make_unique<CFrame>(CRect{0, 0, kWidth, kHeight}, nullptr);
    auto* background = new CBitmap(kWidth, kHeight);
    background->fill({30, 60, 90, 255});
    frame->setBackground(background);
    background->releaseRef();
    auto* readout = new CParamDisplay({20, 20, 120, 40});
    readout->setFrameColor({0, 204, 255, 255});
    readout->setFontColor({255, 200, 0, 255});
    readout->setTextFunction(labelText);
    frame->addView(readout);
    return frame;
}

struct XDisplayDeleter {
    void operator()(Display* d) const { XCloseDisplay(d); }
};

class X11WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X server (DISPLAY is not set)";
        display.reset(XOpenDisplay(nullptr));
        if (!display) GTEST_SKIP() << "cannot open the X display";
    }
    Window makeTopLevel() {
        Display* d = display.get();
        const Window w =
            XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, kWidth, kHeight, 0, 0, 0);
        XSelectInput(d, w, StructureNotifyMask);
        XMapWindow(d, w);
        XEvent event;
        do
            XNextEvent(d, &event);
        while (event.type != MapNotify);
        return w;
    }
    std::unique_ptr<Display, XDisplayDeleter> display;
};

} // namespace

TEST_F(X11WindowTest, OpenedFrameShowsExactlyTheHeadlessRendering) {
    const Window parent = makeTopLevel();
    auto frame = makeFrame();
    ASSERT_TRUE(frame->open(reinterpret_cast<void*>(static_cast<uintptr_t>(parent))));
    ASSERT_TRUE(frame->isOpen());
    // The child is mapped asynchronously; its exposure arrives through the idle pump.
    for (int i = 0; i < 20; ++i) {
        frame->idle();
        XSync(display.get(), False);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    const SharedRef<CBitmap> headless = renderFrame(*makeFrame());

    XImage* image = XGetImage(display.get(), parent, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    int differing = 0;
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x) {
            const unsigned long shown = XGetPixel(image, x, y) & 0xffffffu;
            differing += shown != (headless->pixelAt(x, y) & 0xffffffu);
        }
    XDestroyImage(image);
    EXPECT_EQ(differing, 0);
    frame->close();
    EXPECT_FALSE(frame->isOpen());
    XDestroyWindow(display.get(), parent);
}

// Embedding hosts (suil's wrappers, VST 2 hosts on X11) size their socket from these hints;
// hints left at an earlier, larger size keep the host's window large after a shrink. A minimum
// size would pin suil's GTK 2 wrapper (Ardour's) at the size the editor opened with.
TEST_F(X11WindowTest, TheWindowsSizeHintsFollowTheScaleDownAsWellAsUp) {
    const Window parent = makeTopLevel();
    auto frame = makeFrame();
    ASSERT_TRUE(frame->open(reinterpret_cast<void*>(static_cast<uintptr_t>(parent))));
    Window root = 0, parentOfChild = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display.get(), parent, &root, &parentOfChild, &children, &count);
    ASSERT_EQ(count, 1u);
    const Window child = children[0];
    XFree(children);

    for (const double scale : {1.0, 2.0, 1.5, 1.0}) {
        frame->setScale(scale);
        XSizeHints hints{};
        long supplied = 0;
        ASSERT_TRUE(XGetWMNormalHints(display.get(), child, &hints, &supplied));
        const int width = int(kWidth * scale), height = int(kHeight * scale);
        EXPECT_EQ(hints.flags & (PMinSize | PMaxSize | PBaseSize), PMaxSize | PBaseSize);
        EXPECT_EQ(hints.max_width, width) << scale;
        EXPECT_EQ(hints.base_width, width) << scale;
        EXPECT_EQ(hints.max_height, height) << scale;
        EXPECT_EQ(hints.base_height, height) << scale;
    }
    frame->close();
    XDestroyWindow(display.get(), parent);
}

namespace {

class PressCounter : public CView {
  public:
    explicit PressCounter(const CRect& size) : CView(size) {}
    CMouseResult onMouseDown(CPoint where, int32_t buttons) override {
        lastPoint = where;
        lastButtons = buttons;
        ++presses;
        return kMouseHandled;
    }
    CMouseResult onMouseUp(CPoint, int32_t) override {
        ++releases;
        return kMouseHandled;
    }
    bool onWheel(CPoint, float distance, int32_t) override {
        wheel += distance;
        return true;
    }
    CPoint lastPoint;
    int32_t lastButtons = 0;
    int presses = 0;
    int releases = 0;
    float wheel = 0;
};

Window onlyChildOf(Display* display, Window parent) {
    Window root = 0;
    Window parentOut = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, parent, &root, &parentOut, &children, &count);
    const Window child = count == 1 ? children[0] : 0;
    if (children) XFree(children);
    return child;
}

void sendButton(Display* display, Window window, int type, unsigned int button, unsigned int state,
                int x, int y) {
    XEvent event{};
    event.xbutton.type = type;
    event.xbutton.display = display;
    event.xbutton.window = window;
    event.xbutton.button = button;
    event.xbutton.state = state;
    event.xbutton.x = x;
    event.xbutton.y = y;
    event.xbutton.same_screen = True;
    XSendEvent(display, window, False, NoEventMask, &event);
}

} // namespace

TEST_F(X11WindowTest, MouseEventsReachTheViewsThroughTheIdlePump) {
    const Window parent = makeTopLevel();
    CFrame frame({0, 0, kWidth, kHeight}, nullptr);
    auto* target = new PressCounter({50, 20, 100, 60});
    frame.addView(target);
    ASSERT_TRUE(frame.open(reinterpret_cast<void*>(static_cast<uintptr_t>(parent))));
    const Window child = onlyChildOf(display.get(), parent);
    ASSERT_NE(child, 0u);

    sendButton(display.get(), child, ButtonPress, Button1, ShiftMask, 60, 30);
    sendButton(display.get(), child, ButtonRelease, Button1, Button1Mask | ShiftMask, 60, 30);
    sendButton(display.get(), child, ButtonPress, Button5, 0, 60, 30);
    XSync(display.get(), False);
    for (int i = 0; i < 10 && target->wheel == 0.0f; ++i) {
        frame.idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(target->presses, 1);
    EXPECT_EQ(target->releases, 1);
    EXPECT_EQ(target->lastPoint, (CPoint{60, 30}));
    EXPECT_EQ(target->lastButtons, kButtonLeft | kModShift);
    EXPECT_EQ(target->wheel, -1.0f);
    frame.close();
    XDestroyWindow(display.get(), parent);
}

TEST_F(X11WindowTest, NullParentFailsCleanly) {
    auto frame = makeFrame();
    EXPECT_FALSE(frame->open(nullptr));
    EXPECT_FALSE(frame->isOpen());
}

TEST_F(X11WindowTest, BogusWindowIdFailsCleanlyAndLeavesOtherConnectionsAlone) {
    auto frame = makeFrame();
    EXPECT_FALSE(frame->open(reinterpret_cast<void*>(uintptr_t{0x7ffffff0})));
    EXPECT_FALSE(frame->isOpen());
    frame->idle();
    // Our own connection still works afterwards.
    EXPECT_NE(XDefaultRootWindow(display.get()), 0u);
    XSync(display.get(), False);
}

TEST_F(X11WindowTest, ParentDestroyedBeforeCloseDoesNotAbort) {
    const Window parent = makeTopLevel();
    auto frame = makeFrame();
    ASSERT_TRUE(frame->open(reinterpret_cast<void*>(static_cast<uintptr_t>(parent))));
    XDestroyWindow(display.get(), parent);
    XSync(display.get(), False);
    frame->idle();
    frame->close();
    SUCCEED();
}

TEST(X11InputTest, ButtonsAndModifiersMapToFrameworkFlags) {
    struct Case {
        unsigned int state;
        unsigned int button;
        int32_t flags;
    };
    const Case cases[] = {
        {0, Button1, kButtonLeft},
        {0, Button3, kButtonRight},
        {0, Button2, kButtonMiddle},
        {ShiftMask, Button1, kButtonLeft | kModShift},
        {ControlMask, Button1, kButtonLeft | kModControl},
        {ControlMask | ShiftMask, Button1, kButtonLeft | kModShift | kModControl},
        {Mod1Mask, Button1, kButtonLeft | kModAlt},
        {Button1Mask, 0, kButtonLeft}, // motion while dragging
        {0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(buttonsFromX11(c.state, c.button), c.flags) << c.state << " " << c.button;
}

TEST(X11InputTest, WheelButtonsGiveOneNotchEach) {
    EXPECT_EQ(wheelDistanceFromX11(Button4), 1.0f);
    EXPECT_EQ(wheelDistanceFromX11(Button5), -1.0f);
    EXPECT_EQ(wheelDistanceFromX11(Button1), 0.0f);
}

TEST(X11InputTest, ArrowsAndEscapeGetTheHostKeyCodes) {
    EXPECT_EQ(virtualKeyFromX11(XK_Escape), 6);
    EXPECT_EQ(virtualKeyFromX11(XK_Left), kKeyLeft);
    EXPECT_EQ(virtualKeyFromX11(XK_Up), kKeyUp);
    EXPECT_EQ(virtualKeyFromX11(XK_Right), kKeyRight);
    EXPECT_EQ(virtualKeyFromX11(XK_Down), kKeyDown);
    EXPECT_EQ(virtualKeyFromX11(XK_a), 0);
    EXPECT_EQ(keyModifiersFromX11(ShiftMask), kKeyModifierShift);
    EXPECT_EQ(keyModifiersFromX11(ControlMask), 0);
}
