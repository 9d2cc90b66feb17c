#pragma once

#include "views/CTextControl.h"
#include "views/LinearDrag.h"

#include <cstdint>

// A control that shows its value as text over a small plate and is dragged like a knob:
// right or up increases, 600 pixels sweep the range (fineFactor times more with shift).
// It has no circular mode and ignores alt and the host's knob mode.
class CTextKnob : public CTextControl {
  public:
    CTextKnob(const CRect& size, CControlObserver* listener, int32_t tag, CBitmap* background);

    void draw(CDrawSurface& surface) override;
    CMouseResult onMouseDown(CPoint where, int32_t buttons) override;
    CMouseResult onMouseUp(CPoint where, int32_t buttons) override;
    CMouseResult onMouseMoved(CPoint where, int32_t buttons) override;
    bool onWheel(CPoint where, float distance, int32_t buttons) override;
    int32_t onKeyDown(const CKeyCode& key) override;

    // Factors that are not finite and positive are ignored: they would turn the drag into
    // infinities or NaN.
    virtual void setFineFactor(float factor);
    virtual float getFineFactor() const { return fineFactor_; }
    // Background (the replacement when given), edges and text, following the text look.
    virtual void drawText(CDrawSurface& surface, const char* text,
                          CBitmap* replacementBackground = nullptr);

    static constexpr float kDragRangePx = 600.0f;

  private:
    float fineFactor_ = 2.0f;
    LinearDrag drag_;
};
