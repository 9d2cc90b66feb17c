#include "views/CVerticalSwitch.h"

#include "views/CDrawSurface.h"
#include "views/FilmStrip.h"

#include <cmath>

CVerticalSwitch::CVerticalSwitch(const CRect& size, CControlObserver* listener, int32_t tag,
                                 int32_t subPixmaps, int32_t heightOfOneImage, int32_t positions,
                                 CBitmap* background, CPoint offset)
    : CControl(size, listener, tag, background), offset_(offset), subPixmaps_(subPixmaps),
      heightOfOneImage_(heightOfOneImage), positions_(positions) {}

void CVerticalSwitch::draw(CDrawSurface& surface) {
    if (CBitmap* image = getBackground()) {
        const int32_t frame = nearestFrame(value_, subPixmaps_);
        image->draw(surface, size_, {offset_.h, offset_.v + frame * heightOfOneImage_});
    }
    setDirty(false);
}

CMouseResult CVerticalSwitch::onMouseDown(CPoint where, int32_t buttons) {
    if (!(buttons & kButtonLeft)) return kMouseNotHandled;
    beginEdit();
    // The reset gesture ends here; letting the click position set the value afterwards would
    // overwrite the default and leave the edit open.
    if (applyDefaultOnClick(buttons)) {
        endEdit();
        return kMouseHandledNoTracking;
    }
    return onMouseMoved(where, buttons);
}

CMouseResult CVerticalSwitch::onMouseMoved(CPoint where, int32_t buttons) {
    if (!(buttons & kButtonLeft)) return kMouseHandled;
    if (positions_ > 1 && heightOfOneImage_ > 0) {
        const double positionHeight = double(heightOfOneImage_) / double(positions_);
        const double position = std::trunc((where.v - size_.top) / positionHeight);
        value_ = float(position / double(positions_ - 1));
    } else {
        value_ = 0.0f;
    }
    if (value_ > 1.0f) value_ = 1.0f;
    if (value_ < 0.0f) value_ = 0.0f;
    if (isDirty()) {
        if (listener_) listener_->valueChanged(this);
        invalidate();
    }
    return kMouseHandled;
}

CMouseResult CVerticalSwitch::onMouseUp(CPoint, int32_t) {
    endEdit();
    return kMouseHandled;
}
