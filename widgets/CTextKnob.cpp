#include "widgets/CTextKnob.h"

#include <cmath>

CTextKnob::CTextKnob(const CRect& size, CControlObserver* listener, int32_t tag,
                     CBitmap* background)
    : CTextControl(size, listener, tag, background) {
    look_.style = 1; // none of the text style flags
}

void CTextKnob::draw(CDrawSurface& surface) {
    char text[kValueTextSize];
    text_.format(value_, text);
    drawText(surface, text);
}

void CTextKnob::drawText(CDrawSurface& surface, const char* text, CBitmap* replacementBackground) {
    drawTextDisplay(*this, surface, look_, text, replacementBackground);
}

CMouseResult CTextKnob::onMouseDown(CPoint where, int32_t buttons) {
    beginEdit();
    // The default-value click is an edit gesture of its own, nested inside this one.
    if (applyDefaultOnClick(buttons)) {
        endEdit();
        return kMouseHandledNoTracking;
    }
    drag_.begin(where, buttons, value_, kMinimum, kMaximum, kDragRangePx, fineFactor_);
    return onMouseMoved(where, buttons);
}

CMouseResult CTextKnob::onMouseMoved(CPoint where, int32_t buttons) {
    if (drag_.follow(where, buttons, kMinimum, kMaximum, kDragRangePx, fineFactor_, value_))
        reportDraggedValue();
    return kMouseHandled;
}

CMouseResult CTextKnob::onMouseUp(CPoint, int32_t) {
    endEdit();
    return kMouseHandled;
}

bool CTextKnob::onWheel(CPoint, float distance, int32_t buttons) {
    return applyWheel(distance, buttons);
}

int32_t CTextKnob::onKeyDown(const CKeyCode& key) {
    return applyArrowKey(key);
}

void CTextKnob::setFineFactor(float factor) {
    if (std::isfinite(factor) && factor > 0.0f) fineFactor_ = factor;
}
