#include "views/custom/CCompMeter.h"

#include "views/custom/PanelDrawing.h"

#include <cstring>

namespace {

constexpr CColor kHoldRegion{0, 204, 255, 50};
constexpr int32_t kBarTop = 2;

} // namespace

CCompMeter::CCompMeter(const CRect& size, CControlObserver* listener)
    : CControl(size, listener, 502) {}

void CCompMeter::draw(CDrawSurface& surface) {
    const int32_t W = getWidth();
    const int32_t H = getHeight();
    // The bar is computed in single precision and the hold in double. Negative values (gain
    // above unity) reach up into the border; anything past the top draws the same.
    const float valueTenths = value_ * 10.0f;
    const int32_t valueY = truncateToPixel(valueTenths, -kFarOutsidePx, kLowestBarRow, 0);
    const int32_t holdY = truncateToPixel(holdValue * 10.0, -kFarOutsidePx, kFarOutsidePx, 0);
    const int32_t shownHoldY = holdY < kLowestBarRow ? holdY : kLowestBarRow;

    drawThroughOffscreen(*this, surface, W, H, [&](CDrawSurface& s) {
        fillPixels(s, kColorBlack, {0, 0, W, H});
        framePanel(s, W, H);
        fillPixels(s, kHoldRegion, {2, kBarTop, W - 2, kBarTop + shownHoldY});
        fillPixels(s, kLevelCyan, {2, kBarTop, W - 2, kBarTop + valueY});
        s.setFillColor(kHighlightCyan);
        s.fillRect({2, kBarTop, 3, kBarTop + valueY});
        s.fillRect({W - 3, kBarTop, W - 2, kBarTop + valueY});
        if (holdY > kLowestBarRow)
            fillPixels(s, kMarkRed, {2, kLowestBarRow, W - 2, kLowestBarRow + 2});
        shadeCorners(s, W, H);
    });
}

bool CCompMeter::isOfClass(const char* className) const {
    return (className && std::strcmp(className, "CCompMeter") == 0) ||
           CControl::isOfClass(className);
}

CView* CCompMeter::clone() const {
    return new CCompMeter(*this);
}
