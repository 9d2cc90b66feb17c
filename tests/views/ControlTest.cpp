#include "TestSupport.h"
#include "views/CFrame.h"

#include <gtest/gtest.h>

TEST(ControlConstructionTest, StartsWithTheFrameworkDefaults) {
    Recorder listener;
    CControl control({0, 0, 10, 10}, &listener, 7);
    EXPECT_EQ(control.getTag(), 7);
    EXPECT_EQ(control.getValue(), 0.0f);
    EXPECT_EQ(control.getDefaultValue(), 0.5f);
    EXPECT_EQ(control.getMin(), 0.0f);
    EXPECT_EQ(control.getMax(), 1.0f);
    EXPECT_FLOAT_EQ(control.getWheelStep(), 0.1f);
    EXPECT_EQ(control.getBackgroundOffset(), (CPoint{0, 0}));
    EXPECT_TRUE(control.isDirty()); // new controls are drawn at the first paint
}

TEST(ControlConstructionTest, TakesAReferenceOnItsBackground) {
    auto* image = new CBitmap(4, 4);
    {
        CControl control({0, 0, 4, 4}, nullptr, 0, image);
        EXPECT_EQ(image->getNbReference(), 2);
    }
    EXPECT_EQ(image->getNbReference(), 1);
    image->releaseRef();
}

TEST(ControlDirtyTest, SetValueStoresWithoutClampingOrNotifying) {
    Recorder listener;
    CControl control({0, 0, 10, 10}, &listener, 1);
    control.setValue(3.5f);
    EXPECT_EQ(control.getValue(), 3.5f);
    EXPECT_TRUE(listener.events.empty());
}

TEST(ControlDirtyTest, DirtyWhenTheValueDiffersFromTheOldValue) {
    CControl control({0, 0, 10, 10});
    control.setDirty(false);
    EXPECT_FALSE(control.isDirty());
    EXPECT_EQ(control.getOldValue(), control.getValue());
    control.setValue(0.25f);
    EXPECT_TRUE(control.isDirty());
    control.setDirty(false);
    EXPECT_FALSE(control.isDirty());
    EXPECT_EQ(control.getOldValue(), 0.25f);
}

TEST(ControlDirtyTest, SetDirtyTrueMarksTheOldValueAsDifferent) {
    struct Case {
        float value;
        float expectedOldValue;
    };
    // -1 cannot serve as "changed" for a value of -1, so 0 is used there.
    const Case cases[] = {{0.3f, -1.0f}, {0.0f, -1.0f}, {-1.0f, 0.0f}, {1.0f, -1.0f}};
    for (const Case& c : cases) {
        CControl control({0, 0, 10, 10});
        control.setValue(c.value);
        control.setDirty(false);
        control.setDirty(true);
        EXPECT_EQ(control.getOldValue(), c.expectedOldValue) << c.value;
        EXPECT_TRUE(control.isDirty()) << c.value;
    }
}

TEST(ControlDirtyTest, ValueMinusOneStaysDirtyEvenAfterTheFlagIsCleared) {
    CControl control({0, 0, 10, 10});
    control.setValue(-1.0f);
    control.setDirty(true);
    control.CView::setDirty(false); // only the flag: the old value (0) still differs
    EXPECT_TRUE(control.isDirty());
}

TEST(ControlClampTest, ClampValueLimitsToMinimumAndMaximum) {
    struct Case {
        float value;
        float expected;
    };
    const Case cases[] = {{-0.5f, 0.2f}, {0.2f, 0.2f}, {0.5f, 0.5f}, {0.8f, 0.8f}, {2.0f, 0.8f}};
    for (const Case& c : cases) {
        CControl control({0, 0, 1, 1});
        control.setMin(0.2f);
        control.setMax(0.8f);
        control.setValue(c.value);
        control.clampValue();
        EXPECT_EQ(control.getValue(), c.expected) << c.value;
    }
}

