#pragma once

#include "views/CGeometry.h"

#include <cstdint>

// What the frame asks of the editor that owns it: forwarding edit gestures of a tag to the
// host, the host's knob mode, a turn of idle work while a mouse handler runs, presses on the
// background and changes of the display scale.
class FrameEditorLink {
  public:
    virtual void beginEdit(int32_t tag) = 0;
    virtual void endEdit(int32_t tag) = 0;
    // One of CKnobMode.
    virtual int32_t getKnobMode() const = 0;
    virtual void idleWhileTracking() = 0;
    // A press that no view takes (the background); true when the editor handled it.
    virtual bool backgroundPressed(CPoint, int32_t) { return false; }
    // The system changed the display scale of the frame's window.
    virtual void displayScaleChanged() {}

  protected:
    ~FrameEditorLink() = default;
};
