#include "platform/win32/Win32WindowTimer.h"

Win32WindowTimer::Win32WindowTimer(HWND window, UINT periodMs, Tick tick, void* context)
    : window_(window), tick_(tick), context_(context) {
    running_ = tick_ && IsWindow(window_) &&
               SetTimer(window_, reinterpret_cast<UINT_PTR>(this), periodMs, &onTimer) != 0;
}

// KillTimer also drops the timer's messages still queued, so no tick arrives after this.
Win32WindowTimer::~Win32WindowTimer() {
    if (running_) KillTimer(window_, reinterpret_cast<UINT_PTR>(this));
}

void CALLBACK Win32WindowTimer::onTimer(HWND, UINT, UINT_PTR id, DWORD) {
    const auto* timer = reinterpret_cast<const Win32WindowTimer*>(id);
    timer->tick_(timer->context_);
}
