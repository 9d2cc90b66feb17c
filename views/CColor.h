#pragma once

#include <cstdint>

// Straight (not premultiplied) colour, bytes in the order red, green, blue, alpha.
struct CColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;

    constexpr bool operator==(const CColor& o) const {
        return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
    }
    constexpr bool operator!=(const CColor& o) const { return !(*this == o); }
};

constexpr CColor kColorTransparent{255, 255, 255, 0};
constexpr CColor kColorBlack{0, 0, 0, 255};
constexpr CColor kColorWhite{255, 255, 255, 255};
constexpr CColor kColorGrey{127, 127, 127, 255};
constexpr CColor kColorRed{255, 0, 0, 255};
constexpr CColor kColorGreen{0, 255, 0, 255};
constexpr CColor kColorBlue{0, 0, 255, 255};
constexpr CColor kColorYellow{255, 255, 0, 255};
constexpr CColor kColorMagenta{255, 0, 255, 255};
constexpr CColor kColorCyan{0, 255, 255, 255};
