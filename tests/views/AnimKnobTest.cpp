#include "TestSupport.h"
#include "views/CAnimKnob.h"
#include "views/CDrawSurface.h"
#include "views/CFrame.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t kFrames = 100;
constexpr int32_t kSide = 10;

// A film strip whose frame i is filled with red = i, so a drawn pixel tells the frame.
CBitmap* makeStrip() {
    auto* strip = new CBitmap(kSide, kSide * kFrames);
    for (int32_t y = 0; y < strip->getHeight(); ++y)
        for (int32_t x = 0; x < kSide; ++x)
            strip->pixels()[y * kSide + x] = 0xff000000u | uint32_t(y / kSide) << 16;
    return strip;
}

struct KnobFixture : ::testing::Test {
    KnobFixture() {
        SharedRef<CBitmap> strip = SharedRef<CBitmap>::adopt(makeStrip());
        knob = new CAnimKnob({100, 100, 100 + kSide, 100 + kSide}, &recorder, 3, strip.get());
        frame.addView(knob);
        // Circular drags press far from the knob's small rectangle.
        knob->setClickArea(frame.getViewSize());
        knob->setDirty(false);
    }
    int shownFrame() {
        COffscreenSurface surface(nullptr, 200, 200);
        knob->draw(surface);
        return pixelColor(*surface.getBitmap(), 105, 105).red;
    }
    // Press on the knob's centre, move by (dx, dy), release.
    void drag(int32_t dx, int32_t dy, int32_t buttons) {
        frame.onMouseDown(kCentre, buttons);
        frame.onMouseMoved({kCentre.h + dx, kCentre.v + dy}, buttons);
        frame.onMouseUp({kCentre.h + dx, kCentre.v + dy}, 0);
    }
    static constexpr CPoint kCentre{105, 105};

    Recorder recorder;
    CFrame frame{{0, 0, 2000, 2000}, &recorder};
    CAnimKnob* knob = nullptr;
};

} // namespace

using AnimKnobDrawTest = KnobFixture;

TEST_F(AnimKnobDrawTest, FrameCountIsTheStripHeightOverTheViewHeight) {
    EXPECT_EQ(knob->getFrameCount(), kFrames);
}

TEST_F(AnimKnobDrawTest, FramePositionIsTruncatedToAWholeFrame) {
    struct Case {
        float value;
        int32_t top;
    };
    const Case cases[] = {
        {0.0f, 0},    {0.5f, 490},   {1.0f, 990}, {0.999f, 980}, // trunc(989.01) -> frame 98
        {0.0101f, 0}, {0.0102f, 10}, {-0.3f, 0},  {7.0f, 990},   // beyond 1: last frame
    };
    for (const Case& c : cases)
        EXPECT_EQ(knob->framePosition(c.value), c.top) << c.value;
}

TEST_F(AnimKnobDrawTest, DrawShowsTheFrameOfTheValue) {
    knob->setValue(0.5f);
    EXPECT_EQ(shownFrame(), 49);
    knob->setValue(1.0f);
    EXPECT_EQ(shownFrame(), 99);
    knob->setValue(-1.0f);
    EXPECT_EQ(shownFrame(), 0);
    EXPECT_FALSE(knob->isDirty()); // drawing clears the dirty state
}

TEST_F(AnimKnobDrawTest, DirtyOnlyWhenTheShownFrameChanges) {
    knob->setValue(0.5f);
    knob->setDirty(false);
    knob->setValue(0.5001f);
    EXPECT_FALSE(knob->isDirty());
    knob->setValue(0.52f);
    EXPECT_TRUE(knob->isDirty());
    knob->setDirty(false);
    knob->setDirty(true);
    EXPECT_TRUE(knob->isDirty());
}

using AnimKnobLinearDragTest = KnobFixture;

TEST_F(AnimKnobLinearDragTest, EightHundredPixelsSweepTheWholeRange) {
    drag(300, 0, kButtonLeft);
    EXPECT_FLOAT_EQ(knob->getValue(), 300.0f / 800.0f);
    knob->setValue(0.0f);
    drag(0, -400, kButtonLeft); // up counts positive too
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
}

