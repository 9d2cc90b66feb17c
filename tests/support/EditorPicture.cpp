#include "EditorPicture.h"

Picture pictureOf(const CBitmap& bitmap) {
    Picture p;
    for (int y = 0; y < bitmap.getHeight(); ++y)
        for (int x = 0; x < bitmap.getWidth(); ++x)
            p.push_back(bitmap.pixelAt(x, y) & 0xFFFFFFu);
    return p;
}

Picture editorPicture(const SnapshotOptions& options) {
    const SharedRef<CBitmap> bitmap = renderEditorSnapshot(options);
    if (!bitmap) return {};
    return pictureOf(*bitmap);
}

Picture programPicture(int program) {
    SnapshotOptions options;
    options.program = program;
    return editorPicture(options);
}
