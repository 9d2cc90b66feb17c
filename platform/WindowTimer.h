#pragma once

#include <memory>

// A timer on a host's window, for an editor whose host lends it none (Windows hosts of VST 3
// views): it calls `tick(context)` every `periodMs` on the thread that owns the window, while
// that thread dispatches its messages, until it is destroyed.
class WindowTimer {
  public:
    using Tick = void (*)(void* context);
    virtual ~WindowTimer() = default;
};

// Starts a timer on `window` (an HWND); null when Windows refuses it (not a window of this
// thread, no timers left). Windows only: on Linux the host's run loop serves instead.
std::unique_ptr<WindowTimer> startWindowTimer(void* window, unsigned periodMs,
                                              WindowTimer::Tick tick, void* context);
