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

// dB per tick: a quarter, a half, one or two, so that every 20 pixels (4 ticks) read 1, 2, 4
// or 8 dB.
int32_t tickDb(float scale, int32_t tick) {
    switch (curve::meterScalePosition(scale)) {
    case 0:
        return tick / 4;
    case 1:
        return tick / 2;
    case 2:
        return tick;
    default:
        return 2 * tick;
    }
}

// One step up (0 -> 0.25 -> 0.5 -> 0.75 -> 0) or down; values that are none of the four,
// compared exactly, go to 0 either way.
float nextScaleUp(float value) {
    if (value == 0.0f) return 0.25f;
    if (value == 0.25f) return 0.5f;
    if (value == 0.5f) return 0.75f;
    return 0.0f;
}

float nextScaleDown(float value) {
    if (value == 0.0f) return 0.75f;
    if (value == 0.75f) return 0.5f;
    if (value == 0.5f) return 0.25f;
    return 0.0f;
}

} // namespace

CScala::CScala(CControlObserver* listener, const CRect& size) : CControl(size, listener, 18) {
    setClickArea({size.left - 10, size.top - 26, size.right + 50, size.bottom + 10});
}

CMouseResult CScala::onMouseDown(CPoint, int32_t buttons) {
    const bool left = (buttons & kButtonLeft) != 0;
    if (!left && !(buttons & kButtonRight)) return kMouseNotHandled;
    beginEdit();
    // The unchanged value goes out first (as it always has); hosts record it as a point
    // that changes nothing.
    if (value_ != 0.0f && listener_) listener_->valueChanged(this);
    value_ = left ? nextScaleUp(value_) : nextScaleDown(value_);
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
