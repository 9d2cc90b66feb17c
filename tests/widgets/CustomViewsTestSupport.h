#pragma once

#include "TestSupport.h"
#include "views/CBitmap.h"
#include "views/CControl.h"
#include "views/CDrawSurface.h"
#include "views/DrawDevice.h"
#include "views/FrameEditorLink.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Straight colour of `color` blended over an opaque `below`, rounded to bytes.
CColor blendOver(CColor color, CColor below);

// A screen-sized target to draw views into; reads pixels in a view's local coordinates.
class Screen {
  public:
    explicit Screen(int32_t width = 690, int32_t height = 270);
    CDrawSurface& surface() { return *surface_; }
    const CBitmap& bitmap() const { return *surface_->getBitmap(); }
    // Local pixel (x, y) of a view placed at `view` on the screen.
    CColor at(const CRect& view, int32_t x, int32_t y) const;
    bool is(const CRect& view, int32_t x, int32_t y, CColor color, int tolerance = 0) const;
    // Local rows of column x (inside the view) whose pixel is `color`.
    std::vector<int32_t> rowsOf(const CRect& view, int32_t x, CColor color) const;
    // Local columns of row y (inside the view) whose pixel is `color`.
    std::vector<int32_t> columnsOf(const CRect& view, int32_t y, CColor color) const;
    // True when the two screens hold the same pixels inside `area`.
    bool sameAs(const Screen& other, const CRect& area) const;

  private:
    std::unique_ptr<COffscreenSurface> surface_; // movable, so tests can return screens
};

// A drawing back end that draws nothing and remembers what it was asked, with fixed text
// metrics: every character 6 pixels wide, ascent 9, descent 3.
class RecordingDevice : public DrawDevice {
  public:
    struct Text {
        std::string text;
        double x;
        double baseline;
        FontRequest font;
        CColor color;
        bool antialias;
        CRect clip;
    };
    struct Fill {
        CRect rect;
        CColor color;
    };
    struct Image {
        const CBitmap* image;
        CPoint origin;
    };

    static constexpr double kCharWidthPx = 6;
    static constexpr double kAscentPx = 9;
    static constexpr double kDescentPx = 3;

    CRect bounds() const override { return {0, 0, 690, 270}; }
    void setClip(const CRect& clip) override { clip_ = clip; }
    void fillRect(const CRect& rect, CColor color) override { fills.push_back({rect, color}); }
    void drawImage(const CBitmap& image, CPoint origin) override {
        images.push_back({&image, origin});
    }
    void drawText(const char* utf8, double x, double baselineY, const FontRequest& font,
                  CColor color, bool antialias) override;
    TextMetrics measureText(const char* utf8, const FontRequest& font) override;

    std::vector<Text> texts;
    std::vector<Fill> fills;
    std::vector<Image> images;

  private:
    CRect clip_;
};

// A drawing context over a RecordingDevice that stays reachable.
struct RecordingSurface {
    RecordingSurface();
    RecordingDevice* device;
    std::unique_ptr<CDrawSurface> surface;
};
