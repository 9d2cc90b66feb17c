#include "views/COnOffButton.h"

#include "views/CDrawSurface.h"

COnOffButton::COnOffButton(const CRect& size, CControlObserver* listener, int32_t tag,
                           CBitmap* background, int32_t style)
    : CControl(size, listener, tag, background), style_(style) {}

void COnOffButton::draw(CDrawSurface& surface) {
    if (CBitmap* image = getBackground())
        image->draw(surface, size_, {0, value_ == 0.0f ? 0 : getHeight()});
    setDirty(false);
}

CMouseResult COnOffButton::onMouseDown(CPoint, int32_t buttons) {
    if (!(buttons & kButtonLeft)) return kMouseNotHandled;
    const bool integerPartZero = value_ > -1.0f && value_ < 1.0f;
    value_ = integerPartZero ? 1.0f : 0.0f;
    invalidate();
    if (style_ == kPostListenerUpdate && listener_) listener_->valueChanged(this);
    doIdleStuff();
    if (style_ != kPostListenerUpdate && listener_) listener_->valueChanged(this);
    return kMouseHandledNoTracking;
}
