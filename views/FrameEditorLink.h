#pragma once

#include <cstdint>

// What the frame asks of the editor that owns it: forwarding edit gestures of a tag to the
// host, the host's knob mode, and a turn of idle work while a mouse handler runs.
class FrameEditorLink {
  public:
    virtual void beginEdit(int32_t tag) = 0;
    virtual void endEdit(int32_t tag) = 0;
    // One of CKnobMode.
    virtual int32_t getKnobMode() const = 0;
    virtual void idleWhileTracking() = 0;

  protected:
    ~FrameEditorLink() = default;
};
