#include "widgets/CCompMeter.h"

#include "views/DeviceScale.h"
#include "widgets/PanelDrawing.h"

namespace {

constexpr CColor kHoldRegion{0, 204, 255, 50};
constexpr int32_t kBarTop = 2;

} // namespace

CCompMeter::CCompMeter(const CRect& size, CControlObserver* listener, int32_t tag)
    : CControl(size, listener, tag) {}

void CCompMeter::draw(CDrawSurface& surface) {
    const int32_t W = getWidth();
    const int32_t H = getHeight();
    // Rows are device pixels: the finer the display, the finer the meter's steps.
    const double scale = surface.getScale();
    const auto d = [scale](int32_t editorPx) { return toDevicePixels(editorPx, scale); };
    const int32_t lowestRow = d(kLowestBarRow);
    // The bar is computed in single precision and the hold in double. Negative values (gain
    // above unity) reach up into the border; anything past the top draws the same.
    const float valueTenths = value_ * 10.0f;
    const int32_t valueY = truncateToPixel(valueTenths * scale, -kFarOutsidePx, lowestRow, 0);
    const int32_t holdY =
        truncateToPixel(holdValue * 10.0 * scale, -kFarOutsidePx, kFarOutsidePx, 0);
    const int32_t shownHoldY = holdY < lowestRow ? holdY : lowestRow;
    const int32_t barTop = d(kBarTop);

    drawThroughOffscreen(*this, surface, W, H, [&](CDrawSurface& s) {
        fillPixels(s, kColorBlack, {0, 0, W, H});
        framePanel(s, W, H);
        fillDevicePixels(s, kHoldRegion, {d(2), barTop, d(W - 2), barTop + shownHoldY});
        fillDevicePixels(s, kLevelCyan, {d(2), barTop, d(W - 2), barTop + valueY});
        fillDevicePixels(s, kHighlightCyan, {d(2), barTop, d(3), barTop + valueY});
        fillDevicePixels(s, kHighlightCyan, {d(W - 3), barTop, d(W - 2), barTop + valueY});
        if (holdY > lowestRow)
            fillDevicePixels(s, kMarkRed, {d(2), lowestRow, d(W - 2), d(kLowestBarRow + 2)});
        shadeCorners(s, W, H);
    });
}
