#include "views/TextDisplay.h"

#include "views/CControl.h"

#include <cstdio>
#include <cstring>

void ValueTextFunctions::format(float value, char* text) const {
    std::memset(text, 0, kValueTextSize);
    if (textFunctionWithData)
        textFunctionWithData(value, text, userData);
    else if (textFunction)
        textFunction(value, text);
    else
        std::snprintf(text, kValueTextSize, "%2.2f", double(value));
    // A callback that wrote past its last byte must not make the draw run off the buffer.
    text[kValueTextSize - 1] = '\0';
}

namespace {

void drawEdge(CDrawSurface& surface, CPoint a, CPoint b, CPoint c) {
    surface.moveTo(a);
    surface.lineTo(b);
    surface.lineTo(c);
}

} // namespace

void drawTextDisplay(CControl& control, CDrawSurface& surface, const TextLook& look,
                     const char* text, CBitmap* replacementBackground) {
    control.setDirty(false);
    if (look.style & kNoDrawStyle) return;
    const CRect& size = control.getViewSize();

    CBitmap* background = replacementBackground ? replacementBackground : control.getBackground();
    if (background) {
        if (control.getTransparency())
            background->drawTransparent(surface, size, control.getBackgroundOffset());
        else
            background->draw(surface, size, control.getBackgroundOffset());
    } else if (!control.getTransparency()) {
        surface.setFillColor(look.backColor);
        surface.fillRect(size);
        if (!(look.style & (k3DIn | k3DOut | kNoFrame))) {
            surface.setLineWidth(1);
            surface.setFrameColor(look.frameColor);
            surface.drawRect(size);
        }
    }

    if (look.style & (k3DIn | k3DOut)) {
        const CRect r{size.left, size.top + 1, size.right - 1, size.bottom};
        const bool in = (look.style & k3DIn) != 0;
        surface.setLineWidth(1);
        surface.setFrameColor(in ? look.backColor : look.frameColor);
        drawEdge(surface, {r.left, r.bottom}, {r.left, r.top}, {r.right, r.top});
        surface.setFrameColor(in ? look.frameColor : look.backColor);
        drawEdge(surface, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom});
    }

    if ((look.style & kNoTextStyle) || !text || !*text) return;
    const CRect savedClip = surface.getClipRect();
    CRect clip = size;
    surface.setClipRect(clip.intersect(savedClip));
    surface.setFont(look.font.get());
    surface.setFontColor(look.fontColor);
    surface.drawString(text, size, look.horizontalAlign);
    surface.setClipRect(savedClip);
}
