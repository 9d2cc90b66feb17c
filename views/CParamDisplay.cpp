#include "views/CParamDisplay.h"

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int32_t style)
    : CTextControl(size, nullptr, 0, background) {
    look_.style = style;
}

void CParamDisplay::draw(CDrawSurface& surface) {
    char text[kValueTextSize];
    text_.format(value_, text);
    drawTextDisplay(*this, surface, look_, text);
}
