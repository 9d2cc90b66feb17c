#include "views/CParamDisplay.h"

#include <cstring>

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int32_t style)
    : CTextControl(size, nullptr, 0, background) {
    look_.style = style;
}

void CParamDisplay::draw(CDrawSurface& surface) {
    char text[kValueTextSize];
    text_.format(value_, text);
    drawTextDisplay(*this, surface, look_, text);
}

bool CParamDisplay::isOfClass(const char* className) const {
    return (className && std::strcmp(className, "CParamDisplay") == 0) ||
           CControl::isOfClass(className);
}

CView* CParamDisplay::clone() const {
    return new CParamDisplay(*this);
}
