#pragma once

#include "views/CControl.h"
#include "views/TextDisplay.h"

#include <cstdint>

// A control that shows its value as text: the look (font, colours, alignment, style) and the
// value-to-text callbacks shared by the readouts and the text knob.
class CTextControl : public CControl {
  public:
    using CControl::CControl;

    // Font always marks the view dirty; colours, alignment and style only when they change;
    // the callbacks are only stored.
    void setFont(CFontSpec* font);
    CFontSpec* getFont() const { return look_.font.get(); }
    void setFontColor(CColor color) { setLookColor(look_.fontColor, color); }
    CColor getFontColor() const { return look_.fontColor; }
    void setBackColor(CColor color) { setLookColor(look_.backColor, color); }
    void setFrameColor(CColor color) { setLookColor(look_.frameColor, color); }
    void setHoriAlign(int32_t align);
    void setStyle(int32_t style);
    int32_t getStyle() const { return look_.style; }
    void setTextFunction(void (*function)(float, char*)) { text_.textFunction = function; }
    void setTextFunction(void (*function)(float, char*, void*), void* userData);

    const TextLook& getLook() const { return look_; }

  protected:
    TextLook look_;
    ValueTextFunctions text_;

  private:
    void setLookColor(CColor& member, CColor color);
};
