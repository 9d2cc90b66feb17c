#pragma once

#include "views/FrameWindow.h"

#include <X11/Xlib.h>
#include <cairo.h>

#include <memory>

class CFrame;

// The frame's child window inside the host's X11 window. It has its own display connection,
// so its events are pumped from the editor's idle without touching the host's event loop.
class X11FrameWindow : public FrameWindow {
  public:
    // Null when `parent` is 0, not a window, or no display can be opened.
    static std::unique_ptr<X11FrameWindow> create(CFrame& frame, Window parent);
    ~X11FrameWindow() override;
    X11FrameWindow(const X11FrameWindow&) = delete;
    X11FrameWindow& operator=(const X11FrameWindow&) = delete;

    void pumpEvents() override;
    void present(const CBitmap& backBuffer, const CRect& area) override;
    void resize(int32_t width, int32_t height) override;
    void captureOutsidePresses(bool capture) override;

  private:
    X11FrameWindow(CFrame& frame, Display* display, Window window, cairo_surface_t* surface);
    void dispatch(XEvent& event);

    CFrame& frame_;
    Display* display_;
    Window window_;
    cairo_surface_t* windowSurface_;
};
