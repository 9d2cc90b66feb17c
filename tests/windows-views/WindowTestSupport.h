#pragma once

#include "views/CBitmap.h"
#include "views/CView.h"

#include <windows.h>

#include <string>
#include <vector>

// A visible top-level window standing in for the host's editor window.
class HostWindow {
  public:
    HostWindow(int width, int height);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND handle() const { return window_; }
    // The frame's child window inside it (the only child), or null.
    HWND child() const;

  private:
    HWND window_ = nullptr;
};

// Handles every pending message of this thread, as the host's loop would.
void pumpMessages();

// The pixels that `window` shows, read back through a BitBlt from its window DC, as
// opaque premultiplied pixels (alpha 255).
SharedRef<CBitmap> captureWindow(HWND window, int width, int height);

// A view that fills itself with one colour and records what reaches it.
class ProbeView : public CView {
  public:
    ProbeView(const CRect& size, CColor color, CMouseResult pressAnswer = kMouseHandled);

    void draw(CDrawSurface& surface) override;
    CMouseResult onMouseDown(CPoint where, int32_t buttons) override;
    CMouseResult onMouseUp(CPoint where, int32_t buttons) override;
    CMouseResult onMouseMoved(CPoint where, int32_t buttons) override;
    bool onWheel(CPoint where, float distance, int32_t buttons) override;
    int32_t onKeyDown(const CKeyCode& key) override;
    int32_t onKeyUp(const CKeyCode& key) override;

    void setColor(CColor color) { color_ = color; }

    struct Event {
        std::string kind;
        CPoint where;
        int32_t buttons = 0;
        float distance = 0;
        uint8_t virtualKey = 0;
        uint8_t modifiers = 0;
    };
    std::vector<Event> events;

  private:
    CColor color_;
    CMouseResult pressAnswer_;
};

// Message parameters of a mouse message at a client point.
LPARAM clientPoint(int x, int y);
