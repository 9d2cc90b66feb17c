#pragma once

#include "views/CControl.h"

// Two-state button: upper half of the bitmap for value 0, lower half otherwise.
class COnOffButton : public CControl {
  public:
    // Style 1 notifies the listener before the idle work, style 0 after it.
    static constexpr int32_t kPostListenerUpdate = 1;

    COnOffButton(const CRect& size, CControlObserver* listener, int32_t tag, CBitmap* background,
                 int32_t style = 0);

    void draw(CDrawSurface& surface) override;
    CMouseResult onMouseDown(CPoint where, int32_t buttons) override;

  private:
    int32_t style_;
};
