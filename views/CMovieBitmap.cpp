#include "views/CMovieBitmap.h"

#include "views/CDrawSurface.h"
#include "views/FilmStrip.h"

CMovieBitmap::CMovieBitmap(const CRect& size, CControlObserver* listener, int32_t tag,
                           CBitmap* background, CPoint offset)
    : CControl(size, listener, tag, background), offset_(offset),
      frameCount_(background && size.height() > 0 ? background->getHeight() / size.height() : 0) {}

void CMovieBitmap::draw(CDrawSurface& surface) {
    if (CBitmap* image = getBackground()) {
        const float value = value_ > 1.0f ? 1.0f : value_;
        const int32_t frame = nearestFrame(value, frameCount_);
        image->draw(surface, size_, {offset_.h, offset_.v + frame * getHeight()});
    }
    setDirty(false);
}
