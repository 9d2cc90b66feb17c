#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <string>

struct XDisplayDeleter {
    void operator()(Display* d) const { XCloseDisplay(d); }
};
using XDisplayPtr = std::unique_ptr<Display, XDisplayDeleter>;

// The X display that the tests drive with synthetic input, or null with the reason in whyNot
// where there is none (the tests then skip themselves).
XDisplayPtr openXTestDisplay(std::string& whyNot);

// One such display for the whole program, opened on the first call and never closed: for
// editors that must outlive a test's own connection.
Display* sharedXTestDisplay(std::string& whyNot);

// The pointer moved to (x, y) of `window`, and a button pressed or released, as a user would.
void movePointer(Display* display, Window window, int x, int y);
void pressButton(Display* display, unsigned button, bool down);
// The key of `keysym` pressed and released, to whichever window the X server gives it.
void typeKey(Display* display, KeySym keysym);
