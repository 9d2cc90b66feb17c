#pragma once

#include "views/CControl.h"

#include <cstdint>

// The static input-to-output curve for the current threshold, knee, ratio, make-up and dry
// level, drawn as a square graph at 2 pixels per dB (0 dB output at the top, 0 dB input at
// the right). A drawing model of its own: it always plots a feed-forward curve with ratio
// 1 / inverseRatio. Takes no input; the editor writes the five fields and marks it dirty.
class CTransferFunction : public CControl {
  public:
    // No background; `tag` is the one the editor gives it.
    CTransferFunction(const CRect& size, CControlObserver* listener, int32_t tag);

    void draw(CDrawSurface& surface) override;

    // Ratio 8 above 0.9, 4 above 0.8, else 1 ... 3 over 0 ... 0.8. Non-finite values are
    // ignored (the graph keeps its last ratio).
    void setRatioFromParameter(double v);
    // -60 dB at 0, 0 dB at 0.5, +12 dB at 1. Non-finite values are ignored.
    void setMakeUpFromParameter(double v);

    double thresholdDb = 0.0;
    double inverseRatio = 1.0;
    double kneeDb = 0.0;
    double makeUpDb = 0.0;
    double dryAttenuationDb = 0.0;

    // The graph's scale is fixed: 130 columns of half a dB, whatever the view's size.
    static constexpr int32_t kGraphSizePx = 130;

  private:
    // Output row (y, downward) of the curve's dot in device column `deviceColumn` on a display
    // `scale` times finer than the editor's pixels, before clipping.
    int32_t curveRow(int32_t deviceColumn, double scale) const;
};
