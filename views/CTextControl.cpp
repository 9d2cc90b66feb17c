#include "views/CTextControl.h"

void CTextControl::setFont(CFontSpec* font) {
    if (font) look_.font = SharedRef<CFontSpec>(font);
    setDirty(true);
}

void CTextControl::setLookColor(CColor& member, CColor color) {
    if (member == color) return;
    member = color;
    setDirty(true);
}

void CTextControl::setHoriAlign(int32_t align) {
    if (look_.horizontalAlign == align) return;
    look_.horizontalAlign = align;
    setDirty(true);
}

void CTextControl::setStyle(int32_t style) {
    if (look_.style == style) return;
    look_.style = style;
    setDirty(true);
}

void CTextControl::setTextFunction(void (*function)(float, char*, void*), void* userData) {
    text_.textFunctionWithData = function;
    text_.userData = userData;
}
