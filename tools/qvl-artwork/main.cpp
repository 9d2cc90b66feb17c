// Paints the editor's images and writes them as <directory>/<id>.png, then the same images
// drawn at each larger display scale as <directory>/<scaledResourceId(id, percent)>.png.
// The PNGs are checked in; this runs only when the artwork is meant to change.
#include "Artwork.h"
#include "Canvas.h"

#include "views/ArtworkScales.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1];
    const auto write = [&](const Canvas& canvas, int id) {
        const std::string path = directory + "/" + std::to_string(id) + ".png";
        if (canvas.writePng(path)) return true;
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    };
    for (int i = 0; i < kArtworkImageCount; ++i) {
        const ArtworkImage& image = kArtworkImages[i];
        Canvas canvas(image.widthPx, image.heightPx);
        image.paint(canvas);
        if (!write(canvas, image.id)) return 1;
        for (int percent : kArtworkScalePercents) {
            const double scale = percent / 100.0;
            Canvas scaled(image.widthPx, image.heightPx,
                          scaledFrameCount(image) * scaledCellWidth(image, scale),
                          scaledCellHeight(image, scale), scale);
            paintScaledArtwork(image, scaled);
            if (!write(scaled, scaledResourceId(image.id, percent))) return 1;
        }
    }
    return 0;
}
