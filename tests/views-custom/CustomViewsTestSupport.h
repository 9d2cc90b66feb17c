#pragma once

#include "views/CBitmap.h"
#include "views/CControl.h"
#include "views/CDrawSurface.h"
#include "views/DrawDevice.h"
#include "views/FrameEditorLink.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Pixel of a bitmap as straight bytes (equal to the colour for opaque pixels).
CColor pixelColor(const CBitmap& bitmap, int32_t x, int32_t y);
// True when the pixel equals `color` within `tolerance` per byte.
bool pixelIs(const CBitmap& bitmap, int32_t x, int32_t y, CColor color, int tolerance = 0);
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

// Records a control's notifications and the edit gestures the frame reports to the editor,
// in one sequence, so tests can check nesting and order.
class Recorder : public CControlObserver, public FrameEditorLink {
  public:
    void valueChanged(CControl* control) override;
    void editBegun(CControl* control) override;
    void editEnded(CControl* control) override;
    int32_t modifierClicked(CControl* control, int32_t buttons) override;
    void beginEdit(int32_t tag) override;
    void endEdit(int32_t tag) override;
    int32_t getKnobMode() const override { return kLinearMode; }
    void idleWhileTracking() override {}

    int count(const std::string& event) const;

    std::vector<std::string> events;
    std::vector<float> changedValues;
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
    void drawImage(const CBitmap& image, CPoint origin, uint8_t) override {
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
