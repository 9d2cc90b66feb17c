#include "views/CGeometry.h"

#include <algorithm>
#include <utility>

CRect& CRect::offset(int32_t dx, int32_t dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
    return *this;
}

CRect& CRect::intersect(const CRect& other) {
    left = std::max(left, other.left);
    top = std::max(top, other.top);
    right = std::max(left, std::min(right, other.right));
    bottom = std::max(top, std::min(bottom, other.bottom));
    return *this;
}

CRect& CRect::unite(const CRect& other) {
    if (other.isEmpty()) return *this;
    if (isEmpty()) return *this = other;
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
    return *this;
}

CRect& CRect::normalize() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    return *this;
}

bool CRect::pointInside(const CPoint& p) const {
    return left <= p.h && p.h <= right && top <= p.v && p.v <= bottom;
}

bool CRect::overlaps(const CRect& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
}
