// Images 215 and 216: the release lamps, dark in the upper frame and lit in the lower one.
#include "Artwork.h"
#include "Canvas.h"
#include "Palette.h"

namespace {

void paintLamp(Canvas& canvas, const Rgba& colour) {
    const double frameSizePx = canvas.width();
    const double centre = frameSizePx * 0.5;
    // The halo stops short of the frame's edge: the two lamps overlap by two columns.
    canvas.lamp(centre, centre, 3.8, colour, false, 5.5);
    canvas.lamp(centre, frameSizePx + centre, 3.8, colour, true, 5.5);
}

} // namespace

void paintCyanLamp(Canvas& canvas) {
    paintLamp(canvas, palette::accent);
}
void paintRedLamp(Canvas& canvas) {
    paintLamp(canvas, palette::signalRed);
}
