#include "views/custom/LevelMeter.h"

#include "views/custom/PanelDrawing.h"

#include <cstring>

namespace {

constexpr CColor kFirstLevel{149, 234, 255, 255};
constexpr CColor kThresholdShadow{0, 0, 0, 55};

} // namespace

LevelMeter::LevelMeter(const CRect& size, CControlObserver* listener)
    : CControl(size, listener, 502) {
    value_ = -80.0f;
}

void LevelMeter::draw(CDrawSurface& surface) {
    const int32_t W = getWidth();
    const int32_t H = getHeight();
    // A level that is not a number shows as silence, a threshold that is not one as no mark.
    const int32_t firstY = truncateToPixel(value_ * -2.0, 2, H - 2, H - 2);
    const int32_t secondY = truncateToPixel(secondLevelDb * -2.0, 2, H - 2, H - 2);
    const int32_t thresholdY =
        truncateToPixel(thresholdDb * -2.0, -kFarOutsidePx, H - 2, -kFarOutsidePx);

    drawThroughOffscreen(*this, surface, W, H, [&](CDrawSurface& s) {
        fillPixels(s, kColorBlack, {0, 0, W, H});
        framePanel(s, W, H);
        fillPixels(s, kFirstLevel, {2, firstY, W - 2, H - 2});
        fillPixels(s, kLevelCyan, {2, secondY, W - 2, H - 2});
        // The second highlight starts 8 pixels from the right: on the 10-pixel meter the two
        // overlap and the second level shows entirely in the highlight colour.
        s.setFillColor(kHighlightCyan);
        s.fillRect({2, secondY, 4, H - 2});
        s.fillRect({W - 8, secondY, W - 2, H - 2});
        if (thresholdY > 2) fillPixels(s, kThresholdShadow, {1, thresholdY, W - 1, thresholdY + 2});
        if (thresholdY > 1) fillPixels(s, kMarkRed, {1, thresholdY, W - 1, thresholdY + 1});
        framePanel(s, W, H);
        shadeCorners(s, W, H);
    });
}

bool LevelMeter::isOfClass(const char* className) const {
    return (className && std::strcmp(className, "LevelMeter") == 0) ||
           CControl::isOfClass(className);
}

CView* LevelMeter::clone() const {
    return new LevelMeter(*this);
}
