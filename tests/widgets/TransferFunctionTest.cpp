#include "CustomViewsTestSupport.h"
#include "widgets/CTransferFunction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <set>

namespace {

// The editor's graph: 130 x 130 at (374, 57).
const CRect kGraph{374, 57, 504, 187};
constexpr int32_t kTag = 42;
constexpr CColor kCurve{0, 204, 255, 255};
constexpr CColor kDiagonal{0, 41, 51, 255};
constexpr CColor kThresholdLine{255, 20, 0, 255};
constexpr CColor kBorder{66, 66, 66, 255};
const CColor kKneeBand = blendOver({255, 20, 0, 55}, kColorBlack);

struct Settings {
    double thresholdDb, kneeDb, ratio, makeUpDb, dryAttenuationDb;
};

// Static curve of a feed-forward compressor with a quadratic soft knee, written the textbook
// way, plus the dry path: output level in dB for input level x.
double referenceOutputDb(const Settings& s, double x) {
    const double T = s.thresholdDb, K = s.kneeDb, R = s.ratio;
    double wetDb = x;
    if (x - T >= K)
        wetDb = x + (1.0 / R - 1.0) * (x - T);
    else if (x - T > -K)
        wetDb = x + (1.0 / R - 1.0) * (x - T + K) * (x - T + K) / (4.0 * K);
    wetDb += s.makeUpDb;
    const double dryDb = x - s.dryAttenuationDb;
    return 20.0 * std::log10(std::pow(10.0, wetDb / 20.0) + std::pow(10.0, dryDb / 20.0));
}

// Column i plots input -(130 - i) / 2 dB at 2 pixels per dB below the top edge.
double referenceRow(const Settings& s, int32_t column) {
    return -2.0 * referenceOutputDb(s, -(130.0 - column) / 2.0);
}

CTransferFunction* makeGraph(const Settings& s, double ratioParameter, double makeUpParameter) {
    auto* graph = new CTransferFunction(kGraph, nullptr, kTag);
    graph->thresholdDb = s.thresholdDb;
    graph->kneeDb = s.kneeDb;
    graph->setRatioFromParameter(ratioParameter);
    graph->setMakeUpFromParameter(makeUpParameter);
    graph->dryAttenuationDb = s.dryAttenuationDb;
    return graph;
}

Screen drawn(CTransferFunction& graph) {
    Screen screen;
    graph.draw(screen.surface());
    return screen;
}

} // namespace

// The curve, column by column, against the reference (each dot is 2 pixels wide, so a column
// shows its own dot and its left neighbour's).
struct CurveCase {
    const char* name;
    Settings settings;
    double ratioParameter, makeUpParameter;
};

class TransferCurveTest : public ::testing::TestWithParam<CurveCase> {};

TEST_P(TransferCurveTest, DotsFollowTheStaticCurve) {
    const CurveCase& c = GetParam();
    CTransferFunction* graph = makeGraph(c.settings, c.ratioParameter, c.makeUpParameter);
    const Screen screen = drawn(*graph);
    int checked = 0;
    for (int32_t column = 1; column <= 128; ++column) {
        const double left = referenceRow(c.settings, column - 1);
        const double own = referenceRow(c.settings, column);
        // Skip columns whose rows sit on a pixel boundary: rounding may go either way there.
        const auto nearBoundary = [](double y) { return std::fabs(y - std::round(y)) < 1e-6; };
        if (nearBoundary(left) || nearBoundary(own)) continue;
        std::set<int32_t> expected;
        for (double y : {left, own}) {
            const auto row = int32_t(std::trunc(y));
            if (row >= 1 && row <= 128) expected.insert(row);
        }
        const std::vector<int32_t> rows = screen.rowsOf(kGraph, column, kCurve);
        EXPECT_EQ(std::set<int32_t>(rows.begin(), rows.end()), expected)
            << c.name << " column " << column;
        ++checked;
    }
    EXPECT_GT(checked, 120);
    graph->releaseRef();
}

