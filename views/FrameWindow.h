#pragma once

#include "views/CGeometry.h"

class CBitmap;

// The frame's system window, made by the platform layer. It delivers input to the frame
// (CFrame::onMouseDown ...) and exposed areas (CFrame::invalidRect) from pumpEvents.
class FrameWindow {
  public:
    virtual ~FrameWindow() = default;
    // Handles every pending system event without blocking.
    virtual void pumpEvents() = 0;
    // Shows `area` of the frame's back buffer in the window.
    virtual void present(const CBitmap& backBuffer, const CRect& area) = 0;
};
