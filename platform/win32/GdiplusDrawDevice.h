#pragma once

#include "platform/win32/GdiplusSession.h"
#include "views/DrawDevice.h"

#include <windows.h>

#include <gdiplus.h>

// Drawing primitives over GDI+ (flat interface) into a CBitmap's own pixels, which GDI+ reads
// as 32-bit premultiplied ARGB. Shapes without antialiasing or half-pixel offset, images
// copied pixel for pixel, ClearType grid-fitted text when antialiased.
class GdiplusDrawDevice : public DrawDevice {
  public:
    explicit GdiplusDrawDevice(CBitmap& target);
    ~GdiplusDrawDevice() override;
    GdiplusDrawDevice(const GdiplusDrawDevice&) = delete;
    GdiplusDrawDevice& operator=(const GdiplusDrawDevice&) = delete;

    bool isValid() const { return graphics_ != nullptr; }
    CRect bounds() const override { return bounds_; }
    void setClip(const CRect& clip) override;
    void fillRect(const CRect& rect, CColor color) override;
    void drawImage(const CBitmap& image, CPoint origin) override;
    void drawText(const char* utf8, double x, double baselineY, const FontRequest& font,
                  CColor color, bool antialias) override;
    TextMetrics measureText(const char* utf8, const FontRequest& font) override;

  private:
    // Makes `font` the current GDI+ font; false when no face can be found for it.
    bool selectFont(const FontRequest& font);
    void releaseFont();

    GdiplusSession session_; // first member: GDI+ outlives every object below
    CRect bounds_;
    Gdiplus::GpBitmap* bitmap_ = nullptr;
    Gdiplus::GpGraphics* graphics_ = nullptr;
    Gdiplus::GpSolidFill* brush_ = nullptr;
    Gdiplus::GpStringFormat* format_ = nullptr;
    FontRequest fontRequest_;
    Gdiplus::GpFontFamily* fontFamily_ = nullptr;
    Gdiplus::GpFont* font_ = nullptr;
    double fontAscentPx_ = 0;
    double fontDescentPx_ = 0;
};

// The colour as GDI+ takes it: alpha << 24 | red << 16 | green << 8 | blue.
Gdiplus::ARGB gdiplusArgb(CColor color);
// A GDI+ bitmap over the image's pixels (no copy; the image must outlive it and stay
// unchanged in size). Null for an empty image or without a running GDI+.
Gdiplus::GpBitmap* createGdiplusBitmap(const CBitmap& image);
