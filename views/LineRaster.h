#pragma once

#include "views/CGeometry.h"

#include <cstdint>
#include <vector>

// The pixel rectangles that make up an integer line from `from` to `to`, both end pixels
// included, `widthPx` pixels thick across its major direction (centred, extra pixel below or
// right). Horizontal and vertical lines come out as one rectangle.
std::vector<CRect> rasterizeLine(CPoint from, CPoint to, int32_t widthPx);

// The pixel rectangles of a stroke through (left, top) and (right - 1, bottom - 1) of the
// normalized `rect`, `widthPx` thick, without overlaps (so translucent strokes blend once).
std::vector<CRect> rasterizeFrame(const CRect& rect, int32_t widthPx);
