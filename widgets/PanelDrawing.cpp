#include "widgets/PanelDrawing.h"

#include <cmath>

int32_t truncateToPixel(double value, int32_t lowest, int32_t highest, int32_t ifNaN) {
    if (std::isnan(value)) return ifNaN;
    if (value > highest) value = highest;
    if (value < lowest) value = lowest;
    return static_cast<int32_t>(value);
}

void fillPixels(CDrawSurface& surface, CColor color, const CRect& rect) {
    surface.setFillColor(color);
    surface.fillRect(rect);
}

void fillDevicePixels(CDrawSurface& surface, CColor color, const CRect& deviceRect) {
    surface.setFillColor(color);
    surface.fillDevicePixels(deviceRect);
}

void framePanel(CDrawSurface& surface, int32_t width, int32_t height) {
    surface.setLineWidth(1);
    surface.setFrameColor(kPanelFrameGrey);
    surface.drawRect({0, 0, width, height});
}

void shadeCorners(CDrawSurface& surface, int32_t width, int32_t height) {
    surface.setFillColor(kCornerShade);
    for (const CPoint& p :
         {CPoint{0, 0}, CPoint{width - 1, 0}, CPoint{0, height - 1}, CPoint{width - 1, height - 1}})
        surface.fillRect({p.h, p.v, p.h + 1, p.v + 1});
}
