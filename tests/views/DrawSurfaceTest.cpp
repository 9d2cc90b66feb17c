#include "TestSupport.h"
#include "views/CDrawSurface.h"

#include <gtest/gtest.h>

namespace {

constexpr CColor kInk{0, 204, 255, 255};

struct Canvas {
    explicit Canvas(int32_t w = 140, int32_t h = 140) : surface(nullptr, w, h, kColorBlack) {}
    const CBitmap& bitmap() const { return *surface.getBitmap(); }
    int countInk() const {
        int n = 0;
        for (int32_t y = 0; y < bitmap().getHeight(); ++y)
            n += int(columnsOf(bitmap(), y, kInk).size());
        return n;
    }
    COffscreenSurface surface;
};

} // namespace

TEST(OffscreenSurfaceTest, StartsFilledWithItsBackground) {
    COffscreenSurface surface(nullptr, 4, 3, CColor{10, 20, 30, 255});
    ASSERT_EQ(surface.getBitmap()->getWidth(), 4);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_TRUE(pixelIs(*surface.getBitmap(), x, y, {10, 20, 30, 255}));
}

TEST(OffscreenSurfaceTest, NewContextDefaults) {
    COffscreenSurface surface(nullptr, 2, 2);
    EXPECT_EQ(surface.getFillColor(), kColorBlack);
    EXPECT_EQ(surface.getFrameColor(), kColorBlack);
    EXPECT_EQ(surface.getFontColor(), kColorWhite);
    EXPECT_EQ(surface.getLineWidth(), 1);
    EXPECT_EQ(surface.getFont(), stockFont(StockFont::kSystem));
}

