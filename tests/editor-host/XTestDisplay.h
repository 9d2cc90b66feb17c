#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdlib>
#include <memory>
#include <string>

struct XDisplayDeleter {
    void operator()(Display* d) const { XCloseDisplay(d); }
};
using XDisplayPtr = std::unique_ptr<Display, XDisplayDeleter>;

// The X display that the tests drive with synthetic input, or null with the reason in whyNot
// where there is none (the tests then skip themselves).
inline XDisplayPtr openXTestDisplay(std::string& whyNot) {
    if (!std::getenv("DISPLAY")) {
        whyNot = "no X server (DISPLAY is not set)";
        return nullptr;
    }
    XDisplayPtr display(XOpenDisplay(nullptr));
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
