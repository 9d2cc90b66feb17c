#include "TestSupport.h"
#include "views/CDrawSurface.h"
#include "views/CFrame.h"
#include "views/CMovieBitmap.h"
#include "views/COnOffButton.h"
#include "views/CParamDisplay.h"
#include "views/CVerticalSwitch.h"

#include <gtest/gtest.h>

namespace {

// `frames` images of `width` × `frameHeight` stacked vertically; image i is filled with
// red = 10 × i + 5 so a drawn pixel tells which image is shown.
SharedRef<CBitmap> makeFrames(int32_t width, int32_t frameHeight, int32_t frames) {
    auto* strip = new CBitmap(width, frameHeight * frames);
    for (int32_t y = 0; y < strip->getHeight(); ++y)
        for (int32_t x = 0; x < width; ++x)
            strip->pixels()[y * width + x] = 0xff000000u | uint32_t(10 * (y / frameHeight) + 5)
                                                               << 16;
    return SharedRef<CBitmap>::adopt(strip);
}

int shownImage(CView& view) {
    COffscreenSurface surface(nullptr, 700, 300);
    view.draw(surface);
    const CRect& r = view.getViewSize();
    return (pixelColor(*surface.getBitmap(), r.left + 1, r.top + 1).red - 5) / 10;
}

struct SwitchFixture : ::testing::Test {
    Recorder recorder;
    CFrame frame{{0, 0, 700, 300}, &recorder};
};

} // namespace

using OnOffButtonTest = SwitchFixture;

TEST_F(OnOffButtonTest, UpperHalfForZeroLowerHalfOtherwise) {
    const auto image = makeFrames(55, 25, 2);
    COnOffButton button({487, 214, 542, 239}, &recorder, 17, image.get());
    EXPECT_EQ(shownImage(button), 0);
    button.setValue(1.0f);
    EXPECT_EQ(shownImage(button), 1);
    button.setValue(0.5f);
    EXPECT_EQ(shownImage(button), 1);
}

TEST_F(OnOffButtonTest, LeftClickTogglesOnTheIntegerPart) {
    struct Case {
        float before;
        float after;
    };
    const Case cases[] = {{0.0f, 1.0f}, {1.0f, 0.0f}, {0.5f, 1.0f}, {1.5f, 0.0f}, {-0.5f, 1.0f}};
    const auto image = makeFrames(55, 25, 2);
    auto* button = new COnOffButton({0, 0, 55, 25}, &recorder, 16, image.get());
    frame.addView(button);
    for (const Case& c : cases) {
        button->setValue(c.before);
        EXPECT_EQ(frame.onMouseDown({10, 10}, kButtonLeft), kMouseHandledNoTracking);
        EXPECT_EQ(button->getValue(), c.after) << c.before;
    }
}

TEST_F(OnOffButtonTest, NotifiesAfterTheIdleWorkWithoutAnEditGesture) {
    const auto image = makeFrames(55, 25, 2);
    auto* button = new COnOffButton({0, 0, 55, 25}, &recorder, 16, image.get());
    frame.addView(button);
    frame.onMouseDown({10, 10}, kButtonLeft);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"idle", "changed"}));
    EXPECT_FALSE(button->isDirty()); // invalidated: painted at the next paint
}

TEST_F(OnOffButtonTest, PostListenerStyleNotifiesBeforeTheIdleWork) {
    const auto image = makeFrames(55, 25, 2);
    auto* button = new COnOffButton({0, 0, 55, 25}, &recorder, 16, image.get(),
                                    COnOffButton::kPostListenerUpdate);
    frame.addView(button);
    frame.onMouseDown({10, 10}, kButtonLeft);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"changed", "idle"}));
}

TEST_F(OnOffButtonTest, OtherButtonsAreNotHandled) {
    const auto image = makeFrames(55, 25, 2);
    auto* button = new COnOffButton({0, 0, 55, 25}, &recorder, 16, image.get());
    frame.addView(button);
    EXPECT_EQ(frame.onMouseDown({10, 10}, kButtonRight), kMouseNotHandled);
    EXPECT_EQ(button->getValue(), 0.0f);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"modifierClicked"}));
}