INSTANTIATE_TEST_SUITE_P(
    Settings, TransferCurveTest,
    ::testing::Values(CurveCase{"defaults", {0, 0, 1, 0, 0}, 0.0, 0.5},
                      CurveCase{"threshold-50-ratio8", {-50, 0, 8, 0, 100}, 1.0, 0.5},
                      CurveCase{"soft-knee", {-20, 20, 2, 0, 100}, 0.4, 0.5},
                      CurveCase{"ratio4-makeup6", {-30, 10, 4, 6, 40}, 0.85, 0.75},
                      CurveCase{"dry-and-makeup-down", {-10, 5, 1.5, -38.4, 0}, 0.2, 0.1},
                      CurveCase{"makeup+12", {-40, 2, 3, 12, 100}, 0.8, 1.0}),
    [](const ::testing::TestParamInfo<CurveCase>& p) {
        std::string name = p.param.name;
        std::replace_if(
            name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
        return name;
    });

TEST(TransferFunctionTest, DefaultsPlotTwoEqualPathsThirteenRowsAboveTheDiagonal) {
    CTransferFunction graph(kGraph, nullptr, kTag);
    const Screen screen = drawn(graph);
    // Twice the input is 6.02 dB up: y = trunc(D - 12.04) = D - 13 with D = 130 - column;
    // from column 117 on the dots reach the top border and leave the view.
    for (int32_t column = 1; column <= 116; ++column) {
        const int32_t D = 130 - column;
        const std::vector<int32_t> expected{D - 13, D + 1 - 13};
        EXPECT_EQ(screen.rowsOf(kGraph, column, kCurve), expected) << column;
    }
    EXPECT_EQ(screen.rowsOf(kGraph, 117, kCurve), (std::vector<int32_t>{1}));
    for (int32_t column = 118; column <= 128; ++column)
        EXPECT_TRUE(screen.rowsOf(kGraph, column, kCurve).empty()) << column;
    // Threshold line on the top edge (under the border), empty knee band.
    for (int32_t y = 1; y <= 128; ++y)
        for (int32_t x = 1; x <= 128; ++x) {
            ASSERT_FALSE(screen.is(kGraph, x, y, kThresholdLine)) << x << "," << y;
            ASSERT_FALSE(screen.is(kGraph, x, y, kKneeBand, 1)) << x << "," << y;
        }
}

TEST(TransferFunctionTest, UnityDiagonalRunsUnderTheCurve) {
    CTransferFunction graph(kGraph, nullptr, kTag);
    graph.dryAttenuationDb = 100.0; // the curve lies on the diagonal's row or one above
    graph.thresholdDb = -1.0;
    graph.inverseRatio = 1.0;
    const Screen screen = drawn(graph);
    // Dot i covers x i..i+1 on row 130 - i; below the curve its colour shows where the curve's
    // truncation put the curve one row higher.
    int diagonalPixels = 0;
    for (int32_t column = 1; column <= 128; ++column)
        for (int32_t y : screen.rowsOf(kGraph, column, kDiagonal)) {
            EXPECT_TRUE(y == 130 - column || y == 131 - column) << column << "," << y;
            ++diagonalPixels;
        }
    EXPECT_GT(diagonalPixels, 0);
}

TEST(TransferFunctionTest, ThresholdMinus50RatioEightSitsAsStated) {
    CTransferFunction* graph = makeGraph({-50, 0, 8, 0, 100}, 1.0, 0.5);
    const Screen screen = drawn(*graph);
    EXPECT_DOUBLE_EQ(graph->inverseRatio, 1.0 / 8.0);
    const std::vector<int32_t> column120 = screen.rowsOf(kGraph, 120, kCurve);
    EXPECT_NE(std::find(column120.begin(), column120.end(), 88), column120.end());
    EXPECT_TRUE(screen.is(kGraph, 121, 88, kCurve)); // dot 120 is two pixels wide
    EXPECT_TRUE(screen.is(kGraph, 5, 100, kThresholdLine));
    EXPECT_TRUE(screen.is(kGraph, 128, 100, kThresholdLine));
    // Below -50 dB the curve follows the diagonal within a pixel.
    for (int32_t column = 2; column <= 29; ++column)
        for (int32_t y : screen.rowsOf(kGraph, column, kCurve)) {
            EXPECT_GE(y, 129 - column) << column;
            EXPECT_LE(y, 131 - column) << column;
        }
    graph->releaseRef();
}

TEST(TransferFunctionTest, KneeBandSpansFromKneeStartToThreshold) {
    CTransferFunction graph(kGraph, nullptr, kTag);
    graph.thresholdDb = -20.0;
    graph.kneeDb = 20.0;
    graph.dryAttenuationDb = 100.0;
    const Screen screen = drawn(graph);
    // Rows 40..79: threshold line on row 40, band below it; column 1 holds neither the curve
    // nor the diagonal at those heights.
    EXPECT_TRUE(screen.is(kGraph, 1, 40, kThresholdLine));
    for (int32_t y = 41; y < 80; ++y)
        EXPECT_TRUE(screen.is(kGraph, 1, y, kKneeBand, 1)) << y;
    EXPECT_TRUE(screen.is(kGraph, 1, 39, kColorBlack));
    EXPECT_TRUE(screen.is(kGraph, 1, 80, kColorBlack));
    EXPECT_TRUE(screen.is(kGraph, 128, 60, kKneeBand, 1));
    EXPECT_TRUE(screen.is(kGraph, 0, 60, kBorder)); // the band stops inside the border
}

TEST(TransferFunctionTest, MakeUpMovesThresholdAndBandUp) {
    for (const auto& [makeUpParameter, shiftPx] : {std::pair{0.5, 0}, std::pair{1.0, 24}}) {
        CTransferFunction graph(kGraph, nullptr, kTag);
        graph.thresholdDb = -20.0;
        graph.kneeDb = 10.0;
        graph.dryAttenuationDb = 100.0;
        graph.setMakeUpFromParameter(makeUpParameter);
        const Screen screen = drawn(graph);
        const int32_t line = 40 - shiftPx;
        EXPECT_TRUE(screen.is(kGraph, 1, line, kThresholdLine)) << makeUpParameter;
        EXPECT_TRUE(screen.is(kGraph, 1, line + 1, kKneeBand, 1)) << makeUpParameter;
        EXPECT_TRUE(screen.is(kGraph, 1, line + 19, kKneeBand, 1)) << makeUpParameter;
        EXPECT_TRUE(screen.is(kGraph, 1, line + 20, kColorBlack)) << makeUpParameter;
    }
}

TEST(TransferFunctionTest, CurveAboveTheTopEdgeIsClipped) {
    CTransferFunction graph(kGraph, nullptr, kTag);
    graph.setMakeUpFromParameter(1.0); // +12 dB and the equal dry path: the top leaves the view
    Screen screen;
    graph.draw(screen.surface());
    for (int32_t x = kGraph.left; x < kGraph.right; ++x)
        EXPECT_TRUE(pixelIs(screen.bitmap(), x, kGraph.top - 1, kColorBlack)) << x;
    EXPECT_TRUE(screen.is(kGraph, 60, 0, kBorder));
}

TEST(TransferFunctionTest, BorderAndShadedCorners) {
    CTransferFunction graph(kGraph, nullptr, kTag);
    const Screen screen = drawn(graph);
    for (int32_t i = 1; i <= 128; ++i) {
        EXPECT_TRUE(screen.is(kGraph, i, 0, kBorder));
        EXPECT_TRUE(screen.is(kGraph, i, 129, kBorder));
        EXPECT_TRUE(screen.is(kGraph, 0, i, kBorder));
        EXPECT_TRUE(screen.is(kGraph, 129, i, kBorder));
    }
    const CColor corner = blendOver({0, 0, 0, 100}, kBorder);
    for (const auto& [x, y] : {std::pair{0, 0}, {129, 0}, {0, 129}, {129, 129}})
        EXPECT_TRUE(screen.is(kGraph, x, y, corner, 1)) << x << "," << y;
    EXPECT_FALSE(graph.isDirty());
}

TEST(TransferFunctionTest, NonFiniteInputsDrawWithoutCurve) {
    CTransferFunction graph(kGraph, nullptr, kTag);
    graph.thresholdDb = std::numeric_limits<double>::quiet_NaN();
    graph.kneeDb = std::numeric_limits<double>::infinity();
    graph.makeUpDb = -1e300;
    const Screen screen = drawn(graph);
    for (int32_t x = 1; x <= 128; ++x)
        EXPECT_TRUE(screen.rowsOf(kGraph, x, kCurve).empty());
    EXPECT_TRUE(screen.is(kGraph, 0, 60, kBorder));
}

// Parameter curves of the two setters.
TEST(TransferFunctionSetterTest, RatioZones) {
    struct Case {
        double v, ratio;
    };
    const Case cases[] = {{0.0, 1.0}, {0.4, 2.0},     {0.8, 3.0}, {0.80001, 4.0},
                          {0.9, 4.0}, {0.90001, 8.0}, {1.0, 8.0}};
    for (const Case& c : cases) {
        CTransferFunction graph(kGraph, nullptr, kTag);
        graph.setRatioFromParameter(c.v);
        EXPECT_NEAR(1.0 / graph.inverseRatio, c.ratio, 1e-12) << c.v;
    }
}

TEST(TransferFunctionSetterTest, MakeUpCurve) {
    struct Case {
        double v, makeUpDb;
    };
    // Below 0.5: (1 - 2v)^2 x -60; from 0.5: 24v - 12.
    const Case cases[] = {{0.0, -60.0}, {0.25, -15.0}, {0.5, 0.0}, {0.75, 6.0}, {1.0, 12.0}};
    for (const Case& c : cases) {
        CTransferFunction graph(kGraph, nullptr, kTag);
        graph.setMakeUpFromParameter(c.v);
        EXPECT_NEAR(graph.makeUpDb, c.makeUpDb, 1e-12) << c.v;
    }
}

TEST(TransferFunctionSetterTest, NonFiniteParametersKeepTheLastSetting) {
    CTransferFunction graph(kGraph, nullptr, kTag);
    graph.setRatioFromParameter(1.0);
    graph.setMakeUpFromParameter(1.0);
    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        graph.setRatioFromParameter(bad);
        graph.setMakeUpFromParameter(bad);
    }
    EXPECT_DOUBLE_EQ(graph.inverseRatio, 1.0 / 8.0);
    EXPECT_DOUBLE_EQ(graph.makeUpDb, 12.0);
}

