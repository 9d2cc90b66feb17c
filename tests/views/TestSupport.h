#pragma once

#include "views/CBitmap.h"
#include "views/CControl.h"
#include "views/FrameEditorLink.h"

#include <cstdint>
#include <string>
#include <vector>

// Premultiplied pixel of a bitmap split into bytes (equal to the colour for opaque pixels).
CColor pixelColor(const CBitmap& bitmap, int32_t x, int32_t y);
// True when the pixel equals `color` (opaque colours) within `tolerance` per byte.
bool pixelIs(const CBitmap& bitmap, int32_t x, int32_t y, CColor color, int tolerance = 0);
// Pixels equal to `color` inside the row/column, as a list of x (or y) positions.
std::vector<int32_t> columnsOf(const CBitmap& bitmap, int32_t y, CColor color);
std::vector<int32_t> rowsOf(const CBitmap& bitmap, int32_t x, CColor color);
// Bounding box of the pixels that differ from `background`; empty when none.
CRect inkBounds(const CBitmap& bitmap, CColor background);

// Records what a control tells its listener and what the frame reports to the editor,
// in one sequence, so tests can check the order of notifications.
class Recorder : public CControlObserver, public FrameEditorLink {
  public:
    void valueChanged(CControl* control) override;
    void editBegun(CControl* control) override;
    void editEnded(CControl* control) override;
    int32_t modifierClicked(CControl* control, int32_t buttons) override;
    void beginEdit(int32_t tag) override;
    void endEdit(int32_t tag) override;
    int32_t getKnobMode() const override { return knobMode; }
    void idleWhileTracking() override;

    int count(const std::string& prefix) const;

    std::vector<std::string> events;
    std::vector<float> changedValues;
    int32_t modifierAnswer = 0;
    int32_t knobMode = kLinearMode;
};

// Encodes a PNG in memory with libpng (pixels packed per row as the colour type needs).
struct PngLayout {
    uint32_t width = 0;
    uint32_t height = 0;
    int colorType = 0;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<uint8_t> rowBytes; // height rows, tightly packed
    std::vector<uint8_t> paletteRgb;
    std::vector<uint8_t> transparency;
};
std::vector<unsigned char> encodePng(const PngLayout& layout);
// A straight-RGBA 8-bit image encoded as PNG.
std::vector<unsigned char> encodeRgbaPng(uint32_t width, uint32_t height,
                                         const std::vector<CColor>& pixels);