TEST_F(OnOffButtonTest, ControlClickSimplyToggles) {
    const auto image = makeFrames(55, 25, 2);
    auto* button = new COnOffButton({0, 0, 55, 25}, &recorder, 16, image.get());
    frame.addView(button);
    button->setDefaultValue(0.0f);
    button->setValue(0.0f);
    frame.onMouseDown({10, 10}, kButtonLeft | kModControl);
    EXPECT_EQ(button->getValue(), 1.0f);
}

using VerticalSwitchTest = SwitchFixture;

TEST_F(VerticalSwitchTest, ThirdsOfTheViewSelectThePositions) {
    // 71 pixels for three positions: 71 / 3 = 23.67 pixels each.
    struct Case {
        int32_t dy;
        float value;
    };
    const Case cases[] = {{0, 0.0f},  {23, 0.0f}, {24, 0.5f}, {47, 0.5f},
                          {48, 1.0f}, {70, 1.0f}, {71, 1.0f}};
    const auto image = makeFrames(55, 71, 3);
    auto* toggle = new CVerticalSwitch({19, 100, 74, 171}, &recorder, 1, 3, 71, 3, image.get());
    frame.addView(toggle);
    for (const Case& c : cases) {
        frame.onMouseDown({30, 100 + c.dy}, kButtonLeft);
        frame.onMouseUp({30, 100 + c.dy}, 0);
        EXPECT_EQ(toggle->getValue(), c.value) << c.dy;
    }
}

TEST_F(VerticalSwitchTest, DragBeyondTheViewIsLimited) {
    const auto image = makeFrames(55, 71, 3);
    auto* toggle = new CVerticalSwitch({19, 100, 74, 171}, &recorder, 1, 3, 71, 3, image.get());
    frame.addView(toggle);
    frame.onMouseDown({30, 150}, kButtonLeft);
    frame.onMouseMoved({30, 290}, kButtonLeft);
    EXPECT_EQ(toggle->getValue(), 1.0f);
    frame.onMouseMoved({30, 10}, kButtonLeft);
    EXPECT_EQ(toggle->getValue(), 0.0f);
    frame.onMouseUp({30, 10}, 0);
}

TEST_F(VerticalSwitchTest, PressIsOneEditGestureUntilTheRelease) {
    const auto image = makeFrames(55, 71, 3);
    auto* toggle = new CVerticalSwitch({19, 100, 74, 171}, &recorder, 1, 3, 71, 3, image.get());
    frame.addView(toggle);
    toggle->setDirty(false);
    EXPECT_EQ(frame.onMouseDown({30, 130}, kButtonLeft), kMouseHandled);
    frame.onMouseMoved({30, 131}, kButtonLeft); // same position: no second notification
    frame.onMouseUp({30, 131}, 0);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"editBegun", "frameBegin 1", "changed",
                                                         "frameEnd 1", "editEnded"}));
    EXPECT_EQ(recorder.changedValues, (std::vector<float>{0.5f}));
}

TEST_F(VerticalSwitchTest, ControlClickSetsTheDefaultWhereverItLands) {
    const auto image = makeFrames(55, 71, 3);
    auto* toggle = new CVerticalSwitch({19, 100, 74, 171}, &recorder, 1, 3, 71, 3, image.get());
    frame.addView(toggle);
    toggle->setDefaultValue(0.0f);
    toggle->setValue(1.0f);
    EXPECT_EQ(frame.onMouseDown({30, 165}, kButtonLeft | kModControl), kMouseHandledNoTracking);
    EXPECT_EQ(toggle->getValue(), 0.0f);
    EXPECT_EQ(recorder.count("editBegun"), recorder.count("editEnded"));
}

TEST_F(VerticalSwitchTest, ShowsTheNearestImage) {
    struct Case {
        float value;
        int image;
    };
    const Case cases[] = {{0.0f, 0}, {0.2f, 0}, {0.3f, 1},  {0.5f, 1},
                          {0.8f, 2}, {1.0f, 2}, {-5.0f, 0}, {7.0f, 2}};
    const auto image = makeFrames(55, 71, 3);
    CVerticalSwitch toggle({19, 100, 74, 171}, &recorder, 1, 3, 71, 3, image.get());
    for (const Case& c : cases) {
        toggle.setValue(c.value);
        EXPECT_EQ(shownImage(toggle), c.image) << c.value;
    }
}

