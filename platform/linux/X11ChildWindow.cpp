#include "platform/ChildWindow.h"

#include <X11/Xlib.h>

uintptr_t newestChildWindow(uintptr_t parentWindow) {
    if (parentWindow == 0) return 0;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 0;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    uintptr_t newest = 0;
    // Children come bottom to top, and a new window is placed on top of its siblings.
    if (XQueryTree(display, static_cast<Window>(parentWindow), &root, &parent, &children, &count) &&
        count > 0)
        newest = children[count - 1];
    if (children) XFree(children);
    XCloseDisplay(display);
    return newest;
}
