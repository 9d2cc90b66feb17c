#pragma once

#include "views/CControlObserver.h"
#include "views/CView.h"

#include <cstdint>

// A view with a 32-bit float value, a tag and a listener.
class CControl : public CView {
  public:
    // Takes a reference on `background`; the new control counts as dirty.
    CControl(const CRect& size, CControlObserver* listener = nullptr, int32_t tag = 0,
             CBitmap* background = nullptr);

    bool isDirty() const override;
    // true: the old value becomes -1 (0 when the value is -1) so the control counts as changed;
    // false: the old value becomes the value.
    void setDirty(bool dirty) override;

    // Hands the frame's idle work a turn while a mouse handler keeps the event loop busy.
    virtual void doIdleStuff();
    // Stores the value as it is: no clamping, no notification, no redraw.
    virtual void setValue(float value) { value_ = value; }
    virtual float getValue() const { return value_; }
    virtual void setDefaultValue(float value) { defaultValue_ = value; }
    virtual float getDefaultValue() const { return defaultValue_; }
    // Limits the value to kMinimum ... kMaximum.
    virtual void clampValue();
    // Only for exactly kModControl + kButtonLeft: resets to the default inside an edit gesture
    // and answers true.
    virtual bool applyDefaultOnClick(int32_t buttons);
    virtual int32_t getTag() const { return tag_; }
    // The listener's editBegun, then the frame focuses the control and reports the edit start.
    virtual void beginEdit();
    // The frame reports the edit end, then the listener's editEnded.
    virtual void endEdit();
    // Where the background bitmap starts being read.
    virtual void setBackgroundOffset(CPoint offset) { backOffset_ = offset; }
    virtual const CPoint& getBackgroundOffset() const { return backOffset_; }

    CControlObserver* getListener() const { return listener_; }
    void setListener(CControlObserver* listener) { listener_ = listener; }
    // True when this press follows the previous one within the double-click time; records it.
    bool isDoubleClick();

  protected:
    // A control's value runs from 0 to 1, as a host's normalised parameter does.
    static constexpr float kMinimum = 0.0f;
    static constexpr float kMaximum = 1.0f;
    // What a wheel notch or an arrow key adds to the value.
    static constexpr float kWheelStep = 0.1f;

    // value += step, limited, and reported as one edit gesture if it changed (wheel and keys).
    void nudgeValue(float step);
    // Wheel rule of the knobs: wheel step × distance, a tenth of it with shift.
    bool applyWheel(float distance, int32_t buttons);
    // Arrow keys of the knobs: left/down -1, up/right +1 wheel step, a tenth with shift.
    int32_t applyArrowKey(const CKeyCode& key);
    // After a drag moved the value: limit it, tell the listener if it moved, mark the redraw.
    void reportDraggedValue();

    CControlObserver* listener_;
    int32_t tag_;
    float oldValue_ = 1.0f;
    float defaultValue_ = 0.5f;
    float value_ = 0.0f;
    int32_t lastClickTimeMs_ = -1;
    int32_t doubleClickTimeMs_;
    CPoint backOffset_;
};
