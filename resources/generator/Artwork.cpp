#include "Artwork.h"
#include "Canvas.h"

#include "editor/ControlRects.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

// Sizes and frame layouts as the editor's views expect them (frames stacked vertically).
const ArtworkImage kArtworkImages[] = {
    {201, kEditorWidthPx, kEditorHeightPx, kEditorHeightPx, paintBackground},
    {202, 70, 7000, 70, paintKnobStrip},
    {203, 51, 17, 17, paintReadoutPlate},
    {204, 49, 19, 19, paintTextKnobPlate},
    {205, 55, 100, 50, paintBypassButton},
    {206, 55, 76, 38, paintAutoMakeUpButton},
    {207, 55, 50, 25, paintHiColorButton},
    {208, 55, 50, 25, paintLoColorButton},
    {209, 55, 50, 25, paintDeltaButton},
    {210, 55, 50, 25, paintScPreviewButton},
    {211, 55, 100, 50, paintAboveBelowPair},
    {212, 55, 213, 71, paintScFilterSelector},
    {213, 30, 50, 25, paintSmallAButton},
    {214, 200, 154, 154, paintAboutCard},
    {215, 12, 24, 12, paintCyanLamp},
    {216, 12, 24, 12, paintRedLamp},
};
const int kArtworkImageCount = static_cast<int>(sizeof kArtworkImages / sizeof kArtworkImages[0]);

const int kArtworkScalePercents[] = {150, 175, 200, 250, 300};
const int kArtworkScaleCount =
    static_cast<int>(sizeof kArtworkScalePercents / sizeof kArtworkScalePercents[0]);

namespace {
// The device row where the editor's pixel row `y` starts (rounded as the editor rounds).
int deviceRow(int y, double scale) {
    return static_cast<int>(std::floor(y * scale + 0.5));
}
} // namespace

int scaledFrameTop(const ArtworkImage& image, int frame, double scale) {
    return deviceRow(frame * image.frameHeightPx, scale);
}

int scaledFrameCount(const ArtworkImage& image) {
    return image.heightPx / image.frameHeightPx;
}

int scaledCellHeight(const ArtworkImage& image, double scale) {
    int tallest = 0;
    for (int frame = 0; frame < scaledFrameCount(image); ++frame)
        tallest = std::max(tallest, scaledFrameTop(image, frame + 1, scale) -
                                        scaledFrameTop(image, frame, scale));
    return tallest;
}

int scaledCellWidth(const ArtworkImage& image, double scale) {
    return deviceRow(image.widthPx, scale);
}

void paintScaledArtwork(const ArtworkImage& image, Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const double scale = canvas.scale();
    const int cellWidthPx = scaledCellWidth(image, scale);
    for (int frame = 0; frame < scaledFrameCount(image); ++frame) {
        const int rows =
            scaledFrameTop(image, frame + 1, scale) - scaledFrameTop(image, frame, scale);
        cairo_save(cr);
        cairo_rectangle(cr, frame * cellWidthPx, 0, cellWidthPx, rows);
        cairo_clip(cr);
        cairo_translate(cr, frame * cellWidthPx, 0);
        cairo_scale(cr, scale, scale);
        cairo_translate(cr, 0, -frame * image.frameHeightPx);
        image.paint(canvas);
        cairo_restore(cr);
    }
}
