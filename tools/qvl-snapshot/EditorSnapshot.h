#pragma once

#include "SnapshotOptions.h"

#include "views/CBitmap.h"
#include "views/CReferenceCounted.h"

#include <string>

// Builds the effect and its editor with the options' settings and meter readings, lets one
// meter tick pass, and draws the window content; null when the editor cannot be opened.
SharedRef<CBitmap> renderEditorSnapshot(const SnapshotOptions& options);
// The same picture written as a PNG to the options' path, whole or not at all; an existing
// file is replaced only when the options allow it. Empty on success, else the reason.
std::string writeEditorSnapshot(const SnapshotOptions& options);
