// Image 202: the knob film strip, 100 frames of 70 x 70 stacked from value 0 (top) to value 1.
#include "Artwork.h"
#include "Canvas.h"
#include "Palette.h"

#include <cmath>

namespace {

constexpr int frameCount = 100;
constexpr double frameSizePx = 70;
constexpr double centre = frameSizePx * 0.5;
// Value 0 points down-left and value 1 down-right, sweeping clockwise through the top.
constexpr double startAngleDeg = 225;
constexpr double sweepDeg = 270;

// Angles count counter-clockwise from the right with y up; the image's y runs down.
void polar(double angleDeg, double radiusPx, double cy, double& x, double& y) {
    const double a = angleDeg * M_PI / 180;
    x = centre + radiusPx * std::cos(a);
    y = cy - radiusPx * std::sin(a);
}

void radialLine(cairo_t* cr, double angleDeg, double innerPx, double outerPx, double cy) {
    double x0, y0, x1, y1;
    polar(angleDeg, innerPx, cy, x0, y0);
    polar(angleDeg, outerPx, cy, x1, y1);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_stroke(cr);
}

void paintFrame(Canvas& canvas, int frame) {
    cairo_t* cr = canvas.cr();
    const double cy = frame * frameSizePx + centre;

    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    canvas.setColour(palette::captionDim);
    for (int tick = 0; tick <= 10; ++tick) {
        const bool end = tick == 0 || tick == 10 || tick == 5;
        cairo_set_line_width(cr, end ? 1.6 : 1.1);
        radialLine(cr, startAngleDeg - sweepDeg * tick / 10.0, end ? 28 : 29, 32.5, cy);
    }

    // Drop shadow, then a body lit from the upper left, then a slightly raised cap.
    cairo_arc(cr, centre, cy + 1.5, 24.5, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
    cairo_fill(cr);
    cairo_pattern_t* body = cairo_pattern_create_linear(centre - 18, cy - 22, centre + 18, cy + 22);
    cairo_pattern_add_color_stop_rgb(body, 0, 0.36, 0.38, 0.41);
    cairo_pattern_add_color_stop_rgb(body, 1, 0.10, 0.11, 0.12);
    cairo_arc(cr, centre, cy, 24, 0, 2 * M_PI);
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.06);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    canvas.panel(centre - 18, cy - 18, 36, 36, 18, palette::buttonTop, palette::buttonBottom,
                 rgb8(24, 25, 28));

    const double angleDeg = startAngleDeg - sweepDeg * frame / (frameCount - 1);
    canvas.setColour(palette::accent);
    cairo_set_line_width(cr, 3);
    radialLine(cr, angleDeg, 8, 21.5, cy);
}

} // namespace

void paintKnobStrip(Canvas& canvas) {
    for (int frame = 0; frame < frameCount; ++frame)
        paintFrame(canvas, frame);
}
