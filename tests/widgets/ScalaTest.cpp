#include "CustomViewsTestSupport.h"
#include "views/CFrame.h"
#include "widgets/CScala.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The editor's strip: 23 x 135 at (521, 52).
const CRect kStrip{521, 52, 544, 187};
// Whatever tag the editor hands it, the strip reports under.
constexpr int32_t kTag = 42;
constexpr CColor kTick{66, 66, 66, 255};

// A strip inside a frame, reporting to one recorder.
struct StripInFrame {
    explicit StripInFrame(float value) : frame({0, 0, 690, 270}, &recorder) {
        strip = new CScala(&recorder, kStrip, kTag);
        strip->setValue(value);
        strip->setDirty(false);
        frame.addView(strip);
    }
    Recorder recorder;
    CFrame frame;
    CScala* strip;
};

// Label rows 7, 27, 47 ... every 20 pixels; label k reads -(k x dB per label).
std::vector<std::string> expectedLabels(int32_t dbPerLabel) {
    std::vector<std::string> labels;
    for (int32_t k = 0; 7 + 20 * k < 177; ++k)
        labels.push_back(std::to_string(-k * dbPerLabel));
    return labels;
}

// The strip's own view, drawn alone.
Screen drawnStrip(float value) {
    CScala strip(nullptr, kStrip, kTag);
    strip.setValue(value);
    Screen screen;
    strip.draw(screen.surface());
    EXPECT_FALSE(strip.isDirty());
    return screen;
}

// The labels as the framework draws them: Arial 9, white, right-aligned and antialiased in
// x 1..17 around each label row, on black.
Screen referenceLabels(const std::vector<std::string>& labels) {
    Screen screen;
    COffscreenSurface strip(nullptr, kStrip.width(), kStrip.height(), kColorBlack);
    strip.setFont(stockFont(StockFont::kVerySmall));
    strip.setFontColor(kColorWhite);
    for (std::size_t k = 0; k < labels.size(); ++k) {
        const auto y = int32_t(7 + 20 * k);
        strip.drawString(labels[k].c_str(), {1, y - 6, 17, y + 6}, kRightText, true);
    }
    strip.copyFrom(screen.surface(), kStrip);
    return screen;
}

} // namespace

// Clicks step the scale: left up, right down; values outside the four go to 0.
TEST(ScalaClickTest, ButtonsStepTheScale) {
    struct Case {
        float start;
        int32_t buttons;
        float expected;
        std::vector<float> reported;
    };
    const Case cases[] = {
        {0.0f, kButtonLeft, 0.25f, {0.25f}},
        {0.25f, kButtonLeft, 0.5f, {0.25f, 0.5f}},
        {0.5f, kButtonLeft, 0.75f, {0.5f, 0.75f}},
        {0.75f, kButtonLeft, 0.0f, {0.75f, 0.0f}},
        {0.3f, kButtonLeft, 0.0f, {0.3f, 0.0f}},
        {0.0f, kButtonRight, 0.75f, {0.75f}},
        {0.75f, kButtonRight, 0.5f, {0.75f, 0.5f}},
        {0.5f, kButtonRight, 0.25f, {0.5f, 0.25f}},
        {0.25f, kButtonRight, 0.0f, {0.25f, 0.0f}},
        {0.3f, kButtonRight, 0.0f, {0.3f, 0.0f}},
        {1.0f, kButtonRight, 0.0f, {1.0f, 0.0f}},
        {0.0f, kButtonLeft | kButtonRight, 0.25f, {0.25f}}, // left wins
        {0.0f, kButtonLeft | kModShift, 0.25f, {0.25f}},
    };
    for (const Case& c : cases) {
        StripInFrame s(c.start);
        EXPECT_EQ(s.strip->onMouseDown({530, 100}, c.buttons), kMouseHandled);
        EXPECT_FLOAT_EQ(s.strip->getValue(), c.expected) << c.start << " " << c.buttons;
        EXPECT_EQ(s.recorder.changedValues, c.reported) << c.start << " " << c.buttons;
        EXPECT_EQ(s.recorder.count("editBegun"), 1);
        EXPECT_EQ(s.recorder.count("editEnded"), 1);
    }
}

TEST(ScalaClickTest, OneEditGestureAroundTheReports) {
    StripInFrame s(0.25f);
    s.strip->onMouseDown({530, 100}, kButtonLeft);
    const std::vector<std::string> expected{"editBegun", "frameBegin 42", "changed",
                                            "changed",   "frameEnd 42",   "editEnded"};
    EXPECT_EQ(s.recorder.events, expected);
    // The changed value is painted at the next paint without waiting for idle.
    EXPECT_FALSE(s.strip->isDirty());
    EXPECT_TRUE(s.frame.getInvalidArea() == kStrip);
}

TEST(ScalaClickTest, WithoutLeftOrRightButtonNothingHappens) {
    StripInFrame s(0.5f);
    EXPECT_EQ(s.strip->onMouseDown({530, 100}, kButtonMiddle), kMouseNotHandled);
    EXPECT_EQ(s.strip->onMouseDown({530, 100}, 0), kMouseNotHandled);
    EXPECT_FLOAT_EQ(s.strip->getValue(), 0.5f);
    EXPECT_TRUE(s.recorder.events.empty());
}

