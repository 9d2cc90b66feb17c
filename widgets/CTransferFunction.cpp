#include "widgets/CTransferFunction.h"

#include "engine/Decibels.h"
#include "plugin/ParameterCurves.h"
#include "views/DeviceScale.h"
#include "widgets/PanelDrawing.h"

#include <cmath>

namespace {

constexpr int32_t kSize = CTransferFunction::kGraphSizePx;
constexpr CColor kKneeBand{255, 20, 0, 55};
constexpr CColor kDiagonal{0, 41, 51, 255};

// Minus twice a level in dB, truncated: the row of a level on the 2-pixels-per-dB scale.
int32_t rowOfLevel(double twiceLevelDb) {
    return -truncateToPixel(twiceLevelDb, -kFarOutsidePx, kFarOutsidePx, kFarOutsidePx);
}

} // namespace

CTransferFunction::CTransferFunction(const CRect& size, CControlObserver* listener, int32_t tag)
    : CControl(size, listener, tag) {}

// In double precision throughout, the ratio's zone edge too (see ParameterCurves.h).
void CTransferFunction::setRatioFromParameter(double v) {
    if (!std::isfinite(v)) return;
    double ratio;
    switch (curve::ratioZone(v)) {
    case curve::RatioZone::eightToOne:
        ratio = curve::kRatioEightToOne;
        break;
    case curve::RatioZone::fourToOne:
        ratio = curve::kRatioFourToOne;
        break;
    default:
        ratio = curve::variableRatio(v);
        break;
    }
    inverseRatio = 1.0 / ratio;
}

void CTransferFunction::setMakeUpFromParameter(double v) {
    if (!std::isfinite(v)) return;
    makeUpDb = curve::makeUpGainDb(v);
}

int32_t CTransferFunction::curveRow(int32_t deviceColumn, double scale) const {
    const double T = thresholdDb;
    const double K = kneeDb;
    const double D = kSize - deviceColumn / scale;
    const double x = -D / 2.0;
    double overshoot = x - (T - K) - K;
    // Soft knee: a parabola joining the two slopes over T - K ... T + K. With K = 0 neither
    // branch is reached, so nothing divides by zero.
    if (-K > overshoot)
        overshoot = 0.0;
    else if (K > overshoot)
        overshoot = overshoot * overshoot / (K * 4.0) + overshoot * 0.5 + K * 0.25;
    const double wet =
        std::exp(-(D * 0.5 - (inverseRatio - 1.0) * overshoot - makeUpDb) * kDbToExponent);
    const double dry = std::exp(-(dryAttenuationDb + D * 0.5) * kDbToExponent);
    return truncateToPixel(std::log(wet + dry) * kExponentToDb * -2.0 * scale, -kFarOutsidePx,
                           kFarOutsidePx, -kFarOutsidePx);
}

void CTransferFunction::draw(CDrawSurface& surface) {
    // The curve is computed for every device column and row, so it is as smooth as the
    // display allows.
    const double scale = surface.getScale();
    const auto d = [scale](int32_t editorPx) { return toDevicePixels(editorPx, scale); };
    const int32_t size = d(kSize);
    drawThroughOffscreen(*this, surface, kSize, kSize, [&](CDrawSurface& s) {
        fillPixels(s, kColorBlack, {0, 0, kSize, kSize});

        const int32_t kneeLowRow =
            rowOfLevel(((thresholdDb - kneeDb) * 2.0 + makeUpDb * 2.0) * scale);
        const int32_t thresholdRow = rowOfLevel((thresholdDb * 2.0 + makeUpDb * 2.0) * scale);
        fillDevicePixels(s, kKneeBand, {d(1), thresholdRow, d(kSize - 1), kneeLowRow});

        s.setFillColor(kDiagonal);
        for (int32_t i = 0; i < size; ++i)
            s.fillDevicePixels({i, size - i, i + d(2), size - i + d(1)});

        fillDevicePixels(s, kMarkRed, {d(1), thresholdRow, d(kSize - 1), thresholdRow + d(1)});

        s.setFillColor(kLevelCyan);
        for (int32_t i = 0; i < size; ++i) {
            const int32_t y = curveRow(i, scale);
            s.fillDevicePixels({i, y, i + d(2), y + d(1)});
        }

        framePanel(s, kSize, kSize);
        shadeCorners(s, getWidth(), getHeight());
    });
}
