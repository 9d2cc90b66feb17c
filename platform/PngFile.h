#pragma once

#include <string>

class CBitmap;

// Writes the bitmap as a PNG file (for snapshots of a frame drawn without a window).
bool writeBitmapPng(const CBitmap& bitmap, const std::string& path);
