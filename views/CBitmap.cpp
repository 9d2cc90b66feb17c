#include "views/CBitmap.h"

#include "views/BitmapResample.h"
#include "views/CDrawSurface.h"
#include "views/DeviceScale.h"
#include "views/PngDecoder.h"
#include "views/ViewPlatform.h"

#include <algorithm>
#include <cmath>

uint32_t decodedPixel(CColor c) {
    if (c.alpha == 0) return 0;
    const auto scale = [&](uint8_t sample) { return (uint32_t(sample) * c.alpha) >> 8; };
    return uint32_t(c.alpha) << 24 | scale(c.red) << 16 | scale(c.green) << 8 | scale(c.blue);
}

uint32_t premultipliedPixel(CColor c) {
    const auto scale = [&](uint8_t sample) { return (uint32_t(sample) * c.alpha + 127) / 255; };
    return uint32_t(c.alpha) << 24 | scale(c.red) << 16 | scale(c.green) << 8 | scale(c.blue);
}

CBitmap::CBitmap(int32_t width, int32_t height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(std::size_t(width_) * std::size_t(height_), 0u) {}

CBitmap::CBitmap(int32_t resourceId) : resourceId_(resourceId) {
    const ResourceBytes bytes = viewPlatform().findResourcePng(resourceId);
    decodePng(bytes.data, bytes.size);
}

namespace {

bool sameScale(double a, double b) {
    return std::fabs(a - b) < 1e-6;
}

// Scaled artwork with several frames is stored with its frames side by side (it compresses far
// better so); frame f of an image with frames `frameHeight` editor pixels tall goes back to the
// device rows where the editor's film-strip arithmetic looks for it. False when `cells` does
// not have that shape.
bool stackFrames(const CBitmap& cells, int32_t frameHeight, double scale, CBitmap& column) {
    const int32_t width = column.getWidth();
    const int32_t frames = width > 0 ? cells.getWidth() / width : 0;
    if (frames < 2 || cells.getWidth() != frames * width || frameHeight <= 0) return false;
    for (int32_t frame = 0; frame < frames; ++frame) {
        const int32_t top = toDevicePixels(frame * frameHeight, scale);
        const int32_t rows = toDevicePixels((frame + 1) * frameHeight, scale) - top;
        if (rows > cells.getHeight() || top + rows > column.getHeight()) return false;
        for (int32_t y = 0; y < rows; ++y)
            std::copy_n(cells.pixels() + std::size_t(y) * std::size_t(cells.getWidth()) +
                            std::size_t(frame * width),
                        width, column.pixels() + std::size_t(top + y) * std::size_t(width));
    }
    return true;
}

} // namespace

const CBitmap* CBitmap::embeddedRepresentation(double scale) const {
    for (const SharedRef<CBitmap>& image : representations_)
        if (sameScale(image->scale_, scale)) return image.get();
    if (resourceId_ == 0) return nullptr;
    for (int32_t percent : kArtworkScalePercents) {
        if (!sameScale(percent / 100.0, scale)) continue;
        const ResourceBytes bytes =
            viewPlatform().findResourcePng(scaledResourceId(resourceId_, percent));
        CBitmap decoded;
        if (!decoded.decodePng(bytes.data, bytes.size)) return nullptr;
        auto image = SharedRef<CBitmap>::adopt(
            new CBitmap(toDevicePixels(width_, scale), toDevicePixels(height_, scale)));
        if (decoded.width_ == image->width_ && decoded.height_ == image->height_) {
            image->pixels_ = std::move(decoded.pixels_);
        } else {
            // Side by side: as many frames as the cells, each an equal part of this image.
            const int32_t frames = image->width_ > 0 ? decoded.width_ / image->width_ : 0;
            // Artwork of any other shape would misplace every frame: not used.
            if (frames < 2 || height_ % frames != 0 ||
                !stackFrames(decoded, height_ / frames, scale, *image))
                return nullptr;
        }
        image->scale_ = scale;
        representations_.push_back(image);
        return image.get();
    }
    return nullptr;
}

const CBitmap& CBitmap::representationFor(double scale) const {
    if (sameScale(scale, scale_) || !isLoaded() || !(scale > 0.0)) return *this;
    if (const CBitmap* exact = embeddedRepresentation(scale)) return *exact;
    // Resampled from the smallest artwork at or above the scale, so that it only shrinks.
    const CBitmap* source = this;
    for (int32_t percent : kArtworkScalePercents) {
        if (percent / 100.0 < scale) continue;
        if (const CBitmap* larger = embeddedRepresentation(percent / 100.0)) {
            source = larger;
            break;
        }
    }
    auto image =
        SharedRef<CBitmap>::adopt(new CBitmap(int32_t(std::lround(width_ / scale_ * scale)),
                                              int32_t(std::lround(height_ / scale_ * scale))));
    resampleArea(*source, *image);
    image->scale_ = scale;
    representations_.push_back(image);
    return *image;
}

CBitmap* CBitmap::fromPng(const unsigned char* data, std::size_t size) {
    auto* bitmap = new CBitmap();
    bitmap->decodePng(data, size);
    return bitmap;
}

bool CBitmap::decodePng(const unsigned char* data, std::size_t size) {
    DecodedPng png;
    if (!::decodePng(data, size, png)) return false;
    width_ = static_cast<int32_t>(png.width);
    height_ = static_cast<int32_t>(png.height);
    pixels_.resize(std::size_t(png.width) * png.height);
    const uint8_t* rgba = png.rgba.data();
    for (uint32_t& pixel : pixels_) {
        pixel = decodedPixel({rgba[0], rgba[1], rgba[2], rgba[3]});
        rgba += 4;
    }
    return true;
}

uint32_t CBitmap::pixelAt(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)];
}

void CBitmap::fill(CColor color) {
    std::fill(pixels_.begin(), pixels_.end(), premultipliedPixel(color));
}

void CBitmap::draw(CDrawSurface& surface, const CRect& dest, CPoint sourceOffset) const {
    surface.drawBitmap(*this, dest, sourceOffset);
}

void CBitmap::drawTransparent(CDrawSurface& surface, const CRect& dest, CPoint sourceOffset) const {
    surface.drawBitmap(*this, dest, sourceOffset);
}
