#pragma once

class Canvas;

// One image of the editor: its resource number, its size, the height of one frame (frames are
// stacked vertically; the whole height for a single picture) and the function that paints it.
struct ArtworkImage {
    int id;
    int widthPx;
    int heightPx;
    int frameHeightPx;
    void (*paint)(Canvas&);
};

// Every image the editor loads, by resource number.
extern const ArtworkImage kArtworkImages[];
extern const int kArtworkImageCount;

// Frames of `image` at a display scale start on whole device rows, as the editor rounds them:
// the device rows of frame `frame`.
int scaledFrameTop(const ArtworkImage& image, int frame, double scale);
// The canvas for `image` at `scale`: frames side by side, each cell as tall as the tallest
// frame, so that the compressor finds each frame's rows one frame width back (stacked, they
// lie too far apart and a scaled knob strip would take ten times the bytes). The editor puts
// them back into a column when it loads them.
int scaledFrameCount(const ArtworkImage& image);
int scaledCellHeight(const ArtworkImage& image, double scale);
int scaledCellWidth(const ArtworkImage& image, double scale);
// Paints `image` into such a canvas (scaledFrameCount cells of scaledCellWidth by
// scaledCellHeight): each frame rendered on its own at the canvas's scale, starting at its
// cell's top row.
void paintScaledArtwork(const ArtworkImage& image, Canvas& canvas);

void paintBackground(Canvas& canvas);
void paintKnobStrip(Canvas& canvas);
void paintReadoutPlate(Canvas& canvas);
void paintTextKnobPlate(Canvas& canvas);
void paintBypassButton(Canvas& canvas);
void paintHiColorButton(Canvas& canvas);
void paintLoColorButton(Canvas& canvas);
void paintDeltaButton(Canvas& canvas);
void paintScPreviewButton(Canvas& canvas);
void paintScFilterSelector(Canvas& canvas);
void paintAboutCard(Canvas& canvas);
void paintCyanLamp(Canvas& canvas);
void paintRedLamp(Canvas& canvas);