TEST(DefaultOnClickTest, OnlyExactlyControlAndLeftResets) {
    struct Case {
        int32_t buttons;
        bool resets;
    };
    const Case cases[] = {
        {kModControl | kButtonLeft, true},
        {kModControl | kModShift | kButtonLeft, false},
        {kModControl | kModAlt | kButtonLeft, false},
        {kModControl | kButtonRight, false},
        {kButtonLeft, false},
        {kModControl, false},
        {kModControl | kButtonLeft | kButtonRight, false},
    };
    for (const Case& c : cases) {
        Recorder listener;
        CControl control({0, 0, 10, 10}, &listener, 3);
        control.setDefaultValue(0.4f);
        control.setValue(0.9f);
        EXPECT_EQ(control.applyDefaultOnClick(c.buttons), c.resets) << c.buttons;
        EXPECT_EQ(control.getValue(), c.resets ? 0.4f : 0.9f) << c.buttons;
        EXPECT_EQ(listener.events.empty(), !c.resets) << c.buttons;
    }
}

TEST(DefaultOnClickTest, ResetIsOneEditGestureReportedThroughTheFrame) {
    Recorder recorder;
    CFrame frame({0, 0, 100, 100}, &recorder);
    auto* control = new CControl({0, 0, 10, 10}, &recorder, 5);
    frame.addView(control);
    control->setValue(0.9f);
    control->setDirty(false);
    ASSERT_TRUE(control->applyDefaultOnClick(kModControl | kButtonLeft));
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"editBegun", "frameBegin 5", "changed",
                                                         "frameEnd 5", "editEnded"}));
    EXPECT_EQ(recorder.changedValues, (std::vector<float>{0.5f}));
    EXPECT_EQ(frame.getFocusView(), control);
}

TEST(DefaultOnClickTest, NoValueChangedWhenTheValueAlreadyIsTheDefault) {
    Recorder recorder;
    CControl control({0, 0, 10, 10}, &recorder, 5);
    control.setValue(0.5f);
    control.setDirty(false);
    ASSERT_TRUE(control.applyDefaultOnClick(kModControl | kButtonLeft));
    EXPECT_EQ(recorder.count("changed"), 0);
    EXPECT_EQ(recorder.count("edit"), 2);
}

TEST(ControlIdentityTest, IsOfClassAnswersForItsOwnNameAndItsBases) {
    CControl control({0, 0, 1, 1});
    EXPECT_TRUE(control.isOfClass("CControl"));
    EXPECT_TRUE(control.isOfClass("CView"));
    EXPECT_FALSE(control.isOfClass("CAnimKnob"));
    EXPECT_FALSE(control.isOfClass(nullptr));
}

TEST(ControlIdentityTest, CloneCopiesMembersAndIsDetached) {
    Recorder recorder;
    CFrame frame({0, 0, 100, 100}, &recorder);
    auto* control = new CControl({1, 2, 3, 4}, &recorder, 9);
    frame.addView(control);
    control->setValue(0.7f);
    control->setDefaultValue(0.2f);
    control->setClickArea({0, 0, 50, 50});
    SharedRef<CView> copy = SharedRef<CView>::adopt(control->clone());
    auto* clone = dynamic_cast<CControl*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->getValue(), 0.7f);
    EXPECT_EQ(clone->getDefaultValue(), 0.2f);
    EXPECT_EQ(clone->getTag(), 9);
    EXPECT_EQ(clone->getClickArea(), (CRect{0, 0, 50, 50}));
    EXPECT_EQ(clone->getNbReference(), 1);
    EXPECT_EQ(clone->getFrame(), nullptr);
}

TEST(ControlDoubleClickTest, SecondQuickClickIsADoubleClickAndStartsOver) {
    CControl control({0, 0, 1, 1});
    EXPECT_FALSE(control.isDoubleClick());
    EXPECT_TRUE(control.isDoubleClick()); // well within the 250 ms minimum
    EXPECT_FALSE(control.isDoubleClick());
}
