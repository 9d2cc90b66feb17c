#include "platform/win32/GdiplusDrawDevice.h"
#include "TestSupport.h"
#include "platform/SystemViewPlatform.h"
#include "views/CFontSpec.h"

#include <gtest/gtest.h>

namespace {

// Arial's design (and Liberation Sans', made to the same metrics): 2048 units per em, cell
// ascent 1854, cell descent 434, digit advance 1139, space advance 569, capital height 1467.
constexpr double kEm = 2048.0;
double arialPx(double units, double sizePx) {
    return units * sizePx / kEm;
}

struct Canvas {
    explicit Canvas(int32_t width = 120, int32_t height = 80) : bitmap(width, height) {
        bitmap.fill(kColorBlack);
    }
    CBitmap bitmap;
};

} // namespace

TEST(GdiplusColourTest, ColoursGoToGdiplusAsAlphaRedGreenBlue) {
    EXPECT_EQ(gdiplusArgb({0x12, 0x34, 0x56, 0x78}), 0x78123456u);
    EXPECT_EQ(gdiplusArgb(kColorTransparent), 0x00FFFFFFu);
    EXPECT_EQ(gdiplusArgb(kColorBlack), 0xFF000000u);
}

TEST(GdiplusSessionTest, GdiplusStartsAgainAfterTheLastSessionEnded) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        Canvas c(4, 4);
        {
            GdiplusDrawDevice device(c.bitmap);
            ASSERT_TRUE(device.isValid());
            device.fillRect({1, 1, 3, 3}, kColorRed);
        }
        EXPECT_TRUE(pixelIs(c.bitmap, 1, 1, kColorRed));
        EXPECT_TRUE(pixelIs(c.bitmap, 3, 3, kColorBlack));
    }
}

TEST(GdiplusSessionTest, NestedSessionsKeepGdiplusRunningUntilTheOuterEnds) {
    GdiplusSession outer;
    ASSERT_TRUE(outer.isActive());
    { GdiplusSession inner; }
    Canvas c(4, 4);
    GdiplusDrawDevice device(c.bitmap);
    ASSERT_TRUE(device.isValid());
    device.fillRect({0, 0, 2, 2}, kColorGreen);
    EXPECT_TRUE(pixelIs(c.bitmap, 0, 0, kColorGreen));
}

TEST(GdiplusDeviceTest, NoDeviceForAnEmptyBitmap) {
    CBitmap empty(0, 0);
    EXPECT_EQ(systemViewPlatform().createDrawDevice(empty), nullptr);
}

// Drawing is visible in the bitmap while the device still exists (the frame presents its back
// buffer before the drawing surface goes).
TEST(GdiplusDeviceTest, PixelsAreWrittenBeforeTheDeviceGoes) {
    Canvas c(8, 8);
    GdiplusDrawDevice device(c.bitmap);
    device.fillRect({2, 2, 6, 6}, {0, 0, 255, 128});
    EXPECT_TRUE(pixelIs(c.bitmap, 2, 2, {0, 0, 128, 255}, 1));
    EXPECT_TRUE(pixelIs(c.bitmap, 6, 6, kColorBlack));
}

TEST(GdiplusTextTest, ArialHasItsOwnVerticalMetrics) {
    Canvas c;
    GdiplusDrawDevice device(c.bitmap);
    const TextMetrics metrics = device.measureText("H", {"Arial", 100, kNormalFace});
    EXPECT_NEAR(metrics.ascent, arialPx(1854, 100), 0.6);
    EXPECT_NEAR(metrics.descent, arialPx(434, 100), 0.6);
}

TEST(GdiplusTextTest, WidthIsTheAdvanceIncludingTrailingBlanks) {
    Canvas c;
    GdiplusDrawDevice device(c.bitmap);
    const FontRequest font{"Arial", 20, kNormalFace};
    const double one = device.measureText("8", font).width;
    EXPECT_NEAR(one, arialPx(1139, 20), 0.6);
    EXPECT_NEAR(device.measureText("888", font).width, 3 * arialPx(1139, 20), 1.0);
    EXPECT_NEAR(device.measureText("8 ", font).width - one, arialPx(569, 20), 0.6);
    EXPECT_EQ(device.measureText("", font).width, 0.0);
    EXPECT_EQ(device.measureText(nullptr, font).width, 0.0);
}

TEST(GdiplusTextTest, GlyphsSitOnTheGivenBaseline) {
    Canvas c;
    {
        GdiplusDrawDevice device(c.bitmap);
        device.drawText("H", 10, 60, {"Arial", 40, kNormalFace}, kColorWhite, true);
    }
    const CRect ink = inkBounds(c.bitmap, kColorBlack);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.bottom, 60, 1);                    // the stems end on the baseline
    EXPECT_NEAR(ink.top, 60 - arialPx(1467, 40), 1.5); // capital height above it
    EXPECT_GE(ink.left, 10);                           // no padding before the glyph
    EXPECT_LE(ink.left, 10 + 4);
}

TEST(GdiplusTextTest, AnUnknownFaceStillShowsTheText) {
    Canvas c;
    {
        GdiplusDrawDevice device(c.bitmap);
        device.drawText("H", 10, 60, {"No Such Face QVL", 40, kNormalFace}, kColorWhite, true);
    }
    EXPECT_FALSE(inkBounds(c.bitmap, kColorBlack).isEmpty());
}

TEST(GdiplusTextTest, EmptyOrMissingTextDrawsNothing) {
    Canvas c;
    {
        GdiplusDrawDevice device(c.bitmap);
        device.drawText("", 10, 60, {"Arial", 40, kNormalFace}, kColorWhite, true);
        device.drawText(nullptr, 10, 60, {"Arial", 40, kNormalFace}, kColorWhite, true);
    }
    EXPECT_TRUE(inkBounds(c.bitmap, kColorBlack).isEmpty());
}
