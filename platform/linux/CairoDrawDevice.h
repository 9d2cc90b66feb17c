#pragma once

#include "views/DrawDevice.h"

#include <cairo.h>

// Drawing primitives over a cairo image surface that shares the pixels of a CBitmap
// (both are premultiplied ARGB32). Shapes without antialiasing; hinted, grid-fitted text.
class CairoDrawDevice : public DrawDevice {
  public:
    explicit CairoDrawDevice(CBitmap& target);
    ~CairoDrawDevice() override;
    CairoDrawDevice(const CairoDrawDevice&) = delete;
    CairoDrawDevice& operator=(const CairoDrawDevice&) = delete;

    bool isValid() const;
    CRect bounds() const override;
    void setClip(const CRect& clip) override;
    void fillRect(const CRect& rect, CColor color) override;
    void drawImage(const CBitmap& image, CPoint origin) override;
    void drawText(const char* utf8, double x, double baselineY, const FontRequest& font,
                  CColor color, bool antialias) override;
    TextMetrics measureText(const char* utf8, const FontRequest& font) override;

  private:
    void selectFont(const FontRequest& font, bool antialias);

    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    CRect bounds_;
};

// A cairo surface over a bitmap's pixels (the bitmap must outlive it).
cairo_surface_t* createBitmapSurface(const CBitmap& bitmap);
