#pragma once

#include "views/CControl.h"

// Display of one of n images of the view's height, chosen by the value; takes no input.
class CMovieBitmap : public CControl {
  public:
    CMovieBitmap(const CRect& size, CControlObserver* listener, int32_t tag, CBitmap* background,
                 CPoint offset = {});

    void draw(CDrawSurface& surface) override;
    int32_t getFrameCount() const { return frameCount_; }

  private:
    CPoint offset_;
    int32_t frameCount_;
};
