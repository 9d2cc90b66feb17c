#include "TestSupport.h"
#include "views/CDrawSurface.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr CColor kRed{255, 0, 0, 255};

struct TextCanvas {
    TextCanvas() : surface(nullptr, 120, 40, kColorBlack) {
        surface.setFontColor(kRed);
        surface.setFont(stockFont(StockFont::kNormal));
    }
    const CBitmap& bitmap() const { return *surface.getBitmap(); }
    CRect ink() const { return inkBounds(bitmap(), kColorBlack); }
    COffscreenSurface surface;
};

double centre(int32_t a, int32_t b) {
    return (a + b) * 0.5;
}

} // namespace

TEST(TextAlignmentTest, LeftTextStartsAtTheLeftEdge) {
    TextCanvas c;
    c.surface.drawString("H88", {10, 5, 110, 35}, kLeftText);
    const CRect ink = c.ink();
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.left, 12); // only the glyph's side bearing
}

TEST(TextAlignmentTest, RightTextEndsAtTheRightEdge) {
    TextCanvas c;
    c.surface.drawString("H88", {10, 5, 110, 35}, kRightText);
    const CRect ink = c.ink();
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LE(ink.right, 110);
    EXPECT_GE(ink.right, 108);
}

TEST(TextAlignmentTest, CentredTextFollowsTheTruncatedCentreFormula) {
    TextCanvas c;
    const CRect box{10, 5, 110, 35};
    const double width = c.surface.getStringWidth("H88");
    ASSERT_GT(width, 10.0);
    c.surface.drawString("H88", box, kCenterText);
    const CRect ink = c.ink();
    const int32_t x = int32_t(box.width() * 0.5 + box.left - width * 0.5);
    // The ink lies inside the advance box that starts at x.
    EXPECT_GE(ink.left, x);
    EXPECT_LE(ink.right, x + int32_t(width) + 1);
    EXPECT_NEAR(centre(ink.left, ink.right), centre(box.left, box.right), 2.0);
}

TEST(TextAlignmentTest, TextIsCentredVerticallyOnTheRectangle) {
    for (const int32_t top : {0, 7, 15}) {
        TextCanvas c;
        const CRect box{0, top, 120, top + 20};
        c.surface.drawString("H", box, kLeftText);
        const CRect ink = c.ink();
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_GE(ink.top, box.top);
        EXPECT_LE(ink.bottom, box.bottom);
        // A capital sits above the font's descent, so its middle is a little above centre.
        EXPECT_NEAR(centre(ink.top, ink.bottom), centre(box.top, box.bottom), 3.0) << top;
    }
}

TEST(TextColourTest, TextIsDrawnInTheFontColourOnly) {
    TextCanvas c;
    c.surface.drawString("H", {0, 0, 120, 40}, kCenterText, true);
    uint8_t brightest = 0;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 120; ++x) {
            const CColor p = pixelColor(c.bitmap(), x, y);
            EXPECT_EQ(p.green, 0);
            EXPECT_EQ(p.blue, 0);
            brightest = std::max(brightest, p.red);
        }
    EXPECT_GE(brightest, 250); // the stems of a hinted "H" cover whole pixels
}

TEST(TextColourTest, TextWithoutAntialiasHasNoInBetweenShades) {
#ifdef _WIN32
    GTEST_SKIP() << "on Windows such text follows the system's own font smoothing setting";
#endif
    TextCanvas c;
    c.surface.drawString("H8", {0, 0, 120, 40}, kCenterText, false);
    int inked = 0;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 120; ++x) {
            const bool red = pixelIs(c.bitmap(), x, y, kRed);
            EXPECT_TRUE(red || pixelIs(c.bitmap(), x, y, kColorBlack)) << x << "," << y;
            inked += red;
        }
    EXPECT_GT(inked, 10);
}

TEST(TextClipTest, TextIsCutToItsRectangle) {
    TextCanvas c;
    c.surface.drawString("888888", {20, 10, 30, 30}, kLeftText);
    const CRect ink = c.ink();
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 30);
    EXPECT_EQ(c.surface.getClipRect(), (CRect{0, 0, 120, 40})); // restored afterwards
}

TEST(TextClipTest, TextIsCutToTheCurrentClipToo) {
    TextCanvas c;
    c.surface.setClipRect({0, 0, 25, 40});
    c.surface.drawString("888888", {20, 10, 100, 30}, kLeftText);
    EXPECT_LE(c.ink().right, 25);
}

TEST(TextFontTest, LargerFontsMeasureWider) {
    TextCanvas c;
    c.surface.setFont(stockFont(StockFont::kVerySmall));
    const double small = c.surface.getStringWidth("-48");
    c.surface.setFont(stockFont(StockFont::kVeryBig));
    const double big = c.surface.getStringWidth("-48");
    EXPECT_GT(small, 0.0);
    EXPECT_GT(big, small * 1.5);
}

TEST(TextFontTest, SetFontSizeZeroTakesTheFontsOwnSize) {
    TextCanvas c;
    c.surface.setFont(stockFont(StockFont::kVerySmall), 0, -1);
    const double own = c.surface.getStringWidth("8888");
    c.surface.setFont(stockFont(StockFont::kVerySmall), 18);
    EXPECT_GT(c.surface.getStringWidth("8888"), own * 1.5);
}

TEST(TextFontTest, EmptyOrNullTextDrawsNothing) {
    TextCanvas c;
    c.surface.drawString("", {0, 0, 120, 40});
    c.surface.drawString(nullptr, {0, 0, 120, 40});
    EXPECT_TRUE(c.ink().isEmpty());
    EXPECT_EQ(c.surface.getStringWidth(nullptr), 0.0);
}
