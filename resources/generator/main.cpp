// Paints the editor's images 201..216 and writes them as <directory>/<id>.png.
// The PNGs are checked in; this runs only when the artwork is meant to change.
#include "Artwork.h"
#include "Canvas.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1];
    for (int i = 0; i < kArtworkImageCount; ++i) {
        const ArtworkImage& image = kArtworkImages[i];
        Canvas canvas(image.widthPx, image.heightPx);
        image.paint(canvas);
        const std::string path = directory + "/" + std::to_string(image.id) + ".png";
        if (!canvas.writePng(path)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
