#include "views/FrameSnapshot.h"

#include "views/CDrawSurface.h"
#include "views/CFrame.h"

SharedRef<CBitmap> renderFrame(CFrame& frame) {
    const CRect& size = frame.getViewSize();
    COffscreenSurface surface(&frame, size.width(), size.height(), kColorBlack, frame.getScale());
    surface.setOffset({-size.left, -size.top});
    frame.paint(surface, size);
    return SharedRef<CBitmap>(surface.getBitmap());
}
