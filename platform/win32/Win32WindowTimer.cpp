#include "platform/WindowTimer.h"

#include <windows.h>

#include <new>

namespace {

// The timer lives on the host's window, told apart from the host's own timers by this
// object's address.
class Win32WindowTimer final : public WindowTimer {
  public:
    Win32WindowTimer(HWND window, Tick tick, void* context)
        : window_(window), tick_(tick), context_(context) {}
    // KillTimer also drops the timer's messages still queued, so no tick arrives after this.
    ~Win32WindowTimer() override {
        if (running_) KillTimer(window_, reinterpret_cast<UINT_PTR>(this));
    }
    Win32WindowTimer(const Win32WindowTimer&) = delete;
    Win32WindowTimer& operator=(const Win32WindowTimer&) = delete;

    bool start(UINT periodMs) {
        running_ = tick_ && IsWindow(window_) &&
                   SetTimer(window_, reinterpret_cast<UINT_PTR>(this), periodMs, &onTimer) != 0;
        return running_;
    }

  private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD) {
        const auto* timer = reinterpret_cast<const Win32WindowTimer*>(id);
        timer->tick_(timer->context_);
    }

    HWND window_;
    Tick tick_;
    void* context_;
    bool running_ = false;
};

} // namespace

std::unique_ptr<WindowTimer> startWindowTimer(void* window, unsigned periodMs,
                                              WindowTimer::Tick tick, void* context) {
    auto timer = std::unique_ptr<Win32WindowTimer>(
        new (std::nothrow) Win32WindowTimer(static_cast<HWND>(window), tick, context));
    if (!timer || !timer->start(periodMs)) return nullptr;
    return timer;
}
