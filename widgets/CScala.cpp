#include "widgets/CScala.h"

#include "plugin/ParameterCurves.h"
#include "widgets/PanelDrawing.h"

#include <cstdio>

namespace {

constexpr int32_t kFirstTickY = 7;
constexpr int32_t kTickSpacingPx = 5;
// Ticks run on past the editor's strip; the off-screen cuts them at the view's height.
constexpr int32_t kTickEndY = 177;
constexpr int32_t kLabelRight = 17;

// The strip's 24 ticks (six labels, 4 ticks apart) span the scale's dB, so the labels every
// 20 pixels read a sixth of the span: 1, 2, 4 or 8 dB. Labels fall on whole dB.
constexpr int32_t kTicksPerSpan = 24;
int32_t tickDb(float scale, int32_t tick) {
    return tick * curve::kMeterScaleSettings[curve::meterScalePosition(scale)].spanDb /
           kTicksPerSpan;
}

// One position up, the last wrapping round to the first, or down; values that are none of the
// positions, compared exactly, go to the first either way.
float nextScale(float value, int32_t step) {
    for (int position = 0; position < curve::kMeterScalePositions; ++position)
        if (value == curve::meterScaleValue(position))
            return curve::meterScaleValue((position + step + curve::kMeterScalePositions) %
                                          curve::kMeterScalePositions);
    return curve::meterScaleValue(0);
}

} // namespace

CScala::CScala(CControlObserver* listener, const CRect& size, int32_t tag)
    : CControl(size, listener, tag) {
    setClickArea({size.left - 10, size.top - 26, size.right + 50, size.bottom + 10});
}

CMouseResult CScala::onMouseDown(CPoint, int32_t buttons) {
    const bool left = (buttons & kButtonLeft) != 0;
    if (!left && !(buttons & kButtonRight)) return kMouseNotHandled;
    beginEdit();
    // The unchanged value goes out first (as it always has); hosts record it as a point
    // that changes nothing.
    if (value_ != 0.0f && listener_) listener_->valueChanged(this);
    value_ = nextScale(value_, left ? 1 : -1);
    if (listener_) listener_->valueChanged(this);
    if (isDirty()) invalidate();
    endEdit();
    return kMouseHandled;
}

void CScala::draw(CDrawSurface& surface) {
    const int32_t W = getWidth();
    const int32_t H = getHeight();
    drawThroughOffscreen(*this, surface, W, H, [&](CDrawSurface& s) {
        fillPixels(s, kColorBlack, {0, 0, W, H});
        s.setFont(stockFont(StockFont::kVerySmall));
        s.setFontColor(kColorWhite);
        s.setFrameColor(kPanelFrameGrey);
        s.setLineWidth(1);
        for (int32_t tick = 0, y = kFirstTickY; y < kTickEndY; ++tick, y += kTickSpacingPx) {
            int32_t startX = 21;
            if (tick % 4 == 0) {
                startX = 20;
                char label[16];
                std::snprintf(label, sizeof label, "%d", -tickDb(value_, tick));
                s.drawString(label, {1, y - 6, kLabelRight, y + 6}, kRightText, true);
            }
            // Every tick runs to the view's right edge, whatever the strip's placement.
            if (W - 1 < startX) continue;
            s.moveTo({startX, y});
            s.lineTo({W - 1, y});
        }
    });
}
