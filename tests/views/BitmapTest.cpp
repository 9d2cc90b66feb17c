#include "TestSupport.h"
#include "views/CDrawSurface.h"

#include <gtest/gtest.h>

namespace {

// A 4 x 4 image whose pixel (x, y) has red = 10 × x + 1, green = 10 × y + 1, opaque.
CBitmap* makeGradient() {
    std::vector<CColor> pixels;
    for (uint8_t y = 0; y < 4; ++y)
        for (uint8_t x = 0; x < 4; ++x)
            pixels.push_back({uint8_t(10 * x + 1), uint8_t(10 * y + 1), 0, 255});
    const auto png = encodeRgbaPng(4, 4, pixels);
    return CBitmap::fromPng(png.data(), png.size());
}

// What the decoder keeps of an opaque sample: c × 255 >> 8.
uint8_t stored(int sample) {
    return uint8_t(sample * 255 >> 8);
}

} // namespace

TEST(BitmapDrawTest, CopiesTheAreaAtTheSourceOffsetPixelForPixel) {
    SharedRef<CBitmap> image = SharedRef<CBitmap>::adopt(makeGradient());
    COffscreenSurface surface(nullptr, 10, 10);
    image->draw(surface, {5, 5, 7, 7}, {1, 2});
    const CBitmap& out = *surface.getBitmap();
    EXPECT_TRUE(pixelIs(out, 5, 5, {stored(11), stored(21), 0, 255}));
    EXPECT_TRUE(pixelIs(out, 6, 6, {stored(21), stored(31), 0, 255}));
    // Nothing outside the destination rectangle.
    EXPECT_TRUE(pixelIs(out, 7, 5, kColorBlack));
    EXPECT_TRUE(pixelIs(out, 5, 7, kColorBlack));
}

TEST(BitmapDrawTest, NegativeSourceOffsetShiftsTheImageRightAndDown) {
    SharedRef<CBitmap> image = SharedRef<CBitmap>::adopt(makeGradient());
    COffscreenSurface surface(nullptr, 10, 10);
    image->draw(surface, {2, 2, 8, 8}, {-1, -4});
    const CBitmap& out = *surface.getBitmap();
    // Image pixel (0, 0) lands at (3, 6); the uncovered part of the destination stays as it was.
    EXPECT_TRUE(pixelIs(out, 3, 6, {stored(1), stored(1), 0, 255}));
    EXPECT_TRUE(pixelIs(out, 4, 7, {stored(11), stored(11), 0, 255}));
    EXPECT_TRUE(pixelIs(out, 2, 6, kColorBlack));
    EXPECT_TRUE(pixelIs(out, 3, 5, kColorBlack));
}

TEST(BitmapDrawTest, SourceBeyondTheImageDrawsNothingThere) {
    SharedRef<CBitmap> image = SharedRef<CBitmap>::adopt(makeGradient());
    COffscreenSurface surface(nullptr, 10, 10);
    image->draw(surface, {0, 0, 10, 10}, {2, 2});
    const CBitmap& out = *surface.getBitmap();
    EXPECT_TRUE(pixelIs(out, 1, 1, {stored(31), stored(31), 0, 255}));
    EXPECT_TRUE(pixelIs(out, 2, 0, kColorBlack));
    EXPECT_TRUE(pixelIs(out, 0, 2, kColorBlack));
}

TEST(BitmapDrawTest, ContextOffsetMovesTheDestination) {
    SharedRef<CBitmap> image = SharedRef<CBitmap>::adopt(makeGradient());
    COffscreenSurface surface(nullptr, 10, 10);
    surface.setOffset({3, 1});
    image->draw(surface, {0, 0, 1, 1});
    EXPECT_TRUE(pixelIs(*surface.getBitmap(), 3, 1, {stored(1), stored(1), 0, 255}));
}

TEST(BitmapDrawTest, TranslucentPixelsBlendOverTheTarget) {
    const auto png = encodeRgbaPng(1, 1, {{255, 255, 255, 128}});
    SharedRef<CBitmap> image = SharedRef<CBitmap>::adopt(CBitmap::fromPng(png.data(), png.size()));
    COffscreenSurface surface(nullptr, 2, 1, kColorBlack);
    image->draw(surface, {0, 0, 1, 1});
    image->drawTransparent(surface, {1, 0, 2, 1});
    // Stored as 255 × 128 >> 8 = 127 over black: 127 grey, opaque.
    EXPECT_TRUE(pixelIs(*surface.getBitmap(), 0, 0, {127, 127, 127, 255}));
    EXPECT_EQ(pixelColor(*surface.getBitmap(), 1, 0), pixelColor(*surface.getBitmap(), 0, 0));
}

TEST(BitmapDrawTest, OffscreenBitmapDrawsIntoAnotherContext) {
    COffscreenSurface inner(nullptr, 3, 3, kColorBlack);
    inner.setFillColor({0, 204, 255, 255});
    inner.fillRect({1, 1, 2, 2});
    COffscreenSurface outer(nullptr, 10, 10, kColorWhite);
    inner.copyFrom(outer, {4, 4, 7, 7});
    EXPECT_TRUE(pixelIs(*outer.getBitmap(), 5, 5, {0, 204, 255, 255}));
    EXPECT_TRUE(pixelIs(*outer.getBitmap(), 4, 4, kColorBlack));
    EXPECT_TRUE(pixelIs(*outer.getBitmap(), 3, 3, kColorWhite));
}

TEST(BitmapTest, ReferenceCountDestroysOnLastRelease) {
    auto* image = new CBitmap(2, 2);
    EXPECT_EQ(image->getNbReference(), 1);
    {
        SharedRef<CBitmap> holder(image);
        EXPECT_EQ(image->getNbReference(), 2);
    }
    EXPECT_EQ(image->getNbReference(), 1);
    image->releaseRef();
}

TEST(BitmapTest, MissingResourceGivesAnEmptyBitmap) {
    CBitmap image(int32_t{99999});
    EXPECT_FALSE(image.isLoaded());
    COffscreenSurface surface(nullptr, 2, 2, kColorWhite);
    image.draw(surface, {0, 0, 2, 2});
    EXPECT_TRUE(pixelIs(*surface.getBitmap(), 0, 0, kColorWhite));
}

TEST(BitmapTest, PixelAtOutsideTheImageIsTransparent) {
    CBitmap image(2, 2);
    image.fill(kColorWhite);
    EXPECT_EQ(image.pixelAt(1, 1), 0xffffffffu);
    EXPECT_EQ(image.pixelAt(2, 0), 0u);
    EXPECT_EQ(image.pixelAt(-1, 0), 0u);
}
