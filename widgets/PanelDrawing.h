#pragma once

#include "views/CColor.h"
#include "views/CDrawSurface.h"
#include "views/CGeometry.h"
#include "views/CView.h"

#include <cstdint>

// Colours shared by the graph, the meters and the scale.
constexpr CColor kPanelFrameGrey{66, 66, 66, 255};
constexpr CColor kLevelCyan{0, 204, 255, 255};
constexpr CColor kHighlightCyan{51, 215, 255, 255};
constexpr CColor kMarkRed{255, 20, 0, 255};
constexpr CColor kCornerShade{0, 0, 0, 100};

// Far enough outside any view that a coordinate limited to it draws nothing visible, yet
// small enough that pixel arithmetic on it cannot overflow.
constexpr int32_t kFarOutsidePx = 1 << 20;

// Truncates toward zero and limits to lowest ... highest; NaN gives `ifNaN`. Limiting before
// the conversion keeps huge values defined and, for whole-number limits, lands on the same
// pixel as limiting afterwards.
int32_t truncateToPixel(double value, int32_t lowest, int32_t highest, int32_t ifNaN);

// Fills x left..right, y top..bottom (exclusive ends, y order free) in `color`.
void fillPixels(CDrawSurface& surface, CColor color, const CRect& rect);
// As fillPixels, with `deviceRect` in the surface's device pixels.
void fillDevicePixels(CDrawSurface& surface, CColor color, const CRect& deviceRect);

// The 1-pixel grey ring around a width x height panel.
void framePanel(CDrawSurface& surface, int32_t width, int32_t height);
// Darkens the four corner pixels of a width x height panel.
void shadeCorners(CDrawSurface& surface, int32_t width, int32_t height);

// Builds an opaque black off-screen of width x height at the screen's scale, clipped to itself,
// lets `paint` draw in local coordinates, copies the result onto the view's rectangle and marks the
// view clean. Each draw owns its off-screen, so nothing stays allocated between redraws.
template <class Paint>
void drawThroughOffscreen(CView& view, CDrawSurface& screen, int32_t width, int32_t height,
                          Paint&& paint) {
    COffscreenSurface offscreen(view.getFrame(), width, height, kColorBlack, screen.getScale());
    offscreen.setClipRect({0, 0, width, height});
    paint(static_cast<CDrawSurface&>(offscreen));
    offscreen.copyFrom(screen, view.getViewSize());
    view.setDirty(false);
}
