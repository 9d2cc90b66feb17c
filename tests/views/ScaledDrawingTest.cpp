// Drawing at a display scale: views keep their own pixels while shapes, clips, text and
// images land on the device pixels those cover, and a frame at a scale grows its window.
#include "TestSupport.h"

#include "views/CDrawSurface.h"
#include "views/CFontSpec.h"
#include "views/CFrame.h"
#include "views/FrameSnapshot.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr CColor kRed{255, 0, 0, 255};
constexpr CColor kBlue{0, 0, 255, 255};

CRect fillAt(double scale, const CRect& rect) {
    COffscreenSurface surface(nullptr, 8, 6, kColorBlack, scale);
    surface.setFillColor(kRed);
    surface.fillRect(rect);
    return inkBounds(*surface.getBitmap(), kColorBlack);
}

TEST(ScaledDrawing, ShapesAndClipsCoverTheDevicePixelsOfTheirEditorPixels) {
    EXPECT_EQ(fillAt(1.0, {1, 1, 3, 2}), CRect(1, 1, 3, 2));
    EXPECT_EQ(fillAt(2.0, {1, 1, 3, 2}), CRect(2, 2, 6, 4));
    EXPECT_EQ(fillAt(1.5, {1, 1, 3, 2}), CRect(2, 2, 5, 3));
    EXPECT_EQ(fillAt(3.0, {0, 0, 8, 6}), CRect(0, 0, 24, 18));
    // Neighbours touch on the device as they do in the editor: no gap, no overlap.
    COffscreenSurface surface(nullptr, 8, 6, kColorBlack, 1.75);
    surface.setFillColor(kRed);
    surface.fillRect({0, 0, 3, 6});
    surface.setFillColor(kBlue);
    surface.fillRect({3, 0, 8, 6});
    EXPECT_EQ(columnsOf(*surface.getBitmap(), 3, kColorBlack), std::vector<int32_t>{});

    // A one-pixel frame is as thick as one editor pixel; the clip works in editor pixels.
    COffscreenSurface framed(nullptr, 8, 6, kColorBlack, 2.0);
    framed.setFrameColor(kRed);
    framed.drawRect({1, 1, 5, 4});
    EXPECT_EQ(columnsOf(*framed.getBitmap(), 5, kRed), (std::vector<int32_t>{2, 3, 8, 9}));
    framed.setClipRect({0, 0, 2, 2});
    EXPECT_EQ(framed.getClipRect(), CRect(0, 0, 2, 2));
    framed.setFillColor(kBlue);
    framed.fillRect({0, 0, 8, 6});
    EXPECT_EQ(columnsOf(*framed.getBitmap(), 1, kBlue), (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(rowsOf(*framed.getBitmap(), 1, kBlue), (std::vector<int32_t>{0, 1, 2, 3}));
}

TEST(ScaledDrawing, TextAndImagesAreDrawnAtTheDeviceResolution) {
    const auto textInk = [](double scale) {
        COffscreenSurface surface(nullptr, 100, 20, kColorBlack, scale);
        surface.setFont(stockFont(StockFont::kNormal));
        surface.setFontColor(kColorWhite);
        surface.drawString("Ratio 4.0:1", {0, 0, 100, 20}, kLeftText);
        return inkBounds(*surface.getBitmap(), kColorBlack);
    };
    const CRect at1 = textInk(1.0);
    const CRect at2 = textInk(2.0);
    ASSERT_FALSE(at1.isEmpty());
    // Twice the size on the device, not the same glyphs in a larger box.
    EXPECT_NEAR(at2.width(), 2 * at1.width(), 4);
    EXPECT_NEAR(at2.height(), 2 * at1.height(), 3);

    // An image with no artwork of its own for the scale is resampled to it, not cut.
    const SharedRef<CBitmap> image = SharedRef<CBitmap>::adopt(new CBitmap(2, 2));
    image->fill(kBlue);
    image->pixels()[0] = premultipliedPixel(kRed);
    COffscreenSurface surface(nullptr, 4, 4, kColorBlack, 2.0);
    image->draw(surface, {1, 1, 3, 3});
    EXPECT_EQ(columnsOf(*surface.getBitmap(), 2, kRed), (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(columnsOf(*surface.getBitmap(), 2, kBlue), (std::vector<int32_t>{4, 5}));
    EXPECT_EQ(image->representationFor(2.0).getScale(), 2.0);
}

class SizeRecordingWindow : public FrameWindow {
  public:
    explicit SizeRecordingWindow(std::vector<CRect>* sizes) : sizes_(sizes) {}
    void pumpEvents() override {}
    void present(const CBitmap& buffer, const CRect& area) override {
        sizes_->push_back({0, 0, buffer.getWidth(), buffer.getHeight()});
        presented = area;
    }
    void resize(int32_t width, int32_t height) override {
        sizes_->push_back({0, 0, width, height});
    }
    CRect presented;

  private:
    std::vector<CRect>* sizes_;
};

TEST(ScaledFrame, TheWindowAndTheBackBufferGrowWhileTheViewsKeepTheirPixels) {
    auto frame = SharedRef<CFrame>::adopt(new CFrame({0, 0, 40, 30}, nullptr));
    frame->setScale(0.0); // not a scale: ignored
    EXPECT_EQ(frame->getScale(), 1.0);
    std::vector<CRect> sizes;
    auto window = std::make_unique<SizeRecordingWindow>(&sizes);
    SizeRecordingWindow* shown = window.get();
    ASSERT_TRUE(frame->attachWindow(std::move(window)));
    frame->idle();
    EXPECT_EQ(sizes.back(), CRect(0, 0, 40, 30));

    frame->setScale(2.5);
    EXPECT_EQ(frame->getViewSize(), CRect(0, 0, 40, 30));
    EXPECT_EQ(frame->getDeviceSize(), CRect(0, 0, 100, 75));
    EXPECT_EQ(sizes.back(), CRect(0, 0, 100, 75)); // the window was resized
    // Everything is drawn again into the larger buffer and shown whole.
    frame->idle();
    EXPECT_EQ(sizes.back(), CRect(0, 0, 100, 75));
    EXPECT_EQ(shown->presented, CRect(0, 0, 100, 75));
    EXPECT_EQ(renderFrame(*frame)->getWidth(), 100);
}

} // namespace
