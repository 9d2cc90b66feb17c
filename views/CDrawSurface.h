#pragma once

#include "views/CBitmap.h"
#include "views/CColor.h"
#include "views/CFontSpec.h"
#include "views/CGeometry.h"
#include "views/CReferenceCounted.h"
#include "views/DrawDevice.h"

#include <cstdint>
#include <memory>

class CFrame;

enum CHoriTxtAlign : int32_t { kLeftText = 0, kCenterText = 1, kRightText = 2 };

// Drawing context: keeps colours, font, pen, clip and offset, and turns the framework's pixel
// rules into the back end's primitive operations. Every coordinate given to it has the offset
// added. Coordinates are editor pixels; the back end's device pixels are `scale` times finer,
// so text and images come out at device resolution. Without a back end (the platform could
// not make one) it draws nothing.
class CDrawSurface {
  public:
    explicit CDrawSurface(std::unique_ptr<DrawDevice> device, double scale = 1.0);
    virtual ~CDrawSurface();
    CDrawSurface(const CDrawSurface&) = delete;
    CDrawSurface& operator=(const CDrawSurface&) = delete;

    void setFillColor(CColor color);
    CColor getFillColor() const { return fillColor_; }
    void setFrameColor(CColor color);
    CColor getFrameColor() const { return frameColor_; }
    void setFontColor(CColor color) { fontColor_ = color; }
    CColor getFontColor() const { return fontColor_; }
    // sizePx 0 and style -1 take the font's own.
    void setFont(CFontSpec* font, int32_t sizePx = 0, int32_t style = -1);
    CFontSpec* getFont() const { return font_.get(); }
    void setLineWidth(int32_t widthPx);
    int32_t getLineWidth() const { return lineWidth_; }

    // Clip in local coordinates (before the offset); it never reaches outside the target.
    void setClipRect(const CRect& clip);
    CRect getClipRect() const;
    void resetClipRect();

    void setOffset(CPoint offset) { offset_ = offset; }
    // Device pixels per editor pixel.
    double getScale() const { return scale_; }

    // Normalizes and fills left <= x < right, top <= y < bottom with the fill colour.
    void fillRect(const CRect& rect);
    // As fillRect, with `deviceRect` in device pixels from the (scaled) offset: for views that
    // draw detail finer than an editor pixel.
    void fillDevicePixels(const CRect& deviceRect);
    // Normalizes and strokes through (left, top) and (right - 1, bottom - 1) with the frame
    // colour: a 1-pixel line is the rectangle's outermost pixel ring.
    void drawRect(const CRect& rect);
    void moveTo(CPoint p) { pen_ = p; }
    // Integer line from the pen to `p`, both end pixels included; the pen moves to `p`.
    void lineTo(CPoint p);
    CPoint getPenPosition() const { return pen_; }

    // One line of text in the font colour, cut to `rect` and the clip, centred vertically.
    void drawString(const char* text, const CRect& rect, int32_t align = kCenterText,
                    bool antialias = true);
    double getStringWidth(const char* text);

    // Bitmap copy used by CBitmap::draw*: see there.
    void drawBitmap(const CBitmap& bitmap, const CRect& dest, CPoint sourceOffset);

  protected:
    explicit CDrawSurface(double scale);
    void attachDevice(std::unique_ptr<DrawDevice> device);

  private:
    FontRequest fontRequest() const;
    CRect toDevice(const CRect& local) const;
    void fillDeviceRect(CRect deviceRect, CColor color);
    void applyClip(const CRect& deviceClip);

    std::unique_ptr<DrawDevice> device_;
    CColor fillColor_ = kColorBlack;
    CColor frameColor_ = kColorBlack;
    CColor fontColor_ = kColorWhite;
    SharedRef<CFontSpec> font_;
    int32_t fontSizePx_ = 0;
    int32_t fontStyle_ = 0;
    int32_t lineWidth_ = 1;
    CPoint pen_;
    CPoint offset_;
    double scale_;
    // The clip in editor pixels with the offset added, and the same on the device.
    CRect clip_;
    CRect deviceClip_;
};

// A drawing context over a new bitmap of the given size (editor pixels) filled with
// `background`, at `scale` device pixels per editor pixel. The bitmap can then be drawn into
// another context like any CBitmap.
class COffscreenSurface : public CDrawSurface {
  public:
    COffscreenSurface(CFrame* frame, int32_t width, int32_t height, CColor background = kColorBlack,
                      double scale = 1.0);
    ~COffscreenSurface() override;

    CBitmap* getBitmap() const { return bitmap_.get(); }
    // Copies the bitmap area starting at `sourceOffset` onto `dest` of another context.
    void copyFrom(CDrawSurface& destination, const CRect& dest, CPoint sourceOffset = {}) const;

  private:
    SharedRef<CBitmap> bitmap_;
};
