#pragma once

#include "views/CBitmap.h"
#include "views/CReferenceCounted.h"

class CFrame;

// The whole frame (background and every view) drawn into a new bitmap of the frame's device
// size (its size times its scale), without any window or display: for tests and snapshots.
SharedRef<CBitmap> renderFrame(CFrame& frame);
