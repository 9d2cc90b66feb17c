#pragma once

#include "views/CControl.h"

// The strip of dB labels and ticks beside the gain-reduction meter, and the Meter Scale
// switch: its value is one of 0, 0.25, 0.5, 0.75 ("6 dB" ... "48 dB"); a left click steps it
// up, a right click down, anywhere on or around the meter block.
class CScala : public CControl {
  public:
    // No background; the click area reaches 10 pixels left, 26 up, 50 right and 10 down of
    // `size`, over both meters and their captions. `tag` is the Meter Scale parameter's.
    CScala(CControlObserver* listener, const CRect& size, int32_t tag);

    void draw(CDrawSurface& surface) override;
    CMouseResult onMouseDown(CPoint where, int32_t buttons) override;
};
