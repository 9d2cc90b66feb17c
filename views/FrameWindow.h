#pragma once

#include "views/CGeometry.h"

class CBitmap;

// The frame's system window, made by the platform layer. It delivers input to the frame
// (CFrame::onMouseDown ...) and exposed areas (CFrame::invalidRect) from pumpEvents, both in
// the frame's own pixels (device pixels divided by the frame's scale).
class FrameWindow {
  public:
    virtual ~FrameWindow() = default;
    // Handles every pending system event without blocking.
    virtual void pumpEvents() = 0;
    // Shows `area` (device pixels) of the frame's back buffer in the window.
    virtual void present(const CBitmap& backBuffer, const CRect& area) = 0;
    // The frame's size in device pixels changed (a new display scale).
    virtual void resize(int32_t, int32_t) {}
    // While on, presses anywhere on the desktop come to the frame, those outside the window at
    // points outside the frame. A system that takes this capture away from the window tells
    // the frame through CFrame::popupCaptureLost.
    virtual void captureOutsidePresses(bool) {}
};
