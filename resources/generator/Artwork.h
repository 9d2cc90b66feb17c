#pragma once

class Canvas;

// One image of the editor: its resource number, its size and the function that paints it.
struct ArtworkImage {
    int id;
    int widthPx;
    int heightPx;
    void (*paint)(Canvas&);
};

// Resource numbers 201..216 in order.
extern const ArtworkImage kArtworkImages[];
extern const int kArtworkImageCount;

void paintBackground(Canvas& canvas);
void paintKnobStrip(Canvas& canvas);
void paintReadoutPlate(Canvas& canvas);
void paintTextKnobPlate(Canvas& canvas);
void paintBypassButton(Canvas& canvas);
void paintAutoMakeUpButton(Canvas& canvas);
void paintHiColorButton(Canvas& canvas);
void paintLoColorButton(Canvas& canvas);
void paintDeltaButton(Canvas& canvas);
void paintScPreviewButton(Canvas& canvas);
void paintAboveBelowPair(Canvas& canvas);
void paintScFilterSelector(Canvas& canvas);
void paintSmallAButton(Canvas& canvas);
void paintAboutCard(Canvas& canvas);
void paintCyanLamp(Canvas& canvas);
void paintRedLamp(Canvas& canvas);
