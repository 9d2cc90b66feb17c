#pragma once

#include <windows.h>

// Calls `tick(context)` every `periodMs` on the thread that owns `window`, while that thread
// dispatches its messages: the idle of an editor whose host lends it no timer. The timer lives
// on the host's window, told apart from the host's own timers by this object's address.
class Win32WindowTimer {
  public:
    using Tick = void (*)(void* context);

    Win32WindowTimer(HWND window, UINT periodMs, Tick tick, void* context);
    ~Win32WindowTimer();
    Win32WindowTimer(const Win32WindowTimer&) = delete;
    Win32WindowTimer& operator=(const Win32WindowTimer&) = delete;

    // False when Windows refused the timer: not a window of this thread, or no timers left.
    bool running() const { return running_; }

  private:
    static void CALLBACK onTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

    HWND window_;
    Tick tick_;
    void* context_;
    bool running_ = false;
};
