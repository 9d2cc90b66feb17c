// The screen the editor measures itself against is the monitor that holds the host's window,
// as RandR reports the desktop's monitors. The test splits the X screen into two monitors side
// by side, as a desktop of two screens does, and puts them back afterwards.

// GoogleTest first: Xlib defines macros (None, Bool, Status) that clash with its templates.
#include <gtest/gtest.h>

#include "platform/DesktopScale.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void* asParent(Window window) {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
}

class DesktopScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X server (DISPLAY is not set)";
        display = XOpenDisplay(nullptr);
        if (!display) GTEST_SKIP() << "cannot open the X display";
        int event = 0, error = 0, major = 0, minor = 0;
        if (!XRRQueryExtension(display, &event, &error) ||
            !XRRQueryVersion(display, &major, &minor) || major * 100 + minor < 105)
            GTEST_SKIP() << "the X server has no RandR 1.5 monitors";
        const int screen = DefaultScreen(display);
        width = DisplayWidth(display, screen);
        height = DisplayHeight(display, screen);
    }

    void TearDown() override {
        if (!display) return;
        for (Atom name : made)
            XRRDeleteMonitor(display, DefaultRootWindow(display), name);
        for (Window w : windows)
            XDestroyWindow(display, w);
        XCloseDisplay(display);
    }

    // A monitor named `name` at x..x+w; the first one takes over the screen's output, so that
    // only the two made here remain.
    void makeMonitor(const char* name, int x, int w, bool takesOutput) {
        const Window root = DefaultRootWindow(display);
        XRRScreenResources* resources = XRRGetScreenResources(display, root);
        ASSERT_NE(resources, nullptr);
        ASSERT_GT(resources->noutput, 0);
        XRRMonitorInfo* monitor = XRRAllocateMonitor(display, takesOutput ? 1 : 0);
        monitor->name = XInternAtom(display, name, False);
        monitor->x = x;
        monitor->y = 0;
        monitor->width = w;
        monitor->height = height;
        monitor->mwidth = w / 4;
        monitor->mheight = height / 4;
        if (takesOutput) monitor->outputs[0] = resources->outputs[0];
        XRRSetMonitor(display, root, monitor);
        made.push_back(monitor->name);
        XRRFreeMonitors(monitor);
        XRRFreeScreenResources(resources);
        XSync(display, False);
    }

    Window windowAt(int x) {
        const Window w =
            XCreateSimpleWindow(display, DefaultRootWindow(display), x, 10, 100, 100, 0, 0, 0);
        windows.push_back(w);
        XSync(display, False);
        return w;
    }

    Display* display = nullptr;
    int width = 0, height = 0;
    std::vector<Atom> made;
    std::vector<Window> windows;
};

TEST_F(DesktopScreenTest, TheMonitorHoldingTheHostsWindowIsTheScreen) {
    const int leftWidth = width / 2;
    makeMonitor("QVL-TEST-LEFT", 0, leftWidth, true);
    makeMonitor("QVL-TEST-RIGHT", leftWidth, width - leftWidth, false);

    EXPECT_EQ(desktopScreenArea(asParent(windowAt(20))), (CRect{0, 0, leftWidth, height}));
    EXPECT_EQ(desktopScreenArea(asParent(windowAt(leftWidth + 20))),
              (CRect{0, 0, width - leftWidth, height}));
}

TEST_F(DesktopScreenTest, AnUnknownWindowGetsAUsableAnswerAndDoesNotAbort) {
    const CRect area = desktopScreenArea(asParent(0x7ffffff0));
    EXPECT_GT(area.width(), 0);
    EXPECT_LE(area.width(), width);
    EXPECT_GT(area.height(), 0);
    EXPECT_LE(area.height(), height);
}

} // namespace
