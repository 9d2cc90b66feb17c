#include "views/CAnimKnob.h"

#include "views/CDrawSurface.h"
#include "views/CFrame.h"

#include <algorithm>
#include <cmath>

CAnimKnob::CAnimKnob(const CRect& size, CControlObserver* listener, int32_t tag,
                     CBitmap* background, CPoint offset)
    : CControl(size, listener, tag, background), offset_(offset),
      frameCount_(background && size.height() > 0 ? background->getHeight() / size.height() : 0) {}

int32_t CAnimKnob::framePosition(float value) const {
    const int32_t frameHeight = getHeight();
    if (frameCount_ <= 0 || frameHeight <= 0 || !(value > 0.0f)) return 0;
    const int32_t last = (frameCount_ - 1) * frameHeight;
    // Values above 1 show the last frame instead of reading below the strip.
    const double position = std::min(double(value) * (frameCount_ - 1) * frameHeight, double(last));
    const auto top = static_cast<int32_t>(position);
    return top - top % frameHeight;
}

void CAnimKnob::draw(CDrawSurface& surface) {
    if (CBitmap* strip = getBackground())
        strip->draw(surface, size_, {offset_.h, offset_.v + framePosition(value_)});
    setDirty(false);
}

bool CAnimKnob::isDirty() const {
    return CView::isDirty() || framePosition(value_) != framePosition(oldValue_);
}

bool CAnimKnob::linearPress(int32_t buttons) const {
    if (!(buttons & kButtonLeft)) return false;
    const bool linearMode = !getFrame() || getFrame()->getKnobMode() == kLinearMode;
    const bool alt = (buttons & kModAlt) != 0;
    return linearMode != alt;
}

float CAnimKnob::valueFromPoint(CPoint where) const {
    constexpr double kPi = 3.14159265358979323846;
    const double dx = where.h - (size_.left + size_.width() * 0.5);
    const double dy = (size_.top + size_.height() * 0.5) - where.v;
    double angle = std::atan2(dy, dx) * 180.0 / kPi; // counter-clockwise from the right
    // The 90° gap at the bottom, between -45° and 225° (-135°), goes to the nearer end.
    if (angle > -135.0 && angle < -45.0) angle = angle > -90.0 ? -45.0 : 225.0;
    if (angle <= -135.0) angle += 360.0;
    const double range = double(kMaximum) - double(kMinimum);
    return float(kMinimum + (angle - 225.0) * range / -270.0);
}

CMouseResult CAnimKnob::onMouseDown(CPoint where, int32_t buttons) {
    beginEdit();
    if (applyDefaultOnClick(buttons)) {
        endEdit();
        return kMouseHandledNoTracking;
    }
    circularDrag_ = !linearPress(buttons);
    if (circularDrag_)
        recordedValue_ = valueFromPoint(where);
    else
        drag_.begin(where, buttons, value_, kMinimum, kMaximum, kDragRangePx, fineFactor_);
    return onMouseMoved(where, buttons);
}

CMouseResult CAnimKnob::onMouseMoved(CPoint where, int32_t buttons) {
    if (!(buttons & kButtonLeft)) return kMouseHandled;
    if (circularDrag_) {
        const float value = valueFromPoint(where);
        // A jump across the gap keeps the end the mouse came from.
        if (std::fabs(value - recordedValue_) > (kMaximum - kMinimum) * 0.5f) {
            value_ = value < recordedValue_ ? kMaximum : kMinimum;
        } else {
            value_ = value;
            recordedValue_ = value;
        }
    } else if (!drag_.follow(where, buttons, kMinimum, kMaximum, kDragRangePx, fineFactor_,
                             value_)) {
        return kMouseHandled;
    }
    reportDraggedValue();
    return kMouseHandled;
}

CMouseResult CAnimKnob::onMouseUp(CPoint, int32_t) {
    endEdit();
    return kMouseHandled;
}

bool CAnimKnob::onWheel(CPoint, float distance, int32_t buttons) {
    return applyWheel(distance, buttons);
}

int32_t CAnimKnob::onKeyDown(const CKeyCode& key) {
    return applyArrowKey(key);
}
