#pragma once

#include <cairo.h>

#include <string>
#include <vector>

// An RGBA colour with components 0..1, so palette entries read like the drawing code's own.
struct Rgba {
    double r, g, b, a = 1.0;
};

// 8-bit colour as the editor's views write it; converted once here.
constexpr Rgba rgb8(int r, int g, int b, int a = 255) {
    return Rgba{r / 255.0, g / 255.0, b / 255.0, a / 255.0};
}

enum class Align { left, centre, right };

// One image being drawn: an ARGB surface with its cairo context and the few drawing moves the
// artwork repeats (panels, captions, glowing lamps). Owns both cairo objects. Drawing happens
// in the editor's own pixels; for a display scale the surface has its own size and the
// caller's transformation renders everything at that resolution.
class Canvas {
  public:
    Canvas(int widthPx, int heightPx);
    // An image of widthPx x heightPx editor pixels on a surface of device pixels.
    Canvas(int widthPx, int heightPx, int deviceWidthPx, int deviceHeightPx, double scale);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return context; }
    // The size in the editor's pixels, whatever the scale.
    int width() const { return widthPx; }
    int height() const { return heightPx; }
    double scale() const { return scaleFactor; }

    void setColour(const Rgba& colour);
    void roundedRect(double x, double y, double w, double h, double radiusPx);
    // A rounded panel with a vertical gradient from `top` to `bottom` and a 1-pixel border.
    void panel(double x, double y, double w, double h, double radiusPx, const Rgba& top,
               const Rgba& bottom, const Rgba& border);
    // Text in "Liberation Sans" with its baseline at y; x is the left, centre or right edge.
    void text(const std::string& s, double x, double baselineY, double sizePx, bool bold,
              Align align, const Rgba& colour);
    double textWidth(const std::string& s, double sizePx, bool bold);
    // A round lamp: a body of `colour`, and when lit a soft halo reaching out to haloRadiusPx.
    void lamp(double cx, double cy, double radiusPx, const Rgba& colour, bool lit,
              double haloRadiusPx);

    // Writes the image as PNG; false on any cairo failure.
    bool writePng(const std::string& path) const;

  private:
    void selectFont(double sizePx, bool bold);
    // The glyphs of s from the origin with the font's pair kerning applied; the toy text API
    // leaves pairs such as "PA" visibly loose at caption sizes.
    std::vector<cairo_glyph_t> kernedGlyphs(const std::string& s, double sizePx, bool bold,
                                            double& advancePx);

    int widthPx;
    int heightPx;
    double scaleFactor;
    cairo_surface_t* surface;
    cairo_t* context;
};
