#include "TestSupport.h"
#include "views/CFrame.h"

#include <gtest/gtest.h>

TEST(ControlConstructionTest, StartsWithTheFrameworkDefaults) {
    Recorder listener;
    CControl control({0, 0, 10, 10}, &listener, 7);
    EXPECT_EQ(control.getTag(), 7);
    EXPECT_EQ(control.getValue(), 0.0f);
    EXPECT_EQ(control.getDefaultValue(), 0.5f);
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
    control.setValue(0.25f);
    EXPECT_TRUE(control.isDirty());
    control.setDirty(false);
    EXPECT_FALSE(control.isDirty());
    control.setValue(0.25f);
    EXPECT_FALSE(control.isDirty());
}

TEST(ControlDirtyTest, SetDirtyTrueMakesEveryValueCountAsChanged) {
    // -1, the usual mark for "changed", is a value too.
    for (float value : {0.3f, 0.0f, -1.0f, 1.0f}) {
        CControl control({0, 0, 10, 10});
        control.setValue(value);
        control.setDirty(false);
        ASSERT_FALSE(control.isDirty()) << value;
        control.setDirty(true);
        EXPECT_TRUE(control.isDirty()) << value;
    }
}

TEST(ControlDirtyTest, ValueMinusOneStaysDirtyEvenAfterTheFlagIsCleared) {
    CControl control({0, 0, 10, 10});
    control.setValue(-1.0f);
    control.setDirty(true);
    control.CView::setDirty(false); // only the flag: the old value (0) still differs
    EXPECT_TRUE(control.isDirty());
}

TEST(ControlClampTest, ClampValueLimitsToZeroAndOne) {
    struct Case {
        float value;
        float expected;
    };
    const Case cases[] = {{-0.5f, 0.0f}, {0.0f, 0.0f}, {0.5f, 0.5f}, {1.0f, 1.0f}, {2.0f, 1.0f}};
    for (const Case& c : cases) {
        CControl control({0, 0, 1, 1});
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

TEST(ControlDoubleClickTest, SecondQuickClickIsADoubleClickAndStartsOver) {
    CControl control({0, 0, 1, 1});
    EXPECT_FALSE(control.isDoubleClick());
    EXPECT_TRUE(control.isDoubleClick()); // well within the 250 ms minimum
    EXPECT_FALSE(control.isDoubleClick());
}
