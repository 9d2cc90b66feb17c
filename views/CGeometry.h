#pragma once

#include <cstdint>

// Integer pixel point: h grows to the right, v grows downward.
struct CPoint {
    int32_t h = 0;
    int32_t v = 0;

    constexpr CPoint() = default;
    constexpr CPoint(int32_t x, int32_t y) : h(x), v(y) {}

    CPoint& offset(int32_t dx, int32_t dy) {
        h += dx;
        v += dy;
        return *this;
    }
    constexpr bool operator==(const CPoint& o) const { return h == o.h && v == o.v; }
    constexpr bool operator!=(const CPoint& o) const { return !(*this == o); }
};

// Integer pixel rectangle; right and bottom are exclusive when it is filled.
struct CRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int32_t l, int32_t t, int32_t r, int32_t b)
        : left(l), top(t), right(r), bottom(b) {}

    constexpr int32_t width() const { return right - left; }
    constexpr int32_t height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }

    CRect& offset(int32_t dx, int32_t dy);
    // Keeps the common part; a rectangle that does not meet `other` becomes empty.
    CRect& intersect(const CRect& other);
    // Smallest rectangle holding both; an empty side is ignored.
    CRect& unite(const CRect& other);
    // Swaps the edges so that left <= right and top <= bottom.
    CRect& normalize();
    // Both edges count as inside.
    bool pointInside(const CPoint& p) const;
    // True when the two rectangles share at least one pixel.
    bool overlaps(const CRect& other) const;

    constexpr bool operator==(const CRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const CRect& o) const { return !(*this == o); }
};
