#pragma once

#include "views/CControl.h"
#include "views/LinearDrag.h"
#include "views/TextDisplay.h"

#include <cstdint>

// A control that shows its value as text over a small plate and is dragged like a knob:
// right or up increases, 600 pixels sweep the range (fineFactor times more with shift).
// It has no circular mode and ignores alt and the host's knob mode.
class CTextKnob : public CControl {
  public:
    CTextKnob(const CRect& size, CControlObserver* listener, int32_t tag, CBitmap* background);

    void draw(CDrawSurface& surface) override;
    CMouseResult onMouseDown(CPoint where, int32_t buttons) override;
    CMouseResult onMouseUp(CPoint where, int32_t buttons) override;
    CMouseResult onMouseMoved(CPoint where, int32_t buttons) override;
    bool onWheel(CPoint where, float distance, int32_t buttons) override;
    int32_t onKeyDown(const CKeyCode& key) override;
    bool isOfClass(const char* className) const override;
    CView* clone() const override;

    // Font always marks the view dirty; colours, alignment and style only when they change;
    // the callbacks, the two flags and the fine factor are only stored.
    virtual void setFont(CFontSpec* font);
    virtual void setFontColor(CColor color);
    virtual void setBackColor(CColor color);
    virtual void setFrameColor(CColor color);
    virtual void setShadowColor(CColor color);
    virtual void setAntialias(bool antialias);
    virtual void setTextAlign(int32_t align);
    virtual void setTextFunction(void (*function)(float, char*, void*), void* userData);
    virtual void setTextFunction(void (*function)(float, char*));
    virtual void setParseFunction(void (*function)(char*, float&));
    virtual void setStyle(int32_t style);
    virtual void setTextTransparency(bool transparent);
    // Factors that are not finite and positive are ignored: they would turn the drag into
    // infinities or NaN.
    virtual void setFineFactor(float factor);
    virtual float getFineFactor() const { return fineFactor_; }
    // Background (the replacement when given), edges and text, following the text look.
    virtual void drawText(CDrawSurface& surface, const char* text,
                          CBitmap* replacementBackground = nullptr);

    const TextLook& getLook() const { return look_; }
    const ValueTextFunctions& getTextFunctions() const { return text_; }

    static constexpr float kDragRangePx = 600.0f;

  private:
    void setLookColor(CColor& member, CColor color);

    ValueTextFunctions text_;
    TextLook look_;
    float fineFactor_ = 2.0f;
    LinearDrag drag_;
};
