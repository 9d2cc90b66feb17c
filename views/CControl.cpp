#include "views/CControl.h"

#include "views/CFrame.h"
#include "views/ViewPlatform.h"

#include <algorithm>

CControl::CControl(const CRect& size, CControlObserver* listener, int32_t tag, CBitmap* background)
    : CView(size), listener_(listener), tag_(tag),
      doubleClickTimeMs_(std::max(viewPlatform().doubleClickTimeMs(), int32_t{250})) {
    setBackground(background);
    setDirty(true);
}

bool CControl::isDirty() const {
    return oldValue_ != value_ || CView::isDirty();
}

void CControl::setDirty(bool dirty) {
    CView::setDirty(dirty);
    if (dirty)
        oldValue_ = value_ != -1.0f ? -1.0f : 0.0f;
    else
        oldValue_ = value_;
}

void CControl::doIdleStuff() {
    if (CFrame* frame = getFrame()) frame->idleWhileTracking();
}

void CControl::clampValue() {
    if (value_ > kMaximum) value_ = kMaximum;
    if (value_ < kMinimum) value_ = kMinimum;
}

bool CControl::applyDefaultOnClick(int32_t buttons) {
    if (buttons != (kModControl | kButtonLeft)) return false;
    beginEdit();
    value_ = defaultValue_;
    if (isDirty() && listener_) listener_->valueChanged(this);
    endEdit();
    return true;
}

void CControl::beginEdit() {
    if (listener_) listener_->editBegun(this);
    if (CFrame* frame = getFrame()) {
        frame->setFocusView(this);
        frame->beginEdit(tag_);
    }
}

void CControl::endEdit() {
    if (CFrame* frame = getFrame()) frame->endEdit(tag_);
    if (listener_) listener_->editEnded(this);
}

bool CControl::isDoubleClick() {
    const auto now = static_cast<int32_t>(viewPlatform().tickMs());
    const bool isDouble = lastClickTimeMs_ >= 0 && now - lastClickTimeMs_ <= doubleClickTimeMs_;
    lastClickTimeMs_ = isDouble ? -1 : now;
    return isDouble;
}

void CControl::nudgeValue(float step) {
    value_ += step;
    clampValue();
    if (isDirty() && listener_) {
        beginEdit();
        listener_->valueChanged(this);
        endEdit();
    }
}

bool CControl::applyWheel(float distance, int32_t buttons) {
    float step = kWheelStep * distance;
    if (buttons & kModShift) step *= 0.1f;
    nudgeValue(step);
    return true;
}

int32_t CControl::applyArrowKey(const CKeyCode& key) {
    float direction = 0;
    switch (key.virtualKey) {
    case kKeyLeft:
    case kKeyDown:
        direction = -1.0f;
        break;
    case kKeyUp:
    case kKeyRight:
        direction = 1.0f;
        break;
    default:
        return kKeyNotUsed;
    }
    float step = kWheelStep * direction;
    if (key.modifiers & kKeyModifierShift) step *= 0.1f;
    nudgeValue(step);
    return kKeyUsed;
}

void CControl::reportDraggedValue() {
    clampValue();
    if (value_ != oldValue_ && listener_) listener_->valueChanged(this);
    if (isDirty()) invalidate();
}
