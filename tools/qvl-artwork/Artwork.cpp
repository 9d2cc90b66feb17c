#include "Artwork.h"
#include "Canvas.h"

#include "editor/ArtworkGeometry.h"
#include "editor/ControlRects.h"
#include "editor/EditorImages.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

// Sizes and frame layouts as the editor's views expect them (frames stacked vertically).
const ArtworkImage kArtworkImages[] = {
    {kImageBackground, kEditorWidthPx, kEditorHeightPx, kEditorHeightPx, paintBackground},
    {kImageKnob, 70, 7000, 70, paintKnobStrip},
    {kImageReadoutPlate, 51, 17, 17, paintReadoutPlate},
    {kImageTextKnobPlate, 49, 19, 19, paintTextKnobPlate},
    {kImageBypass, 55, 100, 50, paintBypassButton},
    {kImageHfHarmonics, 55, 50, 25, paintHiColorButton},
    {kImageLfHarmonics, 55, 50, 25, paintLoColorButton},
    {kImageDelta, 55, 50, 25, paintDeltaButton},
    {kImageScPreview, 55, 50, 25, paintScPreviewButton},
    {kImageScFilterType, 55, kFilterSwitchPositions* kFilterSwitchFrameHeightPx,
     kFilterSwitchFrameHeightPx, paintScFilterSelector},
    {kImageAboutCard, kAboutCardWidthPx, 154, 154, paintAboutCard},
    {kImageLampLeft, 12, 24, 12, paintCyanLamp},
    {kImageLampRight, 12, 24, 12, paintRedLamp},
};
const int kArtworkImageCount = static_cast<int>(sizeof kArtworkImages / sizeof kArtworkImages[0]);

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