TEST_F(AnimKnobLinearDragTest, RightAndDownCancel) {
    knob->setValue(0.4f);
    drag(300, 300, kButtonLeft);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.4f);
}

TEST_F(AnimKnobLinearDragTest, ValueIsClampedAtTheEnds) {
    drag(900, 0, kButtonLeft);
    EXPECT_EQ(knob->getValue(), 1.0f);
    drag(-100, 1800, kButtonLeft);
    EXPECT_EQ(knob->getValue(), 0.0f);
}

TEST_F(AnimKnobLinearDragTest, ShiftMakesTheDragFiveTimesFiner) {
    drag(400, 0, kButtonLeft | kModShift);
    EXPECT_FLOAT_EQ(knob->getValue(), 400.0f / 4000.0f);
}

TEST_F(AnimKnobLinearDragTest, ControlShiftLeftIsAFineDragNotAReset) {
    knob->setDefaultValue(0.9f);
    drag(400, 0, kButtonLeft | kModShift | kModControl);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.1f);
}

TEST_F(AnimKnobLinearDragTest, PressingShiftMidDragKeepsTheValueAndChangesTheSlope) {
    frame.onMouseDown(kCentre, kButtonLeft);
    frame.onMouseMoved({505, 105}, kButtonLeft);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    frame.onMouseMoved({505, 105}, kButtonLeft | kModShift); // no movement: nothing happens
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    // The first shifted move still counts at the plain slope (the switch is seen there), the
    // rest at a fifth of it.
    frame.onMouseMoved({506, 105}, kButtonLeft | kModShift);
    EXPECT_NEAR(knob->getValue(), 401.0f / 800.0f, 1e-6);
    frame.onMouseMoved({905, 105}, kButtonLeft | kModShift);
    EXPECT_NEAR(knob->getValue(), 401.0f / 800.0f + 399.0f / 4000.0f, 1e-5);
    frame.onMouseUp({905, 105}, 0);
}

TEST_F(AnimKnobLinearDragTest, ClickWithoutMovementChangesNothing) {
    knob->setValue(0.3f);
    knob->setDirty(false);
    frame.onMouseDown(kCentre, kButtonLeft);
    frame.onMouseUp(kCentre, 0);
    EXPECT_EQ(knob->getValue(), 0.3f);
    EXPECT_EQ(recorder.count("changed"), 0);
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"editBegun", "frameBegin 3", "frameEnd 3", "editEnded"}));
}

TEST_F(AnimKnobLinearDragTest, DragNotifiesInsideOneEditGesture) {
    drag(80, 0, kButtonLeft);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"editBegun", "frameBegin 3", "changed",
                                                         "frameEnd 3", "editEnded"}));
    EXPECT_FLOAT_EQ(recorder.changedValues.at(0), 0.1f);
}

TEST_F(AnimKnobLinearDragTest, ControlClickSetsTheDefaultAndEndsTheGesture) {
    knob->setDefaultValue(0.4f);
    knob->setValue(0.8f);
    knob->setDirty(false);
    EXPECT_EQ(frame.onMouseDown({105, 105}, kButtonLeft | kModControl), kMouseHandledNoTracking);
    EXPECT_EQ(knob->getValue(), 0.4f);
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"modifierClicked", "editBegun", "frameBegin 3", "editBegun",
                                        "frameBegin 3", "changed", "frameEnd 3", "editEnded",
                                        "frameEnd 3", "editEnded"}));
}

TEST_F(AnimKnobLinearDragTest, RightPressStartsNoDrag) {
    knob->setValue(0.3f);
    frame.onMouseDown({105, 105}, kButtonRight);
    frame.onMouseMoved({400, 105}, 0);
    frame.onMouseUp({400, 105}, 0);
    EXPECT_EQ(knob->getValue(), 0.3f);
    EXPECT_EQ(recorder.count("editEnded"), 1);
}

using AnimKnobCircularTest = KnobFixture;

