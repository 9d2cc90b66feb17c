#pragma once

#include <cstdint>

class CControl;

// Receives a control's value changes and edit gestures (implemented by the editor).
class CControlObserver {
  public:
    virtual void valueChanged(CControl* control) = 0;
    virtual void editBegun(CControl* control) = 0;
    virtual void editEnded(CControl* control) = 0;
    // Asked before a press with the right button or a modifier reaches the control; a non-zero
    // answer consumes the press.
    virtual int32_t modifierClicked(CControl* control, int32_t buttons) = 0;

  protected:
    ~CControlObserver() = default;
};
