#include "CustomViewsTestSupport.h"
#include "views/CFrame.h"
#include "widgets/CTextKnob.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

// The editor's Detection knob: 51 x 26 at (20, 45), default 1.0.
const CRect kKnobRect{20, 45, 71, 71};
constexpr int32_t kTag = 0;
constexpr int32_t kShiftLeft = kButtonLeft | kModShift;

// A text knob inside a frame, both reporting to one recorder, drawn once (clean).
struct KnobInFrame {
    explicit KnobInFrame(float value = 0.0f) : frame({0, 0, 690, 270}, &recorder) {
        knob = new CTextKnob(kKnobRect, &recorder, kTag, nullptr);
        knob->setDefaultValue(1.0f);
        knob->setValue(value);
        knob->setDirty(false);
        frame.addView(knob);
    }
    // Presses at the knob's centre and answers the press point.
    CPoint press(int32_t buttons = kButtonLeft) {
        const CPoint start{45, 58};
        knob->onMouseDown(start, buttons);
        return start;
    }
    // Moves to the press point plus (dx, dy).
    void moveBy(CPoint start, int32_t dx, int32_t dy, int32_t buttons = kButtonLeft) {
        knob->onMouseMoved({start.h + dx, start.v + dy}, buttons);
    }

    Recorder recorder;
    CFrame frame;
    CTextKnob* knob;
};

} // namespace

// Drag arithmetic: 600 pixels (right and up positive) sweep the range; shift is 2x slower.
TEST(TextKnobDragTest, ClickWithoutMovementKeepsTheValue) {
    KnobInFrame k(0.3f);
    const CPoint start = k.press();
    k.knob->onMouseUp(start, kButtonLeft);
    EXPECT_FLOAT_EQ(k.knob->getValue(), 0.3f);
    EXPECT_EQ(k.recorder.count("changed"), 0);
}

TEST(TextKnobDragTest, DistanceSweepsTheRangeOverSixHundredPixels) {
    struct Case {
        int32_t dx, dy, buttons;
        float start, expected;
    };
    const Case cases[] = {
        {300, 0, kButtonLeft, 0.0f, 0.5f},
        {0, -300, kButtonLeft, 0.0f, 0.5f},   // up counts positive
        {150, -150, kButtonLeft, 0.0f, 0.5f}, // any mix summing to 300
        {300, 300, kButtonLeft, 0.4f, 0.4f},  // right and down cancel
        {-60, 0, kButtonLeft, 0.5f, 0.4f},
        {600, 0, kButtonLeft, 0.0f, 1.0f},
        {700, 0, kButtonLeft, 0.0f, 1.0f}, // limited to the maximum
        {0, 700, kButtonLeft, 0.5f, 0.0f}, // limited to the minimum
        {600, 0, kShiftLeft, 0.0f, 0.5f},  // fine: 1200 pixels for the range
        {120, 0, kShiftLeft, 0.5f, 0.6f},
        {600, 0, kShiftLeft | kModControl, 0.0f, 0.5f}, // control + shift is no reset
    };
    for (const Case& c : cases) {
        KnobInFrame k(c.start);
        const CPoint start = k.press(c.buttons);
        k.moveBy(start, c.dx, c.dy, c.buttons);
        EXPECT_NEAR(k.knob->getValue(), c.expected, 1e-5)
            << "dx " << c.dx << " dy " << c.dy << " buttons " << c.buttons;
    }
}

TEST(TextKnobDragTest, FineFactorSetsTheShiftSlope) {
    KnobInFrame k;
    k.knob->setFineFactor(4.0f);
    const CPoint start = k.press(kShiftLeft);
    k.moveBy(start, 600, 0, kShiftLeft);
    EXPECT_NEAR(k.knob->getValue(), 0.25f, 1e-6);
}

TEST(TextKnobDragTest, UnusableFineFactorsAreIgnored) {
    CTextKnob knob(kKnobRect, nullptr, kTag, nullptr);
    EXPECT_FLOAT_EQ(knob.getFineFactor(), 2.0f);
    for (float bad : {0.0f, -1.0f, std::numeric_limits<float>::infinity(),
                      std::numeric_limits<float>::quiet_NaN()}) {
        knob.setFineFactor(bad);
        EXPECT_FLOAT_EQ(knob.getFineFactor(), 2.0f) << bad;
    }
    // A shift drag back to the press point still gives a number.
    knob.onMouseDown({40, 50}, kShiftLeft);
    knob.onMouseMoved({100, 50}, kShiftLeft);
    knob.onMouseMoved({40, 50}, kShiftLeft);
    EXPECT_FLOAT_EQ(knob.getValue(), 0.0f);
}

