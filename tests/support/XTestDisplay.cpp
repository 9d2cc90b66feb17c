#include "XTestDisplay.h"

#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// An X server resets when its last client leaves (a test program that ran just before, for
// one) and refuses connections for that moment, so opening tries again for a while.
Display* connect() {
    Display* d = XOpenDisplay(nullptr);
    for (int attempt = 0; !d && attempt < 100; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        d = XOpenDisplay(nullptr);
    }
    return d;
}

} // namespace

XDisplayPtr openXTestDisplay(std::string& whyNot) {
    if (!std::getenv("DISPLAY")) {
        whyNot = "no X server (DISPLAY is not set)";
        return nullptr;
    }
    XDisplayPtr display(connect());
    if (!display) {
        whyNot = "cannot open the X display";
        return nullptr;
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display.get(), &event, &error, &major, &minor)) {
        whyNot = "the X server has no XTest extension";
        return nullptr;
    }
    return display;
}

Display* sharedXTestDisplay(std::string& whyNot) {
    static std::string sharedWhyNot;
    static Display* display = openXTestDisplay(sharedWhyNot).release();
    whyNot = sharedWhyNot;
    return display;
}

void movePointer(Display* display, Window window, int x, int y) {
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
    XSync(display, False);
}

void pressButton(Display* display, unsigned button, bool down) {
    XTestFakeButtonEvent(display, button, down ? True : False, CurrentTime);
    XSync(display, False);
}

void typeKey(Display* display, KeySym keysym) {
    const KeyCode key = XKeysymToKeycode(display, keysym);
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    XSync(display, False);
}
