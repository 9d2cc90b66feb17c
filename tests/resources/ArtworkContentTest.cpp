// What the pictures must show for the editor to work: knob pointers where the value is,
// lit states in the lower frames, the selected item lit, the about card's link line inside
// its click zone, and no caption under a control that is drawn over the background.
#include "DecodedPng.h"
#include "resources/EmbeddedResources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>

namespace {

DecodedPng image(int id) {
    const EmbeddedResource* resource = findEmbeddedPng(id);
    return resource != nullptr ? decodePng(*resource) : DecodedPng{};
}

// A bright, strongly coloured pixel: a lamp, an indicator or the accent, never grey text.
bool isLit(const Rgba8& p) {
    const int hi = std::max({p.r, p.g, p.b});
    const int lo = std::min({p.r, p.g, p.b});
    return p.a >= 128 && hi >= 200 && hi - lo >= 120;
}

// The cyan accent of the knob pointers and the link text.
bool isAccent(const Rgba8& p) {
    return p.a >= 200 && p.b >= 200 && p.g >= 140 && p.r <= 110;
}

double luminance(const Rgba8& p) {
    return 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
}

struct Centroid {
    int count = 0;
    double x = 0;
    double y = 0;
};

template <typename Predicate>
Centroid centroid(const DecodedPng& png, int top, int heightPx, Predicate predicate) {
    Centroid c;
    for (int y = top; y < top + heightPx; ++y)
        for (int x = 0; x < png.width; ++x)
            if (predicate(png.at(x, y))) {
                ++c.count;
                c.x += x;
                c.y += y - top;
            }
    if (c.count > 0) {
        c.x /= c.count;
        c.y /= c.count;
    }
    return c;
}

TEST(KnobStrip, PointerSweepsFromLowerLeftThroughTopToLowerRight) {
    const DecodedPng strip = image(202);
    ASSERT_TRUE(strip.ok);
    const double centre = 35;
    for (int frame : {0, 10, 25, 49, 50, 75, 90, 99}) {
        const Centroid pointer = centroid(strip, frame * 70, 70, isAccent);
        ASSERT_GT(pointer.count, 10) << "frame " << frame;
        // 225 degrees at value 0 to -45 degrees at value 1, linear in the frame index;
        // angles counter-clockwise from the right with y up.
        const double expectedDeg = 225.0 - 270.0 * frame / 99.0;
        const double actualDeg = std::atan2(centre - pointer.y, pointer.x - centre) * 180.0 / M_PI;
        const double differenceDeg = std::remainder(actualDeg - expectedDeg, 360.0);
        EXPECT_LT(std::fabs(differenceDeg), 3.0) << "frame " << frame;
    }
}

TEST(KnobStrip, FrameFiftyPointsStraightUp) {
    const DecodedPng strip = image(202);
    ASSERT_TRUE(strip.ok);
    // Value 50/99 is just right of the top; the pointer's tip must lie above the centre.
    const Centroid pointer = centroid(strip, 50 * 70, 70, isAccent);
    EXPECT_LT(pointer.y, 35 - 8);
    EXPECT_NEAR(pointer.x, 35, 1.5);
}

struct TwoState {
    int id;
    int frameHeightPx;
};

// Names the image in failure messages instead of dumping bytes.
std::ostream& operator<<(std::ostream& out, const TwoState& s) {
    return out << "image " << s.id;
}

class TwoStateImage : public testing::TestWithParam<TwoState> {};

TEST_P(TwoStateImage, OnlyTheLowerFrameIsLit) {
    const DecodedPng png = image(GetParam().id);
    ASSERT_TRUE(png.ok);
    const int h = GetParam().frameHeightPx;
    EXPECT_EQ(centroid(png, 0, h, isLit).count, 0);
    EXPECT_GE(centroid(png, h, h, isLit).count, 12);
}

// Buttons (off above, on below) and lamps (dark above, lit below).
INSTANTIATE_TEST_SUITE_P(ButtonsAndLamps, TwoStateImage,
                         testing::Values(TwoState{205, 50}, TwoState{207, 25}, TwoState{208, 25},
                                         TwoState{209, 25}, TwoState{210, 25}, TwoState{215, 12},
                                         TwoState{216, 12}),
                         [](const testing::TestParamInfo<TwoState>& p) {
                             return "Image" + std::to_string(p.param.id);
                         });

struct Selector {
    int id;
    int items;
    int frameHeightPx;
};

// Names the image in failure messages instead of dumping bytes.
std::ostream& operator<<(std::ostream& out, const Selector& s) {
    return out << "image " << s.id;
}

class SelectorImage : public testing::TestWithParam<Selector> {};

// The switch picks its position from the third of its height that is clicked, so the item
// lit in frame f must lie in the f-th equal row of the frame.
TEST_P(SelectorImage, FrameLightsTheItemInItsRow) {
    const Selector& s = GetParam();
    const DecodedPng png = image(s.id);
    ASSERT_TRUE(png.ok);
    const double rowPx = static_cast<double>(s.frameHeightPx) / s.items;
    for (int frame = 0; frame < s.items; ++frame) {
        const Centroid lit = centroid(png, frame * s.frameHeightPx, s.frameHeightPx, isLit);
        ASSERT_GT(lit.count, 4) << "frame " << frame;
        EXPECT_GE(lit.y, frame * rowPx) << "frame " << frame;
        EXPECT_LT(lit.y, (frame + 1) * rowPx) << "frame " << frame;
    }
}

INSTANTIATE_TEST_SUITE_P(Selectors, SelectorImage, testing::Values(Selector{212, 3, 71}),
                         [](const testing::TestParamInfo<Selector>& p) {
                             return "Image" + std::to_string(p.param.id);
                         });

TEST(AboutCard, ShownPartIsOpaque) {
    const DecodedPng card = image(214);
    ASSERT_TRUE(card.ok);
    // The card is laid over the graph; the editor shows its top 150 rows.
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < card.width; ++x)
            ASSERT_EQ(card.at(x, y).a, 255) << x << "," << y;
}

