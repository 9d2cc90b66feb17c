#pragma once

#include <X11/Xlib.h>

// X reports errors asynchronously through one process-wide handler. While we talk to the
// server we catch the errors of our own connections (a bad or vanished window of the host's
// must not abort the host) and pass every other connection's errors on to the handler that was
// there before. The handler is ours only for the duration of our calls: a host may set its own.

// A connection whose errors the trap catches; null when no display can be opened.
Display* openOurDisplay();
void closeOurDisplay(Display* display);

// Nested traps (an input handler that reaches another of our windows) keep the first
// installation, so the previous handler is never lost.
class ErrorTrap {
  public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // True when a request on our connections failed since the trap was set.
    bool failed();

  private:
    Display* display_;
};
