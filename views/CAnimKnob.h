#pragma once

#include "views/CControl.h"
#include "views/LinearDrag.h"

// Knob drawn from a film strip of frames stacked vertically, each as high as the view.
class CAnimKnob : public CControl {
  public:
    CAnimKnob(const CRect& size, CControlObserver* listener, int32_t tag, CBitmap* background,
              CPoint offset = {});

    void draw(CDrawSurface& surface) override;
    // Dirty only when the frame shown would change (or when marked dirty).
    bool isDirty() const override;

    CMouseResult onMouseDown(CPoint where, int32_t buttons) override;
    CMouseResult onMouseUp(CPoint where, int32_t buttons) override;
    CMouseResult onMouseMoved(CPoint where, int32_t buttons) override;
    bool onWheel(CPoint where, float distance, int32_t buttons) override;
    int32_t onKeyDown(const CKeyCode& key) override;

    void setFineFactor(float factor) { fineFactor_ = factor; }
    float getFineFactor() const { return fineFactor_; }
    int32_t getFrameCount() const { return frameCount_; }
    // Top row of the frame shown for `value` inside the strip.
    int32_t framePosition(float value) const;
    // Circular mode: the value at the angle of `where` around the knob's centre.
    float valueFromPoint(CPoint where) const;

    static constexpr float kDragRangePx = 800.0f;

  private:
    bool linearPress(int32_t buttons) const;

    CPoint offset_;
    int32_t frameCount_;
    float fineFactor_ = 5.0f;
    bool circularDrag_ = false;
    float recordedValue_ = 0;
    LinearDrag drag_;
};