TEST(AboutCard, WebAddressLiesInsideTheLinkZone) {
    const DecodedPng card = image(214);
    ASSERT_TRUE(card.ok);
    // Link zone relative to the card: x 1..139, y 101..119 inclusive. Below the title no
    // accent-coloured pixel may lie outside it, and the address must be there.
    int inside = 0;
    for (int y = 40; y < 150; ++y)
        for (int x = 0; x < card.width; ++x)
            if (isAccent(card.at(x, y))) {
                EXPECT_TRUE(x >= 1 && x <= 139 && y >= 101 && y <= 119) << x << "," << y;
                ++inside;
            }
    EXPECT_GT(inside, 50);
}

TEST(Background, IsOpaqueEverywhere) {
    const DecodedPng background = image(201);
    ASSERT_TRUE(background.ok);
    for (int y = 0; y < background.height; ++y)
        for (int x = 0; x < background.width; ++x)
            ASSERT_EQ(background.at(x, y).a, 255) << x << "," << y;
}

struct ControlArea {
    const char* name;
    int left, top, right, bottom;
};

// Controls whose images leave the background visible around or through them.
const ControlArea kSeeThroughControls[] = {
    {"detectionKnob", 20, 45, 71, 71},         {"scFilterTypeSwitch", 19, 100, 74, 171},
    {"scFilterFreqKnob", 11, 171, 81, 241},    {"thresholdKnob", 107, 48, 177, 118},
    {"kneeKnob", 184, 48, 254, 118},           {"ratioKnob", 261, 48, 331, 118},
    {"attackKnob", 107, 171, 177, 241},        {"releaseKnob", 184, 171, 254, 241},
    {"releaseSlowKnob", 261, 171, 331, 241},   {"makeUpKnob", 607, 48, 677, 118},
    {"dryMixKnob", 607, 171, 677, 241},        {"thresholdDisplay", 118, 118, 169, 136},
    {"dryMixDisplay", 617, 241, 668, 259},     {"scFilterFreqDisplay", 21, 241, 72, 259},
    {"lfAmountKnob", 358, 235, 409, 261},      {"hfAmountKnob", 412, 235, 463, 261},
    {"lfHarmonicsButton", 358, 214, 413, 239}, {"hfHarmonicsButton", 412, 214, 467, 239},
    {"scPreviewButton", 487, 214, 542, 239},   {"deltaButton", 487, 237, 542, 262},
    {"bypassButton", 540, 214, 595, 264},      {"releaseLampLeft", 246, 154, 258, 166},
    {"releaseLampRight", 256, 154, 268, 166},
};

TEST(Background, NoCaptionUnderAControl) {
    const DecodedPng background = image(201);
    ASSERT_TRUE(background.ok);
    // Captions are light grey (luminance well above 100); the panels and their borders are
    // dark, so any bright pixel inside a control's rectangle is a caption in the way.
    for (const ControlArea& area : kSeeThroughControls) {
        double brightest = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                brightest = std::max(brightest, luminance(background.at(x, y)));
        EXPECT_LT(brightest, 100.0) << area.name;
    }
}

class BackgroundAtScale : public testing::TestWithParam<int> {};

TEST_P(BackgroundAtScale, NoCaptionRunsOverAPanelsBorder) {
    const int percent = GetParam();
    const DecodedPng background = image(percent == 100 ? 201 : 201 + percent * 100);
    ASSERT_TRUE(background.ok);
    const auto device = [percent](int px) { return int(std::lround(px * percent / 100.0)); };
    // The panels' borders and the dark gaps between them, two pixels either side, over the
    // panels' whole height: a light pixel there is a caption that does not fit its panel.
    const int bordersX[] = {88, 94, 344, 350, 597, 602};
    for (int border : bordersX)
        for (int y = device(27); y < device(266); ++y)
            for (int x = device(border - 2); x <= device(border + 2); ++x)
                ASSERT_LT(luminance(background.at(x, y)), 100.0)
                    << "at " << x << "," << y << " (" << percent << " %)";
}

INSTANTIATE_TEST_SUITE_P(Scales, BackgroundAtScale, testing::Values(100, 150, 175, 200, 250, 300));

TEST(Background, CaptionsAreReadableAboveTheirControls) {
    const DecodedPng background = image(201);
    ASSERT_TRUE(background.ok);
    // Bands just above a control where its caption is printed: each must hold bright text.
    const ControlArea captionBands[] = {
        {"DETECTOR", 20, 30, 71, 44},
        {"SC FILTER", 19, 82, 74, 98},
        {"THRESHOLD", 107, 32, 177, 47},
        {"KNEE", 184, 32, 254, 47},
        {"RATIO", 261, 32, 331, 47},
        {"MAKEUP", 607, 32, 677, 47},
        {"ATTACK", 107, 152, 177, 168},
        {"RELEASE FAST", 184, 152, 246, 168},
        {"RELEASE SLOW", 268, 152, 340, 168},
        {"DRY MIX", 607, 152, 677, 168},
        {"SC", 507, 36, 521, 51},
        {"GR", 544, 36, 574, 51},
        {"Transfer Function", 374, 36, 504, 51},
    };
    for (const ControlArea& band : captionBands) {
        int bright = 0;
        for (int y = band.top; y < band.bottom; ++y)
            for (int x = band.left; x < band.right; ++x)
                bright += luminance(background.at(x, y)) > 140 ? 1 : 0;
        EXPECT_GT(bright, 8) << band.name;
    }
}

} // namespace