TEST(ScalaClickTest, ClickAreaCoversTheMetersAndCaptions) {
    struct Case {
        CPoint where;
        bool reaches;
    };
    const Case cases[] = {
        {{544 + 40, 120}, true},                                   // over the gain-reduction meter
        {{530, 52 - 20}, true},                                    // over the captions
        {{521 - 10, 52 - 26}, true}, {{544 + 50, 187 + 10}, true}, // the corners
        {{521 - 11, 100}, false},    {{544 + 51, 100}, false},
        {{530, 52 - 27}, false},     {{530, 187 + 11}, false},
    };
    for (const Case& c : cases) {
        StripInFrame s(0.0f);
        const CMouseResult result = s.frame.onMouseDown(c.where, kButtonLeft);
        EXPECT_EQ(result, c.reaches ? kMouseHandled : kMouseNotHandled)
            << c.where.h << "," << c.where.v;
        EXPECT_FLOAT_EQ(s.strip->getValue(), c.reaches ? 0.25f : 0.0f);
    }
}

TEST(ScalaClickTest, RightClickThroughTheFrameAsksTheListenerFirst) {
    StripInFrame s(0.0f);
    s.frame.onMouseDown({560, 60}, kButtonRight);
    EXPECT_FLOAT_EQ(s.strip->getValue(), 0.75f);
    ASSERT_FALSE(s.recorder.events.empty());
    EXPECT_EQ(s.recorder.events.front(), "modifierClicked");
}

// Drawing: ticks every 5 pixels, labels every 20.
TEST(ScalaDrawingTest, TicksRunToTheRightEdge) {
    const Screen screen = drawnStrip(0.0f);
    for (int32_t tick = 0; 7 + 5 * tick < kStrip.height(); ++tick) {
        const int32_t y = 7 + 5 * tick;
        const bool labelled = tick % 4 == 0;
        const std::vector<int32_t> expected =
            labelled ? std::vector<int32_t>{20, 21, 22} : std::vector<int32_t>{21, 22};
        EXPECT_EQ(screen.columnsOf(kStrip, y, kTick), expected) << "tick " << tick;
        EXPECT_TRUE(screen.is(kStrip, 18, y, kColorBlack)) << "tick " << tick;
        EXPECT_TRUE(screen.is(kStrip, 19, y, kColorBlack)) << "tick " << tick;
    }
    // Rows between ticks stay black right of the labels; nothing spills past the view.
    EXPECT_EQ(screen.columnsOf(kStrip, 9, kTick), std::vector<int32_t>{});
    EXPECT_TRUE(pixelIs(screen.bitmap(), kStrip.right, kStrip.top + 7, kColorBlack));
}

struct LabelCase {
    float value;
    int32_t dbPerLabel;
};

class ScalaLabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(ScalaLabelTest, LabelsReadTheScale) {
    const LabelCase& c = GetParam();
    const Screen screen = drawnStrip(c.value);
    const Screen reference = referenceLabels(expectedLabels(c.dbPerLabel));
    const CRect labelColumns{kStrip.left, kStrip.top, kStrip.left + 20, kStrip.bottom};
    EXPECT_TRUE(screen.sameAs(reference, labelColumns)) << c.value;
    // White text, grey only at its antialiased edges; nothing right of x = 17.
    int white = 0;
    for (int32_t y = 0; y < kStrip.height(); ++y)
        for (int32_t x = 0; x < 20; ++x) {
            const CColor p = screen.at(kStrip, x, y);
            ASSERT_TRUE(p.red == p.green && p.green == p.blue) << x << "," << y;
            if (x >= 17) {
                ASSERT_EQ(p.red, 0) << x << "," << y;
            }
            white += p.red == 255;
        }
    EXPECT_GT(white, 0);
}

INSTANTIATE_TEST_SUITE_P(Scales, ScalaLabelTest,
                         ::testing::Values(LabelCase{0.0f, 1}, LabelCase{0.25f, 2},
                                           LabelCase{0.5f, 4}, LabelCase{0.75f, 8},
                                           LabelCase{0.3f, 2}, LabelCase{1.0f, 8}));

TEST(ScalaDrawingTest, FirstLabelIsZeroNeverMinusZero) {
    const Screen screen = drawnStrip(0.75f);
    const CRect firstLabel{kStrip.left, kStrip.top + 1, kStrip.left + 18, kStrip.top + 14};
    EXPECT_TRUE(screen.sameAs(referenceLabels({"0"}), firstLabel));
    EXPECT_FALSE(screen.sameAs(referenceLabels({"-0"}), firstLabel));
}

TEST(ScalaDrawingTest, EditorLabelsAtTheirRows) {
    // In the 135-pixel strip the visible labels centre on rows 7, 27 ... 127.
    const Screen screen = drawnStrip(0.0f);
    for (int32_t k = 0; k < 7; ++k) {
        const int32_t row = 7 + 20 * k;
        bool ink = false;
        for (int32_t y = row - 6; y < row + 6; ++y)
            for (int32_t x = 1; x < 17; ++x)
                ink |= !screen.is(kStrip, x, y, kColorBlack);
        EXPECT_TRUE(ink) << row;
        for (int32_t x = 0; x < 20; ++x) {
            EXPECT_TRUE(screen.is(kStrip, x, row - 7, kColorBlack) || k == 0) << row;
            EXPECT_TRUE(screen.is(kStrip, x, row + 7, kColorBlack)) << row;
        }
    }
}

TEST(ScalaDrawingTest, ConstructionAndClickArea) {
    CScala strip(nullptr, kStrip, kTag);
    EXPECT_EQ(strip.getTag(), kTag);
    EXPECT_EQ(strip.getBackground(), nullptr);
    // Presses count from 511, 26 to 594, 197, edges included.
    for (CPoint inside : {CPoint{511, 26}, CPoint{594, 197}})
        EXPECT_TRUE(strip.hitTest(inside, kButtonLeft)) << inside.h << "," << inside.v;
    for (CPoint outside : {CPoint{510, 26}, CPoint{511, 25}, CPoint{595, 197}, CPoint{594, 198}})
        EXPECT_FALSE(strip.hitTest(outside, kButtonLeft)) << outside.h << "," << outside.v;
}