TEST(MovieBitmapTest, ShowsTheImageOfItsValueLimitedToOne) {
    struct Case {
        float value;
        int image;
    };
    const Case cases[] = {{0.0f, 0}, {0.4f, 0}, {0.5f, 1}, {1.0f, 1}, {3.0f, 1}, {-1.0f, 0}};
    const auto image = makeFrames(12, 12, 2);
    CMovieBitmap lamp({246, 154, 258, 166}, nullptr, 0, image.get());
    EXPECT_EQ(lamp.getFrameCount(), 2);
    for (const Case& c : cases) {
        lamp.setValue(c.value);
        EXPECT_EQ(shownImage(lamp), c.image) << c.value;
    }
}

TEST(MovieBitmapTest, TakesNoInput) {
    const auto image = makeFrames(12, 12, 2);
    CMovieBitmap lamp({0, 0, 12, 12}, nullptr, 0, image.get());
    EXPECT_EQ(lamp.onMouseDown({5, 5}, kButtonLeft), kMouseNotImplemented);
}

namespace {

void fixedText(float value, char* text) {
    std::snprintf(text, 8, value > 0.5f ? "HH" : "");
}
void textWithData(float, char* text, void* data) {
    *static_cast<int*>(data) += 1;
    std::snprintf(text, 8, "H");
}

struct DisplayCanvas {
    COffscreenSurface surface{nullptr, 60, 30, kColorGrey};
    const CBitmap& bitmap() const { return *surface.getBitmap(); }
};

} // namespace

TEST(ParamDisplayTest, WithoutBitmapFillsTheBackColourAndFramesIt) {
    CParamDisplay display({5, 5, 55, 25});
    display.setBackColor({0, 0, 80, 255});
    display.setFrameColor({0, 200, 0, 255});
    display.setTextFunction(fixedText); // empty text for value 0
    DisplayCanvas c;
    display.draw(c.surface);
    EXPECT_TRUE(pixelIs(c.bitmap(), 5, 10, {0, 200, 0, 255}));
    EXPECT_TRUE(pixelIs(c.bitmap(), 54, 24, {0, 200, 0, 255}));
    EXPECT_TRUE(pixelIs(c.bitmap(), 6, 6, {0, 0, 80, 255}));
    EXPECT_TRUE(pixelIs(c.bitmap(), 55, 10, kColorGrey));
    EXPECT_FALSE(display.isDirty());
}

TEST(ParamDisplayTest, NoFrameStyleLeavesTheEdgeInTheBackColour) {
    CParamDisplay display({5, 5, 55, 25}, nullptr, kNoFrame);
    display.setTextFunction(fixedText);
    DisplayCanvas c;
    display.draw(c.surface);
    EXPECT_TRUE(pixelIs(c.bitmap(), 5, 10, kColorBlack));
}

TEST(ParamDisplayTest, ThreeDOutDrawsLightTopLeftAndDarkBottomRight) {
    CParamDisplay display({5, 5, 55, 25}, nullptr, k3DOut);
    display.setBackColor({0, 0, 80, 255});
    display.setFrameColor(kColorWhite);
    display.setTextFunction(fixedText);
    DisplayCanvas c;
    display.draw(c.surface);
    // Edges run on the rectangle narrowed by one pixel on the right and at the top.
    EXPECT_TRUE(pixelIs(c.bitmap(), 5, 15, kColorWhite));      // left
    EXPECT_TRUE(pixelIs(c.bitmap(), 30, 6, kColorWhite));      // top
    EXPECT_TRUE(pixelIs(c.bitmap(), 54, 15, {0, 0, 80, 255})); // right, back colour
    EXPECT_TRUE(pixelIs(c.bitmap(), 30, 5, {0, 0, 80, 255}));  // row above the top edge
}

