#pragma once

#include "views/CReferenceCounted.h"

#include <cstdint>
#include <string>

// Font style flags; 0 is the plain style.
enum CTxtFace : int32_t {
    kNormalFace = 0,
    kBoldFace = 1,
    kItalicFace = 2,
    kUnderlineFace = 4,
};

// Face name, size in pixels and style of a font; shared by reference.
class CFontSpec : public CReferenceCounted {
  public:
    CFontSpec(std::string faceName, int32_t sizePx, int32_t style = kNormalFace)
        : faceName_(std::move(faceName)), sizePx_(sizePx), style_(style) {}

    const std::string& getName() const { return faceName_; }
    int32_t getSize() const { return sizePx_; }
    int32_t getStyle() const { return style_; }

  private:
    std::string faceName_;
    int32_t sizePx_;
    int32_t style_;
};

enum class StockFont {
    kSystem,    // "Arial" 12
    kVeryBig,   // "Arial" 18
    kBig,       // "Arial" 14
    kNormal,    // "Arial" 12
    kSmall,     // "Arial" 11
    kSmaller,   // "Arial" 10
    kVerySmall, // "Arial" 9
    kSymbol,    // "Symbol" 13
};

// The framework's shared fonts. They live as long as the program; take a reference (addRef)
// when keeping one, like any other font.
CFontSpec* stockFont(StockFont which);
