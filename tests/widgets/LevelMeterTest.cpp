#include "widgets/LevelMeter.h"
#include "CustomViewsTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// The editor's sidechain meter: 10 x 130 at (509, 57).
const CRect kMeter{509, 57, 519, 187};
constexpr int32_t kTag = 42;
constexpr CColor kFirstLevel{149, 234, 255, 255};
constexpr CColor kSecondLevel{0, 204, 255, 255};
constexpr CColor kHighlight{51, 215, 255, 255};
constexpr CColor kMark{255, 20, 0, 255};
constexpr CColor kBorder{66, 66, 66, 255};

struct Inputs {
    float levelDb = -80.0f;
    float secondLevelDb = -80.0f;
    float thresholdDb = -10.0f;
};

Screen drawMeter(const Inputs& in, const CRect& rect = kMeter) {
    LevelMeter meter(rect, nullptr, kTag);
    meter.setValue(in.levelDb);
    meter.secondLevelDb = in.secondLevelDb;
    meter.thresholdDb = in.thresholdDb;
    Screen screen;
    meter.draw(screen.surface());
    return screen;
}

// Rows (inside the ring, column x) that show `color`.
std::vector<int32_t> innerRows(const Screen& s, int32_t x, CColor color) {
    return s.rowsOf(kMeter, x, color);
}

std::vector<int32_t> range(int32_t from, int32_t to) {
    std::vector<int32_t> r;
    for (int32_t y = from; y < to; ++y)
        r.push_back(y);
    return r;
}

} // namespace

TEST(LevelMeterTest, StartsAtMinus80WithNoBar) {
    LevelMeter meter(kMeter, nullptr, kTag);
    EXPECT_FLOAT_EQ(meter.getValue(), -80.0f);
    EXPECT_FLOAT_EQ(meter.secondLevelDb, -80.0f);
    EXPECT_FLOAT_EQ(meter.thresholdDb, -10.0f);
    EXPECT_EQ(meter.getTag(), kTag);
    Screen screen;
    meter.draw(screen.surface());
    // -80 dB is row 160, limited to 128: nothing between the rings but the mark at row 20.
    for (int32_t x = 2; x < 8; ++x)
        for (int32_t y = 2; y < 128; ++y)
            if (y != 20) {
                ASSERT_TRUE(screen.is(kMeter, x, y, kColorBlack)) << x << "," << y;
            }
    EXPECT_FALSE(meter.isDirty());
}

TEST(LevelMeterTest, FirstLevelBarRisesTwoPixelsPerDb) {
    struct Case {
        float levelDb;
        int32_t topRow;
    };
    // Row = trunc(level x -2), limited to 2 ... 128.
    const Case cases[] = {{-80.0f, 128}, {-63.0f, 126}, {-20.0f, 40}, {-20.4f, 40},
                          {-0.5f, 2},    {0.0f, 2},     {6.0f, 2}};
    for (const Case& c : cases) {
        Inputs in;
        in.levelDb = c.levelDb;
        in.thresholdDb = 0.0f;
        const Screen screen = drawMeter(in);
        for (int32_t x = 2; x < 8; ++x)
            EXPECT_EQ(innerRows(screen, x, kFirstLevel), range(c.topRow, 128))
                << c.levelDb << " x " << x;
        EXPECT_TRUE(screen.is(kMeter, 1, 100, kColorBlack)); // bars keep off the inner ring
        EXPECT_TRUE(screen.is(kMeter, 8, 100, kColorBlack));
    }
}

TEST(LevelMeterTest, OnADenserDisplayTheBarMovesInFinerSteps) {
    // At 200 % an editor pixel is two device rows: -20 and -20.4 dB, one row apart at 100 %,
    // part here, and the bar still ends on the meter's inner bottom edge.
    const std::pair<float, int32_t> cases[] = {{-20.0f, 80}, {-20.4f, 81}, {-20.6f, 82}};
    for (const auto& [levelDb, topRow] : cases) {
        LevelMeter meter(kMeter, nullptr, kTag);
        meter.setValue(levelDb);
        meter.thresholdDb = 0.0f;
        COffscreenSurface surface(nullptr, 690, 270, kColorBlack, 2.0);
        meter.draw(surface);
        const std::vector<int32_t> rows =
            rowsOf(*surface.getBitmap(), (kMeter.left + 4) * 2, kFirstLevel);
        ASSERT_FALSE(rows.empty()) << levelDb;
        EXPECT_EQ(rows.front() - kMeter.top * 2, topRow) << levelDb;
        EXPECT_EQ(rows.back() - kMeter.top * 2, 2 * 128 - 1) << levelDb;
        EXPECT_EQ(rows.size(), std::size_t(2 * 128 - topRow)) << levelDb;
    }
}