TEST(TextKnobDragTest, PressingShiftMidDragKeepsTheValueAndHalvesTheSlope) {
    KnobInFrame k;
    const CPoint start = k.press();
    k.moveBy(start, 300, 0);
    EXPECT_NEAR(k.knob->getValue(), 0.5f, 1e-6);
    // Shift comes with the next move: the value there follows the old slope, then the new one.
    k.moveBy(start, 301, 0, kShiftLeft);
    EXPECT_NEAR(k.knob->getValue(), 301.0 / 600.0, 1e-6);
    k.moveBy(start, 601, 0, kShiftLeft);
    EXPECT_NEAR(k.knob->getValue(), 301.0 / 600.0 + 300.0 / 1200.0, 1e-5);
}

TEST(TextKnobDragTest, ReleasingShiftMidDragRestoresTheNormalSlope) {
    KnobInFrame k;
    const CPoint start = k.press(kShiftLeft);
    k.moveBy(start, 0, -600, kShiftLeft);
    EXPECT_NEAR(k.knob->getValue(), 0.5f, 1e-6);
    k.moveBy(start, 0, -601);
    EXPECT_NEAR(k.knob->getValue(), 601.0 / 1200.0, 1e-6);
    k.moveBy(start, 0, -661);
    EXPECT_NEAR(k.knob->getValue(), 601.0 / 1200.0 + 60.0 / 600.0, 1e-5);
}

TEST(TextKnobDragTest, ListenerHearsOnlyRealChanges) {
    KnobInFrame k(1.0f);
    const CPoint start = k.press();
    k.moveBy(start, 50, 0); // already at the maximum
    EXPECT_EQ(k.recorder.count("changed"), 0);
    k.moveBy(start, -60, 0);
    ASSERT_EQ(k.recorder.changedValues.size(), 1u);
    EXPECT_NEAR(k.recorder.changedValues[0], 0.9f, 1e-5);
}

TEST(TextKnobDragTest, DragContinuesOutsideTheViewThroughTheFrame) {
    KnobInFrame k;
    EXPECT_EQ(k.frame.onMouseDown({45, 58}, kButtonLeft), kMouseHandled);
    EXPECT_EQ(k.frame.onMouseMoved({45 + 300, 58 + 150}, kButtonLeft), kMouseHandled);
    EXPECT_NEAR(k.knob->getValue(), 0.25f, 1e-6);
    k.frame.onMouseUp({345, 208}, kButtonLeft);
    EXPECT_EQ(k.recorder.count("editEnded"), 1);
}

TEST(TextKnobDragTest, GestureIsOneEditFromPressToRelease) {
    KnobInFrame k;
    const CPoint start = k.press();
    k.moveBy(start, 60, 0);
    k.moveBy(start, 120, 0);
    k.knob->onMouseUp({start.h + 120, start.v}, kButtonLeft);
    const std::vector<std::string> expected{"editBegun", "frameBegin 0", "changed",
                                            "changed",   "frameEnd 0",   "editEnded"};
    EXPECT_EQ(k.recorder.events, expected);
}

TEST(TextKnobDragTest, RightButtonPressStartsNoDragButStillEndsTheEdit) {
    KnobInFrame k(0.3f);
    EXPECT_EQ(k.frame.onMouseDown({45, 58}, kButtonRight), kMouseHandled);
    k.frame.onMouseMoved({345, 58}, kButtonRight);
    k.frame.onMouseMoved({345, 58}, 0);
    k.frame.onMouseUp({345, 58}, 0);
    EXPECT_FLOAT_EQ(k.knob->getValue(), 0.3f);
    const std::vector<std::string> expected{"modifierClicked", "editBegun", "frameBegin 0",
                                            "frameEnd 0", "editEnded"};
    EXPECT_EQ(k.recorder.events, expected);
}

// Control + left click: the default, inside a nested gesture of its own.
TEST(TextKnobDefaultClickTest, SetsTheDefaultInNestedEditGestures) {
    KnobInFrame k(0.2f);
    EXPECT_EQ(k.frame.onMouseDown({45, 58}, kModControl | kButtonLeft), kMouseHandledNoTracking);
    EXPECT_FLOAT_EQ(k.knob->getValue(), 1.0f);
    const std::vector<std::string> expected{
        "modifierClicked", "editBegun",  "frameBegin 0", "editBegun",  "frameBegin 0",
        "changed",         "frameEnd 0", "editEnded",    "frameEnd 0", "editEnded"};
    EXPECT_EQ(k.recorder.events, expected);
    EXPECT_EQ(k.frame.getMouseCaptureView(), nullptr); // no tracking after the reset
    EXPECT_FLOAT_EQ(k.recorder.changedValues.at(0), 1.0f);
}

