#include "CustomViewsTestSupport.h"
#include "widgets/CCompMeter.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// The editor's gain-reduction meter: 30 x 130 at (544, 57).
const CRect kMeter{544, 57, 574, 187};
constexpr int32_t kTag = 42;
constexpr CColor kBar{0, 204, 255, 255};
constexpr CColor kHighlight{51, 215, 255, 255};
constexpr CColor kStrip{255, 20, 0, 255};
constexpr CColor kBorder{66, 66, 66, 255};
const CColor kHold = blendOver({0, 204, 255, 50}, kColorBlack);

Screen drawMeter(float value, double holdValue) {
    CCompMeter meter(kMeter, nullptr, kTag);
    meter.setValue(value);
    meter.holdValue = holdValue;
    Screen screen;
    meter.draw(screen.surface());
    return screen;
}

std::vector<int32_t> range(int32_t from, int32_t to) {
    std::vector<int32_t> r;
    for (int32_t y = from; y < to; ++y)
        r.push_back(y);
    return r;
}

} // namespace

TEST(CompMeterTest, BarGrowsDownTenPixelsPerUnit) {
    struct Case {
        float value;
        int32_t bottomRow; // bar covers rows 2 .. bottomRow - 1
    };
    // 2 + trunc(value x 10), the length limited to 126.
    const Case cases[] = {{0.0f, 2},    {0.05f, 2},   {1.05f, 12}, {3.0f, 32},
                          {12.6f, 128}, {13.0f, 128}, {40.0f, 128}};
    for (const Case& c : cases) {
        const Screen screen = drawMeter(c.value, 0.0);
        for (int32_t x = 3; x < 27; ++x)
            ASSERT_EQ(screen.rowsOf(kMeter, x, kBar), range(2, c.bottomRow))
                << c.value << " x " << x;
        // 1-pixel highlights at the bar's sides.
        EXPECT_EQ(screen.rowsOf(kMeter, 2, kHighlight), range(2, c.bottomRow)) << c.value;
        EXPECT_EQ(screen.rowsOf(kMeter, 27, kHighlight), range(2, c.bottomRow)) << c.value;
        EXPECT_TRUE(screen.is(kMeter, 1, 20, kColorBlack));
        EXPECT_TRUE(screen.is(kMeter, 28, 20, kColorBlack));
    }
}

TEST(CompMeterTest, LargerValuesDrawTheSameLimitedBar) {
    const Screen limit = drawMeter(13.0f, 0.0);
    const Screen larger = drawMeter(1000.0f, 0.0);
    EXPECT_TRUE(limit.sameAs(larger, kMeter));
}

TEST(CompMeterTest, HoldRegionAndOverRangeStrip) {
    struct Case {
        double hold;
        int32_t holdBottom;
        bool strip;
    };
    const Case cases[] = {
        {2.0, 22, false}, {12.6, 128, false}, {12.7, 128, true}, {13.0, 128, true}};
    for (const Case& c : cases) {
        const Screen screen = drawMeter(1.0f, c.hold); // bar rows 2..11 above the hold
        const std::vector<int32_t> red = screen.rowsOf(kMeter, 10, kStrip);
        if (c.strip) {
            EXPECT_EQ(red, (std::vector<int32_t>{126, 127})) << c.hold;
            EXPECT_EQ(screen.columnsOf(kMeter, 126, kStrip), range(2, 28)) << c.hold;
            EXPECT_EQ(screen.rowsOf(kMeter, 10, kHold), range(12, 126)) << c.hold;
        } else {
            EXPECT_TRUE(red.empty()) << c.hold;
            EXPECT_EQ(screen.rowsOf(kMeter, 10, kHold), range(12, c.holdBottom)) << c.hold;
        }
        EXPECT_EQ(screen.rowsOf(kMeter, 10, kBar), range(2, 12)) << c.hold;
    }
}

TEST(CompMeterTest, NegativeValueReachesUpIntoTheBorder) {
    const Screen screen = drawMeter(-0.5f, 0.0); // trunc(-5): rows -3..1, cut at the top
    EXPECT_EQ(screen.rowsOf(kMeter, 10, kBar), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(screen.rowsOf(kMeter, 2, kHighlight), (std::vector<int32_t>{0, 1}));
    EXPECT_TRUE(pixelIs(screen.bitmap(), kMeter.left + 10, kMeter.top - 1, kColorBlack));
}

TEST(CompMeterTest, RingAndShadedCorners) {
    const Screen screen = drawMeter(0.0f, 0.0);
    for (int32_t y = 1; y < 129; ++y) {
        EXPECT_TRUE(screen.is(kMeter, 0, y, kBorder)) << y;
        EXPECT_TRUE(screen.is(kMeter, 29, y, kBorder)) << y;
    }
    EXPECT_TRUE(screen.is(kMeter, 15, 0, kBorder));
    EXPECT_TRUE(screen.is(kMeter, 15, 129, kBorder));
    const CColor corner = blendOver({0, 0, 0, 100}, kBorder);
    for (const auto& [x, y] : {std::pair{0, 0}, {29, 0}, {0, 129}, {29, 129}})
        EXPECT_TRUE(screen.is(kMeter, x, y, corner, 1)) << x << "," << y;
}

TEST(CompMeterTest, NonFiniteInputsShowNothing) {
    const Screen screen = drawMeter(std::numeric_limits<float>::quiet_NaN(),
                                    std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(screen.rowsOf(kMeter, 10, kBar).empty());
    EXPECT_TRUE(screen.rowsOf(kMeter, 10, kHold).empty());
    EXPECT_TRUE(screen.rowsOf(kMeter, 10, kStrip).empty());
    const Screen huge = drawMeter(-std::numeric_limits<float>::infinity(), 1e300);
    EXPECT_EQ(huge.rowsOf(kMeter, 10, kBar), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(huge.rowsOf(kMeter, 10, kStrip), (std::vector<int32_t>{126, 127}));
}

TEST(CompMeterTest, Construction) {
    CCompMeter meter(kMeter, nullptr, kTag);
    EXPECT_EQ(meter.getTag(), kTag);
    EXPECT_FLOAT_EQ(meter.getValue(), 0.0f);
    EXPECT_EQ(meter.holdValue, 0.0);
}
