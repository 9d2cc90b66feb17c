#pragma once

#include "views/CControl.h"

// The gain-reduction meter: a bar growing down from the top at 10 pixels per display unit,
// over a translucent peak-hold region, with a red strip when the hold runs past the bottom.
// The editor feeds reduction in dB times the meter scale factor. Takes no input.
class CCompMeter : public CControl {
  public:
    // No background; `tag` is the one the editor gives it.
    CCompMeter(const CRect& size, CControlObserver* listener, int32_t tag);

    void draw(CDrawSurface& surface) override;

    double holdValue = 0.0;

    // Bars stop at this row whatever the view's height (the bottom of the editor's meter).
    static constexpr int32_t kLowestBarRow = 126;
};
