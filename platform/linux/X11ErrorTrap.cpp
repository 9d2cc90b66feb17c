#include "platform/linux/X11ErrorTrap.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<Display*> ourDisplays;
int trapDepth = 0;
bool trappedError = false;
XErrorHandler previousHandler = nullptr;

int trapHandler(Display* display, XErrorEvent* error) {
    if (std::find(ourDisplays.begin(), ourDisplays.end(), display) != ourDisplays.end()) {
        trappedError = true;
        return 0;
    }
    return previousHandler ? previousHandler(display, error) : 0;
}

} // namespace

Display* openOurDisplay() {
    Display* display = XOpenDisplay(nullptr);
    if (display) ourDisplays.push_back(display);
    return display;
}

void closeOurDisplay(Display* display) {
    ourDisplays.erase(std::remove(ourDisplays.begin(), ourDisplays.end(), display),
                      ourDisplays.end());
    XCloseDisplay(display);
}

ErrorTrap::ErrorTrap(Display* display) : display_(display) {
    if (trapDepth++ == 0) previousHandler = XSetErrorHandler(trapHandler);
    trappedError = false;
}

ErrorTrap::~ErrorTrap() {
    XSync(display_, False);
    if (--trapDepth == 0) XSetErrorHandler(previousHandler);
}

bool ErrorTrap::failed() {
    XSync(display_, False);
    return trappedError;
}
