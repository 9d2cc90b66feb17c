#include "TestSupport.h"

#include <gtest/gtest.h>
#include <png.h>

namespace {

SharedRef<CBitmap> load(const std::vector<unsigned char>& png) {
    return SharedRef<CBitmap>::adopt(CBitmap::fromPng(png.data(), png.size()));
}

// Straight colour as the decoder stores it: c × a >> 8, all zero when a is 0.
CColor premultiplied(int r, int g, int b, int a) {
    if (a == 0) return {0, 0, 0, 0};
    return {uint8_t(r * a >> 8), uint8_t(g * a >> 8), uint8_t(b * a >> 8), uint8_t(a)};
}

} // namespace

TEST(PngLoadingTest, PaletteWithTransparencyLoadsWithAlpha) {
    PngLayout layout;
    layout.width = 3;
    layout.height = 1;
    layout.colorType = PNG_COLOR_TYPE_PALETTE;
    layout.paletteRgb = {255, 0, 0, 0, 255, 0, 10, 20, 30};
    layout.transparency = {255, 0, 128}; // entry 1 fully transparent, entry 2 half
    layout.rowBytes = {0, 1, 2};
    const auto image = load(encodePng(layout));
    ASSERT_EQ(image->getWidth(), 3);
    EXPECT_EQ(pixelColor(*image, 0, 0), premultiplied(255, 0, 0, 255));
    EXPECT_EQ(pixelColor(*image, 1, 0), (CColor{0, 0, 0, 0}));
    EXPECT_EQ(image->pixelAt(1, 0), 0u); // fully transparent pixels are all zero
    EXPECT_EQ(pixelColor(*image, 2, 0), premultiplied(10, 20, 30, 128));
}

TEST(PngLoadingTest, PaletteWithoutTransparencyIsOpaque) {
    PngLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.colorType = PNG_COLOR_TYPE_PALETTE;
    layout.paletteRgb = {1, 2, 3, 200, 100, 50};
    layout.rowBytes = {1, 0};
    const auto image = load(encodePng(layout));
    EXPECT_EQ(pixelColor(*image, 0, 0), premultiplied(200, 100, 50, 255));
    EXPECT_EQ(pixelColor(*image, 1, 0), premultiplied(1, 2, 3, 255));
}

TEST(PngLoadingTest, GreyExpandsToEqualColourSamples) {
    PngLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.colorType = PNG_COLOR_TYPE_GRAY;
    layout.rowBytes = {0, 200};
    const auto image = load(encodePng(layout));
    EXPECT_EQ(pixelColor(*image, 0, 0), premultiplied(0, 0, 0, 255));
    EXPECT_EQ(pixelColor(*image, 1, 0), premultiplied(200, 200, 200, 255));
}

TEST(PngLoadingTest, LowBitDepthGreyIsScaledToEightBits) {
    PngLayout layout;
    layout.width = 4;
    layout.height = 1;
    layout.colorType = PNG_COLOR_TYPE_GRAY;
    layout.bitDepth = 2;
    layout.rowBytes = {0b00011011}; // levels 0, 1, 2, 3 -> 0, 85, 170, 255
    const auto image = load(encodePng(layout));
    EXPECT_EQ(pixelColor(*image, 1, 0), premultiplied(85, 85, 85, 255));
    EXPECT_EQ(pixelColor(*image, 3, 0), premultiplied(255, 255, 255, 255));
}

TEST(PngLoadingTest, GreyWithAlphaIsPremultiplied) {
    PngLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    layout.rowBytes = {200, 100, 77, 0};
    const auto image = load(encodePng(layout));
    EXPECT_EQ(pixelColor(*image, 0, 0), premultiplied(200, 200, 200, 100));
    EXPECT_EQ(image->pixelAt(1, 0), 0u);
}

TEST(PngLoadingTest, SixteenBitSamplesKeepTheirHighByte) {
    PngLayout layout;
    layout.width = 1;
    layout.height = 1;
    layout.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    layout.bitDepth = 16;
    layout.rowBytes = {0x12, 0xff, 0x80, 0x01, 0xfe, 0x00, 0xc0, 0x33}; // big-endian samples
    const auto image = load(encodePng(layout));
    EXPECT_EQ(pixelColor(*image, 0, 0), premultiplied(0x12, 0x80, 0xfe, 0xc0));
}

TEST(PngLoadingTest, InterlacedImageMatchesItsPixels) {
    std::vector<CColor> pixels;
    PngLayout layout;
    layout.width = 9;
    layout.height = 7;
    layout.colorType = PNG_COLOR_TYPE_RGB;
    layout.interlaced = true;
    for (uint32_t y = 0; y < layout.height; ++y)
        for (uint32_t x = 0; x < layout.width; ++x)
            layout.rowBytes.insert(layout.rowBytes.end(),
                                   {uint8_t(x * 25), uint8_t(y * 30), uint8_t(x + y)});
    const auto image = load(encodePng(layout));
    ASSERT_EQ(image->getWidth(), 9);
    ASSERT_EQ(image->getHeight(), 7);
    for (int32_t y = 0; y < 7; ++y)
        for (int32_t x = 0; x < 9; ++x)
            EXPECT_EQ(pixelColor(*image, x, y), premultiplied(x * 25, y * 30, x + y, 255))
                << x << "," << y;
}

TEST(PngLoadingTest, RgbaFullyTransparentPixelsAreZeroWhateverTheirColour) {
    const auto image = load(encodeRgbaPng(2, 1, {{255, 255, 255, 0}, {255, 255, 255, 1}}));
    EXPECT_EQ(image->pixelAt(0, 0), 0u);
    EXPECT_EQ(pixelColor(*image, 1, 0), premultiplied(255, 255, 255, 1));
}

TEST(PngLoadingTest, BrokenDataGivesAnEmptyBitmap) {
    auto png = encodeRgbaPng(4, 4, std::vector<CColor>(16, kColorWhite));
    const std::vector<unsigned char> truncated(png.begin(), png.begin() + long(png.size() / 2));
    EXPECT_FALSE(load(truncated)->isLoaded());
    const std::vector<unsigned char> notPng{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_FALSE(load(notPng)->isLoaded());
    EXPECT_FALSE(SharedRef<CBitmap>::adopt(CBitmap::fromPng(nullptr, 0))->isLoaded());
}
