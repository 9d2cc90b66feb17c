#include "Artwork.h"

#include "editor/ControlRects.h"

// Sizes and frame layouts as the editor's views expect them (frames stacked vertically).
const ArtworkImage kArtworkImages[] = {
    {201, kEditorWidthPx, kEditorHeightPx, paintBackground},
    {202, 70, 7000, paintKnobStrip},
    {203, 51, 17, paintReadoutPlate},
    {204, 49, 19, paintTextKnobPlate},
    {205, 55, 100, paintBypassButton},
    {206, 55, 76, paintAutoMakeUpButton},
    {207, 55, 50, paintHiColorButton},
    {208, 55, 50, paintLoColorButton},
    {209, 55, 50, paintDeltaButton},
    {210, 55, 50, paintScPreviewButton},
    {211, 55, 100, paintAboveBelowPair},
    {212, 55, 213, paintScFilterSelector},
    {213, 30, 50, paintSmallAButton},
    {214, 200, 154, paintAboutCard},
    {215, 12, 24, paintCyanLamp},
    {216, 12, 24, paintRedLamp},
};
const int kArtworkImageCount = static_cast<int>(sizeof kArtworkImages / sizeof kArtworkImages[0]);
