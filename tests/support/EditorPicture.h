#pragma once

#include "EditorSnapshot.h"
#include "Picture.h"
#include "views/CBitmap.h"

Picture pictureOf(const CBitmap& bitmap);

// The editor drawn headless with these options (idle meters), as every edition must show it;
// empty if it cannot be drawn.
Picture editorPicture(const SnapshotOptions& options);

// The editor showing a factory program at its own size.
Picture programPicture(int program);
