#include "ParentWindow.h"

Window openParentWindow(Display* display, int width, int height) {
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0,
                                              unsigned(width), unsigned(height), 0, 0, 0);
    XSelectInput(display, window, StructureNotifyMask);
    XMapRaised(display, window);
    XEvent e;
    do
        XNextEvent(display, &e);
    while (e.type != MapNotify);
    return window;
}
