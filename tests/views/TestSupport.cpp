#include "TestSupport.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>

CColor pixelColor(const CBitmap& bitmap, int32_t x, int32_t y) {
    const uint32_t p = bitmap.pixelAt(x, y);
    return {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)};
}

bool pixelIs(const CBitmap& bitmap, int32_t x, int32_t y, CColor color, int tolerance) {
    const CColor p = pixelColor(bitmap, x, y);
    const auto near = [&](uint8_t a, uint8_t b) { return std::abs(int(a) - int(b)) <= tolerance; };
    return near(p.red, color.red) && near(p.green, color.green) && near(p.blue, color.blue) &&
           near(p.alpha, color.alpha);
}

std::vector<int32_t> columnsOf(const CBitmap& bitmap, int32_t y, CColor color) {
    std::vector<int32_t> xs;
    for (int32_t x = 0; x < bitmap.getWidth(); ++x)
        if (pixelIs(bitmap, x, y, color)) xs.push_back(x);
    return xs;
}

std::vector<int32_t> rowsOf(const CBitmap& bitmap, int32_t x, CColor color) {
    std::vector<int32_t> ys;
    for (int32_t y = 0; y < bitmap.getHeight(); ++y)
        if (pixelIs(bitmap, x, y, color)) ys.push_back(y);
    return ys;
}

CRect inkBounds(const CBitmap& bitmap, CColor background) {
    CRect box;
    for (int32_t y = 0; y < bitmap.getHeight(); ++y)
        for (int32_t x = 0; x < bitmap.getWidth(); ++x)
            if (!pixelIs(bitmap, x, y, background)) box.unite({x, y, x + 1, y + 1});
    return box;
}

void Recorder::valueChanged(CControl* control) {
    events.push_back("changed");
    changedValues.push_back(control->getValue());
}
void Recorder::editBegun(CControl*) {
    events.push_back("editBegun");
}
void Recorder::editEnded(CControl*) {
    events.push_back("editEnded");
}
int32_t Recorder::modifierClicked(CControl*, int32_t) {
    events.push_back("modifierClicked");
    return modifierAnswer;
}
void Recorder::beginEdit(int32_t tag) {
    events.push_back("frameBegin " + std::to_string(tag));
}
void Recorder::endEdit(int32_t tag) {
    events.push_back("frameEnd " + std::to_string(tag));
}
void Recorder::idleWhileTracking() {
    events.push_back("idle");
}

int Recorder::count(const std::string& prefix) const {
    return int(std::count_if(events.begin(), events.end(), [&](const std::string& e) {
        return e.compare(0, prefix.size(), prefix) == 0;
    }));
}

namespace {
void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void noFlush(png_structp) {}
} // namespace

std::vector<unsigned char> encodePng(const PngLayout& layout) {
    std::vector<unsigned char> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, appendBytes, noFlush);
    png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colorType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 2 < layout.paletteRgb.size(); i += 3)
        palette.push_back(
            {layout.paletteRgb[i], layout.paletteRgb[i + 1], layout.paletteRgb[i + 2]});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!layout.transparency.empty())
        png_set_tRNS(png, info, layout.transparency.data(), int(layout.transparency.size()),
                     nullptr);
    png_write_info(png, info);
    const std::size_t stride = layout.rowBytes.size() / layout.height;
    std::vector<png_bytep> rows;
    for (uint32_t y = 0; y < layout.height; ++y)
        rows.push_back(const_cast<png_bytep>(layout.rowBytes.data() + y * stride));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<unsigned char> encodeRgbaPng(uint32_t width, uint32_t height,
                                         const std::vector<CColor>& pixels) {
    PngLayout layout;
    layout.width = width;
    layout.height = height;
    layout.colorType = PNG_COLOR_TYPE_RGBA;
    for (const CColor& c : pixels)
        layout.rowBytes.insert(layout.rowBytes.end(), {c.red, c.green, c.blue, c.alpha});
    return encodePng(layout);
}