TEST(TransferFunctionSetterTest, Construction) {
    CTransferFunction graph(kGraph, nullptr, kTag);
    EXPECT_EQ(graph.getTag(), kTag);
    EXPECT_EQ(graph.thresholdDb, 0.0);
    EXPECT_EQ(graph.inverseRatio, 1.0);
    EXPECT_EQ(graph.kneeDb, 0.0);
    EXPECT_EQ(graph.makeUpDb, 0.0);
    EXPECT_EQ(graph.dryAttenuationDb, 0.0);
}

TEST(TransferFunctionScaleTest, OnADenserDisplayTheCurveIsComputedForEveryDeviceColumn) {
    // At 200 % the curve is not the 100 % staircase doubled: each device column plots its own
    // input level (a quarter dB apart) at 4 device rows per dB.
    const Settings s{-20.0, 0.0, 4.0, 0.0, 100.0};
    const std::unique_ptr<CTransferFunction> graph(makeGraph(s, 0.85, 0.5));
    COffscreenSurface surface(nullptr, 690, 270, kColorBlack, 2.0);
    graph->draw(surface);
    int checked = 0;
    for (int32_t column = 4; column < 256; ++column) {
        const double expected = -4.0 * referenceOutputDb(s, -(130.0 - column / 2.0) / 2.0);
        if (expected < 4.0 || expected > 250.0) continue;
        const std::vector<int32_t> rows =
            rowsOf(*surface.getBitmap(), kGraph.left * 2 + column, kCurve);
        ASSERT_FALSE(rows.empty()) << column;
        EXPECT_NEAR(rows.front() - kGraph.top * 2, expected, 1.01) << column;
        ++checked;
    }
    EXPECT_GT(checked, 200);
}
