#pragma once

#include "views/CColor.h"
#include "views/CGeometry.h"

#include <cstdint>
#include <string>

class CBitmap;

// Font as the back end needs it: face, size in pixels, style flags (CTxtFace).
struct FontRequest {
    std::string faceName;
    int32_t sizePx = 12;
    int32_t style = 0;
};

struct TextMetrics {
    double width = 0;   // advance of the whole string, pixels
    double ascent = 0;  // font ascent above the baseline, pixels
    double descent = 0; // font descent below the baseline, pixels
};

// The few pixel operations a platform must supply. Coordinates are device pixels; every
// operation is cut to the current clip. Shapes are never antialiased.
class DrawDevice {
  public:
    virtual ~DrawDevice() = default;

    // (0, 0, width, height) of the target.
    virtual CRect bounds() const = 0;
    // `clip` lies inside bounds().
    virtual void setClip(const CRect& clip) = 0;
    // Blends `color` over the pixels left <= x < right, top <= y < bottom (rect is normalized).
    virtual void fillRect(const CRect& rect, CColor color) = 0;
    // Blends the image with its top-left pixel at `origin`.
    virtual void drawImage(const CBitmap& image, CPoint origin) = 0;
    // One line of text with its baseline starting at (x, baselineY).
    virtual void drawText(const char* utf8, double x, double baselineY, const FontRequest& font,
                          CColor color, bool antialias) = 0;
    virtual TextMetrics measureText(const char* utf8, const FontRequest& font) = 0;
};
