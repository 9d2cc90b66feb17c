#include "CustomViewsTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

CColor blendOver(CColor c, CColor below) {
    const double a = c.alpha / 255.0;
    const auto mix = [&](uint8_t top, uint8_t bottom) {
        return uint8_t(std::lround(top * a + bottom * (1.0 - a)));
    };
    return {mix(c.red, below.red), mix(c.green, below.green), mix(c.blue, below.blue), 255};
}

Screen::Screen(int32_t width, int32_t height)
    : surface_(std::make_unique<COffscreenSurface>(nullptr, width, height, kColorBlack)) {}

CColor Screen::at(const CRect& view, int32_t x, int32_t y) const {
    return pixelColor(bitmap(), view.left + x, view.top + y);
}

bool Screen::is(const CRect& view, int32_t x, int32_t y, CColor color, int tolerance) const {
    return pixelIs(bitmap(), view.left + x, view.top + y, color, tolerance);
}

std::vector<int32_t> Screen::rowsOf(const CRect& view, int32_t x, CColor color) const {
    std::vector<int32_t> rows;
    for (int32_t y = 0; y < view.height(); ++y)
        if (is(view, x, y, color)) rows.push_back(y);
    return rows;
}

std::vector<int32_t> Screen::columnsOf(const CRect& view, int32_t y, CColor color) const {
    std::vector<int32_t> columns;
    for (int32_t x = 0; x < view.width(); ++x)
        if (is(view, x, y, color)) columns.push_back(x);
    return columns;
}

bool Screen::sameAs(const Screen& other, const CRect& area) const {
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x)
            if (bitmap().pixelAt(x, y) != other.bitmap().pixelAt(x, y)) return false;
    return true;
}

void RecordingDevice::drawText(const char* utf8, double x, double baselineY,
                               const FontRequest& font, CColor color, bool antialias) {
    texts.push_back({utf8, x, baselineY, font, color, antialias, clip_});
}

TextMetrics RecordingDevice::measureText(const char* utf8, const FontRequest&) {
    return {kCharWidthPx * double(std::strlen(utf8)), kAscentPx, kDescentPx};
}

RecordingSurface::RecordingSurface() {
    auto owned = std::make_unique<RecordingDevice>();
    device = owned.get();
    surface = std::make_unique<CDrawSurface>(std::move(owned));
}