TEST(FillRectTest, FillsLeftToRightExclusive) {
    Canvas c;
    c.surface.setFillColor(kInk);
    c.surface.fillRect({2, 3, 8, 5});
    EXPECT_EQ(columnsOf(c.bitmap(), 3, kInk), (std::vector<int32_t>{2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(rowsOf(c.bitmap(), 2, kInk), (std::vector<int32_t>{3, 4}));
    EXPECT_EQ(c.countInk(), 6 * 2);
}

TEST(FillRectTest, SwappedEdgesFillTheSamePixels) {
    Canvas inOrder;
    Canvas swapped;
    inOrder.surface.setFillColor(kInk);
    swapped.surface.setFillColor(kInk);
    inOrder.surface.fillRect({2, 10, 8, 30});
    swapped.surface.fillRect({8, 30, 2, 10});
    for (int32_t y = 0; y < 40; ++y)
        EXPECT_EQ(columnsOf(inOrder.bitmap(), y, kInk), columnsOf(swapped.bitmap(), y, kInk));
    EXPECT_EQ(inOrder.countInk(), 6 * 20);
}

TEST(FillRectTest, ZeroHeightOrWidthFillsNothing) {
    Canvas c;
    c.surface.setFillColor(kInk);
    c.surface.fillRect({2, 5, 8, 5});
    c.surface.fillRect({4, 1, 4, 9});
    EXPECT_EQ(c.countInk(), 0);
}

TEST(FillRectTest, TranslucentColourBlendsOverTheBackground) {
    Canvas c;
    c.surface.setFillColor({255, 20, 0, 55}); // knee-band red over black
    c.surface.fillRect({0, 0, 1, 1});
    // Over opaque black the result is the colour scaled by its alpha, fully opaque.
    EXPECT_TRUE(
        pixelIs(c.bitmap(), 0, 0, {uint8_t(255 * 55 / 255), uint8_t(20 * 55 / 255), 0, 255}, 1));
}

TEST(DrawRectTest, OnePixelFrameIsTheOutermostRing) {
    Canvas c;
    c.surface.setFrameColor(kInk);
    c.surface.drawRect({0, 0, 130, 130});
    EXPECT_EQ(columnsOf(c.bitmap(), 60, kInk), (std::vector<int32_t>{0, 129}));
    EXPECT_EQ(rowsOf(c.bitmap(), 60, kInk), (std::vector<int32_t>{0, 129}));
    EXPECT_EQ(columnsOf(c.bitmap(), 0, kInk).size(), 130u);
    EXPECT_FALSE(pixelIs(c.bitmap(), 130, 0, kInk));
    EXPECT_FALSE(pixelIs(c.bitmap(), 0, 130, kInk));
    EXPECT_EQ(c.countInk(), 4 * 129);
}

TEST(DrawRectTest, TranslucentFrameBlendsEveryRingPixelOnce) {
    Canvas c(12, 12);
    c.surface.setFrameColor({255, 255, 255, 128});
    c.surface.drawRect({0, 0, 10, 10});
    // A corner drawn twice would be brighter than an edge pixel.
    EXPECT_EQ(pixelColor(c.bitmap(), 0, 0), pixelColor(c.bitmap(), 5, 0));
    EXPECT_EQ(pixelColor(c.bitmap(), 9, 9), pixelColor(c.bitmap(), 9, 5));
}

TEST(DrawRectTest, ReversedRectIsNormalizedFirst) {
    Canvas c;
    c.surface.setFrameColor(kInk);
    c.surface.drawRect({10, 10, 0, 0});
    EXPECT_EQ(columnsOf(c.bitmap(), 5, kInk), (std::vector<int32_t>{0, 9}));
}

TEST(LineTest, HorizontalLineIncludesBothEndsAndMovesThePen) {
    Canvas c;
    c.surface.setFrameColor(kInk);
    c.surface.moveTo({20, 7});
    c.surface.lineTo({25, 7});
    EXPECT_EQ(columnsOf(c.bitmap(), 7, kInk), (std::vector<int32_t>{20, 21, 22, 23, 24, 25}));
    EXPECT_EQ(c.surface.getPenPosition(), (CPoint{25, 7}));
    c.surface.lineTo({25, 9});
    EXPECT_EQ(rowsOf(c.bitmap(), 25, kInk), (std::vector<int32_t>{7, 8, 9}));
}

TEST(LineTest, DiagonalLineHasOnePixelPerColumn) {
    Canvas c;
    c.surface.setFrameColor(kInk);
    c.surface.moveTo({0, 0});
    c.surface.lineTo({10, 5});
    for (int32_t x = 0; x <= 10; ++x) {
        const auto ys = rowsOf(c.bitmap(), x, kInk);
        ASSERT_EQ(ys.size(), 1u) << x;
        // The ideal line is y = x / 2; an integer line stays within half a pixel of it.
        EXPECT_LE(std::abs(ys[0] * 2 - x), 1) << x;
    }
    EXPECT_EQ(c.countInk(), 11);
}

TEST(ClipTest, DrawingIsCutToTheClip) {
    Canvas c;
    c.surface.setClipRect({0, 0, 23, 135});
    c.surface.setFrameColor(kInk);
    c.surface.moveTo({20, 7});
    c.surface.lineTo({488, 7});
    EXPECT_EQ(columnsOf(c.bitmap(), 7, kInk), (std::vector<int32_t>{20, 21, 22}));
    EXPECT_EQ(c.surface.getClipRect(), (CRect{0, 0, 23, 135}));
}

TEST(ClipTest, ClipNeverReachesOutsideTheTarget) {
    Canvas c(10, 10);
    c.surface.setClipRect({-5, -5, 50, 50});
    EXPECT_EQ(c.surface.getClipRect(), (CRect{0, 0, 10, 10}));
}

TEST(OffsetTest, OffsetIsAddedToEveryCoordinateAndTheClip) {
    Canvas c;
    c.surface.setOffset({10, 20});
    c.surface.setFillColor(kInk);
    c.surface.fillRect({0, 0, 2, 1});
    EXPECT_EQ(columnsOf(c.bitmap(), 20, kInk), (std::vector<int32_t>{10, 11}));

    c.surface.setClipRect({0, 0, 5, 5}); // device 10..15, 20..25
    c.surface.fillRect({0, 2, 100, 3});
    EXPECT_EQ(columnsOf(c.bitmap(), 22, kInk), (std::vector<int32_t>{10, 11, 12, 13, 14}));
    EXPECT_EQ(c.surface.getClipRect(), (CRect{0, 0, 5, 5}));
}
