#pragma once

#include "views/ArtworkScales.h"
#include "views/CColor.h"
#include "views/CGeometry.h"
#include "views/CReferenceCounted.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CDrawSurface;

// A 32-bit image, top row first, each pixel premultiplied alpha packed as
// a << 24 | r << 16 | g << 8 | b (native byte order).
class CBitmap : public CReferenceCounted {
  public:
    // A transparent image of the given size (negative sizes count as 0).
    CBitmap(int32_t width, int32_t height);
    // The PNG image the view platform finds under this resource number; empty (0 x 0) when
    // there is none or it is broken.
    explicit CBitmap(int32_t resourceId);
    // Decodes PNG bytes; empty (0 x 0) when they are not a readable PNG.
    static CBitmap* fromPng(const unsigned char* data, std::size_t size);

    // Device pixels per editor pixel: 1 for artwork and editor-sized buffers, the display
    // scale for images drawn at device resolution.
    double getScale() const { return scale_; }
    void setScale(double scale) { scale_ = scale; }
    // The image as drawn at `scale`: itself, the artwork drawn for that scale, or a smooth
    // resample of the nearest larger one (made once and kept).
    const CBitmap& representationFor(double scale) const;

    int32_t getWidth() const { return width_; }
    int32_t getHeight() const { return height_; }
    bool isLoaded() const { return width_ > 0 && height_ > 0; }

    uint32_t* pixels() { return pixels_.data(); }
    const uint32_t* pixels() const { return pixels_.data(); }
    // The stored (premultiplied) pixel; transparent black outside the image.
    uint32_t pixelAt(int32_t x, int32_t y) const;
    // Every pixel set to `color` (premultiplied on the way).
    void fill(CColor color);

    // Copies the area that starts at `sourceOffset` and has the size of `dest` onto `dest`.
    // A negative offset shifts the image right or down inside `dest`.
    void draw(CDrawSurface& surface, const CRect& dest, CPoint sourceOffset = {}) const;
    // Same pixels as draw: blending always honours the image's alpha.
    void drawTransparent(CDrawSurface& surface, const CRect& dest, CPoint sourceOffset = {}) const;

  private:
    CBitmap() = default;
    bool decodePng(const unsigned char* data, std::size_t size);

    const CBitmap* embeddedRepresentation(double scale) const;

    int32_t width_ = 0;
    int32_t height_ = 0;
    double scale_ = 1.0;
    std::vector<uint32_t> pixels_;
    // The resource the image came from (0: none), for its artwork at other scales.
    int32_t resourceId_ = 0;
    mutable std::vector<SharedRef<CBitmap>> representations_;
};

// One straight colour as a decoded image pixel: c * a >> 8, all zero when fully transparent.
uint32_t decodedPixel(CColor color);
// One straight colour premultiplied with rounding (opaque colours stay exact), as fills are.
uint32_t premultipliedPixel(CColor color);
