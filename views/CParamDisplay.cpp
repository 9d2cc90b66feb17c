#include "views/CParamDisplay.h"

#include <cstring>

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int32_t style)
    : CControl(size, nullptr, 0, background) {
    look_.style = style;
}

void CParamDisplay::draw(CDrawSurface& surface) {
    char text[kValueTextSize];
    text_.format(value_, text);
    drawTextDisplay(*this, surface, look_, text);
}

void CParamDisplay::setFont(CFontSpec* font) {
    if (font) look_.font = SharedRef<CFontSpec>(font);
    setDirty(true);
}

void CParamDisplay::setLookColor(CColor& member, CColor color) {
    if (member == color) return;
    member = color;
    setDirty(true);
}

void CParamDisplay::setFontColor(CColor color) {
    setLookColor(look_.fontColor, color);
}
void CParamDisplay::setBackColor(CColor color) {
    setLookColor(look_.backColor, color);
}
void CParamDisplay::setFrameColor(CColor color) {
    setLookColor(look_.frameColor, color);
}
void CParamDisplay::setShadowColor(CColor color) {
    setLookColor(look_.shadowColor, color);
}

void CParamDisplay::setHoriAlign(int32_t align) {
    if (look_.horizontalAlign == align) return;
    look_.horizontalAlign = align;
    setDirty(true);
}

void CParamDisplay::setStyle(int32_t style) {
    if (look_.style == style) return;
    look_.style = style;
    setDirty(true);
}

void CParamDisplay::setTextFunction(void (*function)(float, char*, void*), void* userData) {
    text_.textFunctionWithData = function;
    text_.userData = userData;
}

bool CParamDisplay::isOfClass(const char* className) const {
    return (className && std::strcmp(className, "CParamDisplay") == 0) ||
           CControl::isOfClass(className);
}

CView* CParamDisplay::clone() const {
    return new CParamDisplay(*this);
}
