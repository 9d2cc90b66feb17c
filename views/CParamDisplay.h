#pragma once

#include "views/CTextControl.h"

// Text readout of its value; takes no input.
class CParamDisplay : public CTextControl {
  public:
    CParamDisplay(const CRect& size, CBitmap* background = nullptr, int32_t style = 0);

    void draw(CDrawSurface& surface) override;
};