TEST_F(AnimKnobCircularTest, ValueFollowsTheAngleAroundTheCentre) {
    // Centre (105, 105); 225° is the minimum, -45° the maximum, clockwise over 270°.
    struct Case {
        CPoint where;
        float value;
    };
    const Case cases[] = {
        {{105, 50}, 0.5f},             // straight up: 90°
        {{150, 105}, 225.0f / 270.0f}, // right: 0°
        {{50, 105}, 45.0f / 270.0f},   // left: 180°
        {{50, 160}, 0.0f},             // down-left: 225°
        {{160, 160}, 1.0f},            // down-right: -45°
        {{100, 200}, 0.0f},            // in the gap, left of straight down
        {{110, 200}, 1.0f},            // in the gap, right of straight down
    };
    for (const Case& c : cases)
        EXPECT_NEAR(knob->valueFromPoint(c.where), c.value, 1e-3) << c.where.h << "," << c.where.v;
}

TEST_F(AnimKnobCircularTest, HostKnobModeSelectsCircularDrag) {
    recorder.knobMode = kCircularMode;
    frame.onMouseDown({105, 50}, kButtonLeft);
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-3);
    frame.onMouseMoved({150, 105}, kButtonLeft);
    EXPECT_NEAR(knob->getValue(), 225.0f / 270.0f, 1e-3);
    frame.onMouseUp({150, 105}, 0);
}

TEST_F(AnimKnobCircularTest, AltSwapsTheModes) {
    // Linear host mode with alt: circular.
    frame.onMouseDown({105, 50}, kButtonLeft | kModAlt);
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-3);
    frame.onMouseUp({105, 50}, 0);
    // Circular host mode with alt: linear, so the press itself changes nothing.
    recorder.knobMode = kCircularMode;
    knob->setValue(0.2f);
    frame.onMouseDown({105, 50}, kButtonLeft | kModAlt);
    EXPECT_EQ(knob->getValue(), 0.2f);
    frame.onMouseMoved({185, 50}, kButtonLeft | kModAlt);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.3f);
    frame.onMouseUp({185, 50}, 0);
}

TEST_F(AnimKnobCircularTest, JumpAcrossTheGapKeepsTheEndItCameFrom) {
    recorder.knobMode = kCircularMode;
    frame.onMouseDown({160, 150}, kButtonLeft); // near the maximum
    EXPECT_GT(knob->getValue(), 0.9f);
    frame.onMouseMoved({50, 160}, kButtonLeft); // across the gap to the minimum's side
    EXPECT_EQ(knob->getValue(), 1.0f);
    frame.onMouseUp({50, 160}, 0);
}

using AnimKnobWheelAndKeysTest = KnobFixture;

TEST_F(AnimKnobWheelAndKeysTest, WheelStepsByTheWheelIncrement) {
    knob->setValue(0.5f);
    knob->setDirty(false);
    EXPECT_TRUE(knob->onWheel({105, 105}, 1.0f, 0));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.6f);
    EXPECT_TRUE(knob->onWheel({105, 105}, -1.0f, kModShift));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.59f);
    EXPECT_EQ(recorder.count("changed"), 2);
    EXPECT_EQ(recorder.count("frameBegin"), 2);
}

TEST_F(AnimKnobWheelAndKeysTest, WheelAtTheEndTellsNobody) {
    knob->setValue(1.0f);
    knob->setDirty(false);
    EXPECT_TRUE(knob->onWheel({105, 105}, 1.0f, 0));
    EXPECT_EQ(knob->getValue(), 1.0f);
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(AnimKnobWheelAndKeysTest, ArrowKeysStepLikeTheWheel) {
    struct Case {
        uint8_t key;
        uint8_t modifiers;
        float expected;
    };
    const Case cases[] = {{kKeyUp, 0, 0.6f},
                          {kKeyRight, 0, 0.6f},
                          {kKeyDown, 0, 0.4f},
                          {kKeyLeft, 0, 0.4f},
                          {kKeyUp, kKeyModifierShift, 0.51f}};
    for (const Case& c : cases) {
        knob->setValue(0.5f);
        EXPECT_EQ(knob->onKeyDown({0, c.key, c.modifiers}), kKeyUsed);
        EXPECT_FLOAT_EQ(knob->getValue(), c.expected) << int(c.key);
    }
    knob->setValue(0.5f);
    EXPECT_EQ(knob->onKeyDown({'a', 0, 0}), kKeyNotUsed);
    EXPECT_EQ(knob->getValue(), 0.5f);
}