TEST(LevelMeterTest, SecondLevelShowsEntirelyInHighlightOnTenPixels) {
    Inputs in;
    in.levelDb = 0.0f;
    in.secondLevelDb = -30.0f; // row 60
    in.thresholdDb = 0.0f;
    const Screen screen = drawMeter(in);
    for (int32_t x = 2; x < 8; ++x) {
        EXPECT_EQ(innerRows(screen, x, kHighlight), range(60, 128)) << x;
        EXPECT_EQ(innerRows(screen, x, kFirstLevel), range(2, 60)) << x;
        EXPECT_TRUE(innerRows(screen, x, kSecondLevel).empty()) << x;
    }
}

TEST(LevelMeterTest, WiderMeterShowsSecondLevelBetweenItsHighlights) {
    const CRect wide{509, 57, 529, 187}; // 20 pixels: highlights x 2..3 and 12..17
    Inputs in;
    in.secondLevelDb = -10.0f; // row 20
    in.thresholdDb = 0.0f;
    const Screen screen = drawMeter(in, wide);
    EXPECT_EQ(screen.columnsOf(wide, 50, kHighlight),
              (std::vector<int32_t>{2, 3, 12, 13, 14, 15, 16, 17}));
    EXPECT_EQ(screen.columnsOf(wide, 50, kSecondLevel), range(4, 12));
    EXPECT_EQ(screen.rowsOf(wide, 6, kSecondLevel), range(20, 128));
}

TEST(LevelMeterTest, ThresholdMarkRules) {
    struct Case {
        float thresholdDb;
        int32_t markRow; // -1: no mark
        bool shadow;
    };
    const Case cases[] = {{0.0f, -1, false}, {-0.5f, -1, false},  {-1.0f, 2, false},
                          {-1.5f, 3, true},  {-50.0f, 100, true}, {5.0f, -1, false}};
    for (const Case& c : cases) {
        Inputs in;
        in.levelDb = 0.0f; // the first bar under the mark shows its shadow
        in.thresholdDb = c.thresholdDb;
        const Screen screen = drawMeter(in);
        std::vector<int32_t> expected;
        if (c.markRow >= 0) expected.push_back(c.markRow);
        for (int32_t x = 1; x < 9; ++x)
            EXPECT_EQ(innerRows(screen, x, kMark), expected) << c.thresholdDb << " x " << x;
        if (c.markRow >= 0) {
            const CColor shaded = blendOver({0, 0, 0, 55}, kFirstLevel);
            EXPECT_EQ(screen.is(kMeter, 5, c.markRow + 1, shaded, 1), c.shadow) << c.thresholdDb;
            EXPECT_EQ(screen.is(kMeter, 5, c.markRow + 1, kFirstLevel), !c.shadow);
        }
    }
}

TEST(LevelMeterTest, ThresholdBelowTheMeterSticksToTheBottom) {
    Inputs in;
    in.thresholdDb = -70.0f; // row 140, limited to 128
    const Screen screen = drawMeter(in);
    EXPECT_EQ(innerRows(screen, 4, kMark), (std::vector<int32_t>{128}));
    EXPECT_TRUE(screen.is(kMeter, 4, 129, kBorder));
}

TEST(LevelMeterTest, RingAndShadedCorners) {
    const Screen screen = drawMeter({});
    for (int32_t y = 1; y < 129; ++y) {
        EXPECT_TRUE(screen.is(kMeter, 0, y, kBorder)) << y;
        EXPECT_TRUE(screen.is(kMeter, 9, y, kBorder)) << y;
    }
    for (int32_t x = 1; x < 9; ++x) {
        EXPECT_TRUE(screen.is(kMeter, x, 0, kBorder)) << x;
        EXPECT_TRUE(screen.is(kMeter, x, 129, kBorder)) << x;
    }
    const CColor corner = blendOver({0, 0, 0, 100}, kBorder);
    for (const auto& [x, y] : {std::pair{0, 0}, {9, 0}, {0, 129}, {9, 129}})
        EXPECT_TRUE(screen.is(kMeter, x, y, corner, 1)) << x << "," << y;
    EXPECT_TRUE(pixelIs(screen.bitmap(), kMeter.right, kMeter.top + 5, kColorBlack));
}

TEST(LevelMeterTest, NonFiniteAndHugeInputsStayDefined) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Inputs in{nan, nan, nan};
    Screen screen = drawMeter(in);
    EXPECT_TRUE(innerRows(screen, 4, kFirstLevel).empty());
    EXPECT_TRUE(innerRows(screen, 4, kMark).empty());

    in = {inf, -inf, 1e30f}; // full first bar, no second bar, mark above the top: none
    screen = drawMeter(in);
    EXPECT_EQ(innerRows(screen, 4, kFirstLevel), range(2, 128));
    EXPECT_TRUE(innerRows(screen, 4, kMark).empty());

    in = {-1e30f, 0.0f, -1e30f};
    screen = drawMeter(in);
    EXPECT_EQ(innerRows(screen, 4, kHighlight), range(2, 128));
    EXPECT_EQ(innerRows(screen, 4, kMark), (std::vector<int32_t>{128}));
}
