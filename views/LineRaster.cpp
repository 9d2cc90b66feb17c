#include "views/LineRaster.h"

#include <algorithm>
#include <cstdlib>

namespace {

// A pen `widthPx` wide centred on pixel p covers p - before ... p + after.
int32_t before(int32_t widthPx) {
    return (widthPx - 1) / 2;
}
int32_t after(int32_t widthPx) {
    return widthPx / 2;
}

} // namespace

std::vector<CRect> rasterizeLine(CPoint from, CPoint to, int32_t widthPx) {
    widthPx = std::max(widthPx, 1);
    const int32_t lo = before(widthPx);
    const int32_t hi = after(widthPx);
    std::vector<CRect> spans;
    if (from.v == to.v) {
        spans.push_back(
            {std::min(from.h, to.h), from.v - lo, std::max(from.h, to.h) + 1, from.v + hi + 1});
        return spans;
    }
    if (from.h == to.h) {
        spans.push_back(
            {from.h - lo, std::min(from.v, to.v), from.h + hi + 1, std::max(from.v, to.v) + 1});
        return spans;
    }
    // Bresenham; each pixel widened across the major direction.
    const int32_t dx = std::abs(to.h - from.h);
    const int32_t dy = -std::abs(to.v - from.v);
    const int32_t sx = from.h < to.h ? 1 : -1;
    const int32_t sy = from.v < to.v ? 1 : -1;
    const bool xMajor = dx >= -dy;
    int32_t error = dx + dy;
    CPoint p = from;
    while (true) {
        if (xMajor)
            spans.push_back({p.h, p.v - lo, p.h + 1, p.v + hi + 1});
        else
            spans.push_back({p.h - lo, p.v, p.h + hi + 1, p.v + 1});
        if (p == to) break;
        const int32_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            p.h += sx;
        }
        if (twice <= dx) {
            error += dx;
            p.v += sy;
        }
    }
    return spans;
}

std::vector<CRect> rasterizeFrame(const CRect& rect, int32_t widthPx) {
    widthPx = std::max(widthPx, 1);
    const int32_t lo = before(widthPx);
    const int32_t hi = after(widthPx);
    const CRect outer{rect.left - lo, rect.top - lo, rect.right + hi, rect.bottom + hi};
    const CRect hole{rect.left + hi + 1, rect.top + hi + 1, rect.right - 1 - lo,
                     rect.bottom - 1 - lo};
    if (rect.isEmpty()) return {};
    if (hole.isEmpty()) return {outer};
    return {
        {outer.left, outer.top, outer.right, hole.top},
        {outer.left, hole.bottom, outer.right, outer.bottom},
        {outer.left, hole.top, hole.left, hole.bottom},
        {hole.right, hole.top, outer.right, hole.bottom},
    };
}
