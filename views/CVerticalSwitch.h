#pragma once

#include "views/CControl.h"

// Switch with `positions` positions; the bitmap holds `subPixmaps` images of
// `heightOfOneImage` pixels stacked vertically.
class CVerticalSwitch : public CControl {
  public:
    CVerticalSwitch(const CRect& size, CControlObserver* listener, int32_t tag, int32_t subPixmaps,
                    int32_t heightOfOneImage, int32_t positions, CBitmap* background,
                    CPoint offset = {});

    void draw(CDrawSurface& surface) override;
    CMouseResult onMouseDown(CPoint where, int32_t buttons) override;
    CMouseResult onMouseUp(CPoint where, int32_t buttons) override;
    CMouseResult onMouseMoved(CPoint where, int32_t buttons) override;

  private:
    CPoint offset_;
    int32_t subPixmaps_;
    int32_t heightOfOneImage_;
    int32_t positions_;
};
