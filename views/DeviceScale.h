#pragma once

#include "views/CGeometry.h"

#include <cmath>
#include <cstdint>

// The editor is laid out in its own pixels; a display scale maps them onto device pixels.
// Edges are rounded the same way everywhere, so rectangles that touch in editor pixels touch
// on the device too, and a scale of 1 changes nothing.

inline int32_t toDevicePixels(int32_t editorPx, double scale) {
    return static_cast<int32_t>(std::floor(editorPx * scale + 0.5));
}

inline CRect toDeviceRect(const CRect& editorRect, double scale) {
    return {toDevicePixels(editorRect.left, scale), toDevicePixels(editorRect.top, scale),
            toDevicePixels(editorRect.right, scale), toDevicePixels(editorRect.bottom, scale)};
}

// The editor pixel that holds a device pixel (input arrives in device pixels).
inline CPoint toEditorPoint(CPoint devicePoint, double scale) {
    return {static_cast<int32_t>(std::floor(devicePoint.h / scale)),
            static_cast<int32_t>(std::floor(devicePoint.v / scale))};
}

// The smallest editor rectangle that covers every pixel of `deviceRect`.
inline CRect toEditorRectCovering(const CRect& deviceRect, double scale) {
    return {static_cast<int32_t>(std::floor(deviceRect.left / scale)),
            static_cast<int32_t>(std::floor(deviceRect.top / scale)),
            static_cast<int32_t>(std::ceil(deviceRect.right / scale)),
            static_cast<int32_t>(std::ceil(deviceRect.bottom / scale))};
}
