#pragma once

#include "views/CColor.h"
#include "views/CDrawSurface.h"
#include "views/CFontSpec.h"
#include "views/CReferenceCounted.h"

#include <cstddef>
#include <cstdint>

class CControl;
class CBitmap;

// Text style flags of text controls.
enum CTextStyle : int32_t {
    k3DIn = 0x80,
    k3DOut = 0x100,
    kNoTextStyle = 0x800,
    kNoDrawStyle = 0x1000,
    kNoFrame = 0x4000,
};

constexpr std::size_t kValueTextSize = 256;

// Value-to-text callbacks of a text control; the one with user data takes precedence.
struct ValueTextFunctions {
    void (*textFunction)(float value, char* text) = nullptr;
    void (*textFunctionWithData)(float value, char* text, void* userData) = nullptr;
    void* userData = nullptr;

    // Fills `text` (kValueTextSize bytes, cleared first) from the callbacks, else "%2.2f".
    void format(float value, char* text) const;
};

// How a text control looks; shared by the readout and the text knob.
struct TextLook {
    int32_t horizontalAlign = kCenterText;
    int32_t style = 0;
    SharedRef<CFontSpec> font{stockFont(StockFont::kNormal)};
    CColor fontColor = kColorWhite;
    CColor backColor = kColorBlack;
    CColor frameColor = kColorBlack;
};

// The text controls' drawing: background (bitmap, or back colour and frame), 3-D edges and
// text, in that order, following `look`. Clears the control's dirty flag first.
// `replacementBackground`, when given, is drawn instead of the control's own background.
void drawTextDisplay(CControl& control, CDrawSurface& surface, const TextLook& look,
                     const char* text, CBitmap* replacementBackground = nullptr);
