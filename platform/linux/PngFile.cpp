#include "platform/PngFile.h"

#include "platform/linux/CairoDrawDevice.h"
#include "views/CBitmap.h"

bool writeBitmapPng(const CBitmap& bitmap, const std::string& path) {
    if (!bitmap.isLoaded()) return false;
    cairo_surface_t* surface = createBitmapSurface(bitmap);
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}