TEST(TextKnobDefaultClickTest, AtTheDefaultAlreadyNothingIsReported) {
    KnobInFrame k(1.0f);
    k.knob->onMouseDown({45, 58}, kModControl | kButtonLeft);
    EXPECT_EQ(k.recorder.count("changed"), 0);
    EXPECT_EQ(k.recorder.count("editBegun"), 2);
    EXPECT_EQ(k.recorder.count("editEnded"), 2);
    EXPECT_EQ(k.recorder.count("frameBegin 0"), 2);
    EXPECT_EQ(k.recorder.count("frameEnd 0"), 2);
}

// Wheel and arrow keys: one wheel step (0.1) per notch or key, a tenth of it with shift.
TEST(TextKnobWheelTest, NotchesStepTheValueAsOneGesture) {
    struct Case {
        float start, distance;
        int32_t buttons;
        float expected;
    };
    const Case cases[] = {
        {0.5f, 1.0f, 0, 0.6f}, {0.5f, -1.0f, 0, 0.4f}, {0.5f, 1.0f, kModShift, 0.51f},
        {0.5f, 3.0f, 0, 0.8f}, {0.95f, 1.0f, 0, 1.0f}, {0.05f, -1.0f, kModShift, 0.04f},
    };
    for (const Case& c : cases) {
        KnobInFrame k(c.start);
        EXPECT_TRUE(k.knob->onWheel({45, 58}, c.distance, c.buttons));
        EXPECT_NEAR(k.knob->getValue(), c.expected, 1e-6) << c.start << " " << c.distance;
        const std::vector<std::string> expected{"editBegun", "frameBegin 0", "changed",
                                                "frameEnd 0", "editEnded"};
        EXPECT_EQ(k.recorder.events, expected);
    }
}

TEST(TextKnobWheelTest, NoReportAtTheLimit) {
    KnobInFrame k(1.0f);
    EXPECT_TRUE(k.knob->onWheel({45, 58}, 1.0f, 0));
    EXPECT_FLOAT_EQ(k.knob->getValue(), 1.0f);
    EXPECT_TRUE(k.recorder.events.empty());
}

TEST(TextKnobKeyTest, ArrowKeysStepLikeTheWheel) {
    struct Case {
        uint8_t key, modifiers;
        float expected;
    };
    const Case cases[] = {
        {kKeyLeft, 0, 0.4f},
        {kKeyDown, 0, 0.4f},
        {kKeyUp, 0, 0.6f},
        {kKeyRight, 0, 0.6f},
        {kKeyRight, kKeyModifierShift, 0.51f},
        {kKeyDown, kKeyModifierShift, 0.49f},
    };
    for (const Case& c : cases) {
        KnobInFrame k(0.5f);
        CKeyCode key;
        key.virtualKey = c.key;
        key.modifiers = c.modifiers;
        EXPECT_EQ(k.knob->onKeyDown(key), kKeyUsed);
        EXPECT_NEAR(k.knob->getValue(), c.expected, 1e-6) << int(c.key);
        EXPECT_EQ(k.recorder.count("changed"), 1);
    }
}

TEST(TextKnobKeyTest, OtherKeysAreNotUsed) {
    KnobInFrame k(0.5f);
    CKeyCode key;
    key.virtualKey = 10;
    EXPECT_EQ(k.knob->onKeyDown(key), kKeyNotUsed);
    EXPECT_FLOAT_EQ(k.knob->getValue(), 0.5f);
    EXPECT_TRUE(k.recorder.events.empty());
}

TEST(TextKnobKeyTest, FrameSendsKeysToTheKnobAfterItWasPressed) {
    KnobInFrame k(0.5f);
    k.frame.onMouseDown({45, 58}, kButtonLeft);
    k.frame.onMouseUp({45, 58}, kButtonLeft);
    CKeyCode key;
    key.virtualKey = kKeyUp;
    EXPECT_EQ(k.frame.onKeyDown(key), kKeyUsed);
    EXPECT_NEAR(k.knob->getValue(), 0.6f, 1e-6);
}
