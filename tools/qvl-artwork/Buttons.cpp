// The two-state buttons (off in the upper half, on in the lower half) and the selectors whose
// frames each light one of their items.
#include "Artwork.h"
#include "Canvas.h"
#include "Palette.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace {

// Bodies keep 2 transparent pixels all round: neighbouring buttons overlap by up to 2 pixels.
constexpr double insetPx = 2;
constexpr double labelSizePx = 9;

void paintButtonFrame(Canvas& canvas, double top, double heightPx,
                      std::initializer_list<const char*> lines, const Rgba& lampColour, bool on) {
    const double w = canvas.width() - 2 * insetPx;
    const double h = heightPx - 2 * insetPx;
    const double y = top + insetPx;
    canvas.panel(insetPx, y, w, h, 3, on ? rgb8(64, 68, 75) : palette::buttonTop,
                 on ? rgb8(46, 49, 55) : palette::buttonBottom, palette::buttonBorder);

    // An indicator bar along the bottom edge that glows when the button is on.
    const double barY = y + h - 5;
    canvas.roundedRect(insetPx + 6, barY, w - 12, 2.5, 1.2);
    canvas.setColour(on ? lampColour : rgb8(16, 17, 19));
    cairo_fill(canvas.cr());
    if (on) {
        canvas.roundedRect(insetPx + 4, barY - 1.5, w - 8, 5.5, 2.5);
        canvas.setColour(Rgba{lampColour.r, lampColour.g, lampColour.b, 0.25});
        cairo_fill(canvas.cr());
    }

    const double lineStepPx = labelSizePx + 2;
    const double textBlockPx = lineStepPx * static_cast<double>(lines.size() - 1);
    double baseline = y + (h - 5) * 0.5 + labelSizePx * 0.36 - textBlockPx * 0.5;
    for (const char* line : lines) {
        canvas.text(line, canvas.width() * 0.5, baseline, labelSizePx, true, Align::centre,
                    on ? palette::buttonLabelLit : palette::buttonLabel);
        baseline += lineStepPx;
    }
}

void paintButton(Canvas& canvas, std::initializer_list<const char*> lines, const Rgba& lampColour) {
    const double frameHeightPx = canvas.height() * 0.5;
    paintButtonFrame(canvas, 0, frameHeightPx, lines, lampColour, false);
    paintButtonFrame(canvas, frameHeightPx, frameHeightPx, lines, lampColour, true);
}

// Frame f lights item f; items are stacked in equal rows so a click's third picks its item.
void paintSelector(Canvas& canvas, const std::vector<std::string>& items) {
    const int n = static_cast<int>(items.size());
    const double frameHeightPx = static_cast<double>(canvas.height()) / n;
    for (int frame = 0; frame < n; ++frame) {
        const double top = frame * frameHeightPx;
        canvas.panel(insetPx, top + insetPx, canvas.width() - 2 * insetPx,
                     frameHeightPx - 2 * insetPx, 3, palette::buttonTop, palette::buttonBottom,
                     palette::buttonBorder);
        const double rowPx = (frameHeightPx - 2 * insetPx) / n;
        for (int item = 0; item < n; ++item) {
            const double rowTop = top + insetPx + item * rowPx;
            const double cy = rowTop + rowPx * 0.5;
            if (item > 0) {
                cairo_rectangle(canvas.cr(), insetPx + 4, rowTop, canvas.width() - 2 * insetPx - 8,
                                1);
                canvas.setColour(rgb8(28, 30, 33));
                cairo_fill(canvas.cr());
            }
            const bool lit = item == frame;
            canvas.lamp(insetPx + 8, cy, 2.8, palette::accent, lit, 5.5);
            canvas.text(items[static_cast<std::size_t>(item)], insetPx + 15, cy + 3.3, labelSizePx,
                        true, Align::left, lit ? palette::buttonLabelLit : palette::buttonLabel);
        }
    }
}

} // namespace

void paintBypassButton(Canvas& canvas) {
    paintButton(canvas, {"BYPASS"}, palette::signalRed);
}
void paintHiColorButton(Canvas& canvas) {
    paintButton(canvas, {"HI COLOR"}, palette::accent);
}
void paintLoColorButton(Canvas& canvas) {
    paintButton(canvas, {"LO COLOR"}, palette::accent);
}
void paintDeltaButton(Canvas& canvas) {
    paintButton(canvas, {"DELTA"}, palette::amber);
}
void paintScPreviewButton(Canvas& canvas) {
    paintButton(canvas, {"SC PREV"}, palette::amber);
}
void paintScFilterSelector(Canvas& canvas) {
    paintSelector(canvas, {"OFF", "3dB HP", "6dB HP"});
}
