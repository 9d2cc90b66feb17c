#pragma once

#include "views/CControl.h"

// The narrow sidechain meter: the detector's two levels as bars rising from the bottom at
// 2 pixels per dB (0 dB at the top), with a red threshold mark. The control value is the
// first level in dB. Takes no input.
class LevelMeter : public CControl {
  public:
    // No background; `tag` is the one the editor gives it. The value starts at -80 dB.
    LevelMeter(const CRect& size, CControlObserver* listener, int32_t tag);

    void draw(CDrawSurface& surface) override;

    float secondLevelDb = -80.0f;
    float thresholdDb = -10.0f;
};
