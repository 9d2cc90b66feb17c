#include "widgets/LevelMeter.h"

#include "views/DeviceScale.h"
#include "widgets/PanelDrawing.h"

namespace {

constexpr CColor kFirstLevel{149, 234, 255, 255};
constexpr CColor kThresholdShadow{0, 0, 0, 55};

} // namespace

LevelMeter::LevelMeter(const CRect& size, CControlObserver* listener, int32_t tag)
    : CControl(size, listener, tag) {
    value_ = -80.0f;
}

void LevelMeter::draw(CDrawSurface& surface) {
    const int32_t W = getWidth();
    const int32_t H = getHeight();
    // Levels land on device pixels: the finer the display, the finer the meter's steps.
    const double scale = surface.getScale();
    const auto d = [scale](int32_t editorPx) { return toDevicePixels(editorPx, scale); };
    // A level that is not a number shows as silence, a threshold that is not one as no mark.
    const int32_t firstY = truncateToPixel(value_ * -2.0 * scale, d(2), d(H - 2), d(H - 2));
    const int32_t secondY = truncateToPixel(secondLevelDb * -2.0 * scale, d(2), d(H - 2), d(H - 2));
    const int32_t thresholdY =
        truncateToPixel(thresholdDb * -2.0 * scale, -kFarOutsidePx, d(H - 2), -kFarOutsidePx);

    drawThroughOffscreen(*this, surface, W, H, [&](CDrawSurface& s) {
        fillPixels(s, kColorBlack, {0, 0, W, H});
        framePanel(s, W, H);
        fillDevicePixels(s, kFirstLevel, {d(2), firstY, d(W - 2), d(H - 2)});
        fillDevicePixels(s, kLevelCyan, {d(2), secondY, d(W - 2), d(H - 2)});
        // The second highlight starts 8 pixels from the right: on the 10-pixel meter the two
        // overlap and the second level shows entirely in the highlight colour.
        fillDevicePixels(s, kHighlightCyan, {d(2), secondY, d(4), d(H - 2)});
        fillDevicePixels(s, kHighlightCyan, {d(W - 8), secondY, d(W - 2), d(H - 2)});
        if (thresholdY > d(2))
            fillDevicePixels(s, kThresholdShadow, {d(1), thresholdY, d(W - 1), thresholdY + d(2)});
        if (thresholdY > d(1))
            fillDevicePixels(s, kMarkRed, {d(1), thresholdY, d(W - 1), thresholdY + d(1)});
        framePanel(s, W, H);
        shadeCorners(s, W, H);
    });
}