TEST(ParamDisplayTest, ThreeDInSwapsTheEdgeColours) {
    CParamDisplay display({5, 5, 55, 25}, nullptr, k3DIn);
    display.setBackColor({0, 0, 80, 255});
    display.setFrameColor(kColorWhite);
    display.setTextFunction(fixedText);
    DisplayCanvas c;
    display.draw(c.surface);
    EXPECT_TRUE(pixelIs(c.bitmap(), 5, 15, {0, 0, 80, 255}));
    EXPECT_TRUE(pixelIs(c.bitmap(), 54, 15, kColorWhite));
}

TEST(ParamDisplayTest, TransparentWithoutBitmapDrawsNoBackground) {
    CParamDisplay display({5, 5, 55, 25});
    display.setTransparency(true);
    display.setTextFunction(fixedText);
    DisplayCanvas c;
    display.draw(c.surface);
    EXPECT_TRUE(inkBounds(c.bitmap(), kColorGrey).isEmpty());
}

TEST(ParamDisplayTest, NoDrawStyleDrawsNothingButCleansTheView) {
    CParamDisplay display({5, 5, 55, 25}, nullptr, kNoDrawStyle);
    DisplayCanvas c;
    display.draw(c.surface);
    EXPECT_TRUE(inkBounds(c.bitmap(), kColorGrey).isEmpty());
    EXPECT_FALSE(display.isDirty());
}

TEST(ParamDisplayTest, BackgroundBitmapIsReadFromTheBackOffset) {
    const auto image = makeFrames(60, 10, 3); // rows 0..9 red 5, 10..19 red 15, 20..29 red 25
    CParamDisplay display({5, 5, 55, 25}, image.get());
    display.setBackgroundOffset({0, 10});
    display.setTextFunction(fixedText);
    DisplayCanvas c;
    display.draw(c.surface);
    EXPECT_EQ(pixelColor(c.bitmap(), 5, 5).red, 15);
    EXPECT_EQ(pixelColor(c.bitmap(), 5, 15).red, 25);
}

TEST(ParamDisplayTest, TextIsCentredInTheFontColourWithinTheView) {
    CParamDisplay display({5, 5, 55, 25});
    display.setTextFunction(fixedText);
    display.setFontColor({255, 0, 0, 255});
    display.setValue(1.0f); // "HH"
    DisplayCanvas c;
    display.draw(c.surface);
    CRect ink;
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 60; ++x) {
            const CColor p = pixelColor(c.bitmap(), x, y);
            if (p.red > 0 && p.green == 0 && p.blue == 0) ink.unite({x, y, x + 1, y + 1});
        }
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.left, 5);
    EXPECT_LT(ink.right, 55);
    EXPECT_NEAR((ink.left + ink.right) * 0.5, 30.0, 2.0);
    EXPECT_GT(ink.top, 5);
    EXPECT_LT(ink.bottom, 25);
}

TEST(ParamDisplayTest, CallbackWithUserDataTakesPrecedence) {
    int calls = 0;
    CParamDisplay display({5, 5, 55, 25});
    display.setTextFunction(fixedText);
    display.setTextFunction(textWithData, &calls);
    DisplayCanvas c;
    display.draw(c.surface);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(inkBounds(c.bitmap(), kColorBlack).isEmpty()); // "H" was drawn
}

TEST(ParamDisplayTest, WithoutCallbackTheValueIsPrintedWithTwoDecimals) {
    ValueTextFunctions none;
    char text[kValueTextSize];
    none.format(0.5f, text);
    EXPECT_STREQ(text, "0.50");
    none.format(-12.345f, text);
    EXPECT_STREQ(text, "-12.35");
}

TEST(ParamDisplayTest, ColourSettersMarkDirtyOnlyOnChangeFontAlways) {
    CParamDisplay display({5, 5, 55, 25});
    display.setDirty(false);
    display.setFontColor(kColorWhite); // unchanged
    EXPECT_FALSE(display.isDirty());
    display.setFontColor({100, 100, 100, 255});
    EXPECT_TRUE(display.isDirty());
    display.setDirty(false);
    display.setStyle(0);
    display.setHoriAlign(kCenterText);
    EXPECT_FALSE(display.isDirty());
    display.setFont(display.getFont());
    EXPECT_TRUE(display.isDirty());
}
