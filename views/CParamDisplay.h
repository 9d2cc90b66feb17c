#pragma once

#include "views/CControl.h"
#include "views/TextDisplay.h"

// Text readout of its value; takes no input.
class CParamDisplay : public CControl {
  public:
    CParamDisplay(const CRect& size, CBitmap* background = nullptr, int32_t style = 0);

    void draw(CDrawSurface& surface) override;

    // Font always marks the view dirty; colours, alignment and style only when they change.
    void setFont(CFontSpec* font);
    CFontSpec* getFont() const { return look_.font.get(); }
    void setFontColor(CColor color);
    CColor getFontColor() const { return look_.fontColor; }
    void setBackColor(CColor color);
    void setFrameColor(CColor color);
    void setShadowColor(CColor color);
    void setHoriAlign(int32_t align);
    void setStyle(int32_t style);
    int32_t getStyle() const { return look_.style; }
    void setAntialias(bool antialias) { look_.antialias = antialias; }
    void setTextTransparency(bool transparent) { look_.textTransparency = transparent; }
    void setTextFunction(void (*function)(float, char*)) { text_.textFunction = function; }
    void setTextFunction(void (*function)(float, char*, void*), void* userData);

    bool isOfClass(const char* className) const override;
    CView* clone() const override;

  private:
    void setLookColor(CColor& member, CColor color);

    TextLook look_;
    ValueTextFunctions text_;
};
