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
    // the callbacks and the two flags are only stored.
    void setFont(CFontSpec* font);
    CFontSpec* getFont() const { return look_.font.get(); }
    void setFontColor(CColor color) { setLookColor(look_.fontColor, color); }
    CColor getFontColor() const { return look_.fontColor; }
    void setBackColor(CColor color) { setLookColor(look_.backColor, color); }
    void setFrameColor(CColor color) { setLookColor(look_.frameColor, color); }
    void setShadowColor(CColor color) { setLookColor(look_.shadowColor, color); }
    void setHoriAlign(int32_t align);
    void setStyle(int32_t style);
    int32_t getStyle() const { return look_.style; }
    void setAntialias(bool antialias) { look_.antialias = antialias; }
    void setTextTransparency(bool transparent) { look_.textTransparency = transparent; }
    void setTextFunction(void (*function)(float, char*)) { text_.textFunction = function; }
    void setTextFunction(void (*function)(float, char*, void*), void* userData);
    void setParseFunction(void (*function)(char*, float&)) { text_.parseFunction = function; }

    const TextLook& getLook() const { return look_; }
    const ValueTextFunctions& getTextFunctions() const { return text_; }

  protected:
    TextLook look_;
    ValueTextFunctions text_;

  private:
    void setLookColor(CColor& member, CColor color);
};
