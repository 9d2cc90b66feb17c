// The window's content: the 35 views in their order, places, bindings, defaults, looks, and
// the gestures that depend on the layout (defaults, switch thirds, overlaps).

#include "EditorTestSupport.h"

#include "editor/GuiValueText.h"
#include "views/CAnimKnob.h"
#include "views/CMovieBitmap.h"
#include "views/COnOffButton.h"
#include "views/CParamDisplay.h"
#include "views/CVerticalSwitch.h"
#include "widgets/CCompMeter.h"
#include "widgets/CScala.h"
#include "widgets/CTextKnob.h"
#include "widgets/CTransferFunction.h"
#include "widgets/LevelMeter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ViewRow {
    const char* className;
    CRect rect;
    int32_t tag; // -2: not checked (readouts and display views)
    float defaultValue;
};

constexpr int32_t kAny = -2;

// Whether `view` is of the class named or of one derived from it.
bool isOfClass(CView* view, const std::string& name) {
    if (name == "CAnimKnob") return dynamic_cast<CAnimKnob*>(view);
    if (name == "CCompMeter") return dynamic_cast<CCompMeter*>(view);
    if (name == "CMovieBitmap") return dynamic_cast<CMovieBitmap*>(view);
    if (name == "COnOffButton") return dynamic_cast<COnOffButton*>(view);
    if (name == "CParamDisplay") return dynamic_cast<CParamDisplay*>(view);
    if (name == "CScala") return dynamic_cast<CScala*>(view);
    if (name == "CTextKnob") return dynamic_cast<CTextKnob*>(view);
    if (name == "CTextSplash") return dynamic_cast<CTextSplash*>(view);
    if (name == "CTransferFunction") return dynamic_cast<CTransferFunction*>(view);
    if (name == "CVerticalSwitch") return dynamic_cast<CVerticalSwitch*>(view);
    if (name == "LevelMeter") return dynamic_cast<LevelMeter*>(view);
    return false;
}

// The window's views in creation order, as the layout lists them.
const ViewRow kLayout[] = {
    {"CParamDisplay", {562, 3, 712, 18}, kAny, 0},
    {"CTextSplash", {562, 3, 712, 18}, 777, 0},
    {"CAnimKnob", {107, 48, 177, 118}, 3, 0.0f},
    {"CAnimKnob", {261, 48, 331, 118}, 5, 0.4f},
    {"CAnimKnob", {184, 48, 254, 118}, 4, 0.0f},
    {"CAnimKnob", {607, 48, 677, 118}, 10, 0.5f},
    {"CAnimKnob", {607, 171, 677, 241}, 9, 0.0f},
    {"CAnimKnob", {107, 171, 177, 241}, 6, 0.31f},
    {"CAnimKnob", {184, 171, 254, 241}, 7, 0.425f},
    {"CAnimKnob", {261, 171, 331, 241}, 8, 0.5f},
    {"CAnimKnob", {11, 171, 81, 241}, 2, 0.475f},
    {"CTextKnob", {20, 45, 71, 71}, 0, 1.0f},
    {"CParamDisplay", {118, 118, 169, 136}, kAny, 0},
    {"CParamDisplay", {271, 118, 322, 136}, kAny, 0},
    {"CParamDisplay", {194, 118, 245, 136}, kAny, 0},
    {"CParamDisplay", {617, 118, 668, 136}, kAny, 0},
    {"CParamDisplay", {617, 241, 668, 259}, kAny, 0},
    {"CParamDisplay", {118, 241, 169, 259}, kAny, 0},
    {"CParamDisplay", {194, 241, 245, 259}, kAny, 0},
    {"CParamDisplay", {21, 241, 72, 259}, kAny, 0},
    {"CParamDisplay", {271, 241, 322, 259}, kAny, 0},
    {"CTextKnob", {358, 235, 409, 261}, 14, 0.5f},
    {"CTextKnob", {412, 235, 463, 261}, 13, 0.5f},
    {"CVerticalSwitch", {19, 100, 74, 171}, 1, 0.0f},
    {"COnOffButton", {487, 214, 542, 239}, 17, 0.0f},
    {"COnOffButton", {358, 214, 413, 239}, 12, 0.0f},
    {"COnOffButton", {412, 214, 467, 239}, 11, 0.0f},
    {"COnOffButton", {540, 214, 595, 264}, 16, 1.0f},
    {"COnOffButton", {487, 237, 542, 262}, 15, 0.0f},
    {"CCompMeter", {544, 57, 574, 187}, 502, 0},
    {"LevelMeter", {509, 57, 519, 187}, 502, 0},
    {"CScala", {521, 52, 544, 187}, 18, 0},
    {"CTransferFunction", {374, 57, 504, 187}, 18, 0},
    {"CMovieBitmap", {246, 154, 258, 166}, kAny, 0},
    {"CMovieBitmap", {256, 154, 268, 166}, kAny, 0},
};

class EditorLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        // Distinct values, so that a control bound to the wrong slot shows.
        for (int i = 0; i < 19; ++i)
            f.host.set(i, 0.01f * float(i + 1));
        ASSERT_TRUE(f.open());
    }
    EditorFixture f;
};

} // namespace

TEST_F(EditorLayout, ThirtyFiveViewsInTableOrderWithTheirClassesRectanglesTagsAndDefaults) {
    ASSERT_EQ(f.frame().getNbViews(), 35);
    for (int i = 0; i < 35; ++i) {
        SCOPED_TRACE(i + 1);
        CView* view = f.frame().getView(i);
        const ViewRow& row = kLayout[i];
        EXPECT_TRUE(isOfClass(view, row.className));
        EXPECT_EQ(view->getViewSize(), row.rect);
        if (row.tag == kAny) continue;
        auto* control = dynamic_cast<CControl*>(view);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->getTag(), row.tag);
        // The about trigger, the meters, the strip and the graph have no default to set.
        if (row.tag != 777 && row.tag != 18 && row.tag != 502) {
            EXPECT_EQ(control->getDefaultValue(), row.defaultValue);
        }
    }
}

TEST_F(EditorLayout, BoundControlsAndReadoutsShowTheEffectsValuesAtOpen) {
    for (int i = 0; i < 19; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(f.views().parameterControl[std::size_t(i)]->getValue(), 0.01f * float(i + 1));
        EXPECT_EQ(f.views().parameterControl[std::size_t(i)]->getListener(), f.editor.get());
    }
    const std::pair<CParamDisplay*, int> readouts[] = {
        {f.views().thresholdDisplay, 3},  {f.views().ratioDisplay, 5},
        {f.views().kneeDisplay, 4},       {f.views().makeUpDisplay, 10},
        {f.views().dryMixDisplay, 9},     {f.views().attackDisplay, 6},
        {f.views().releaseDisplay, 7},    {f.views().scFilterFreqDisplay, 2},
        {f.views().releaseSlowDisplay, 8}};
    for (const auto& [display, index] : readouts) {
        SCOPED_TRACE(index);
        EXPECT_EQ(display->getValue(), 0.01f * float(index + 1));
        EXPECT_EQ(display->getListener(), nullptr);
        EXPECT_EQ(display->getTag(), 0);
        EXPECT_EQ(display->getBackgroundOffset(), (CPoint{0, -1}));
        EXPECT_EQ(display->getFont()->getSize(), 10);
        EXPECT_EQ(display->getFont()->getName(), "Arial");
        ASSERT_NE(display->getBackground(), nullptr);
        EXPECT_EQ(display->getBackground()->getWidth(), 51);
        EXPECT_EQ(display->getBackground()->getHeight(), 17);
    }
}

TEST_F(EditorLayout, ImagesFramesAndTransparencyOfTheGraphicControls) {
    EXPECT_EQ(f.frame().getBackground()->getWidth(), 690);
    EXPECT_EQ(f.frame().getBackground()->getHeight(), 270);
    EXPECT_EQ(f.views().ratioKnob->getFrameCount(), 100);
    EXPECT_TRUE(f.views().ratioKnob->getTransparency());
    EXPECT_EQ(f.views().releaseLampLeft->getFrameCount(), 2);
    EXPECT_EQ(f.views().releaseLampRight->getFrameCount(), 2);
    EXPECT_EQ(f.views().scFilterTypeSwitch->getBackground()->getHeight(), 213);
    EXPECT_EQ(f.views().bypassButton->getBackground()->getHeight(), 100);
    EXPECT_TRUE(f.views().bypassButton->getTransparency());
    EXPECT_EQ(f.views().deltaButton->getBackground()->getHeight(), 50);
    EXPECT_EQ(f.views().detectionKnob->getBackground()->getWidth(), 49);
    EXPECT_EQ(f.views().detectionKnob->getBackgroundOffset(), (CPoint{-1, -4}));
    EXPECT_EQ(f.views().detectionKnob->getLook().font->getSize(), 10);
    EXPECT_EQ(f.views().aboutTrigger->getCard()->getBackground()->getWidth(), 200);
    EXPECT_EQ(f.views().aboutTrigger->getCardRect(), (CRect{374, 44, 574, 194}));
}

TEST_F(EditorLayout, VersionTextLooksAndReads) {
    CParamDisplay* version = f.views().versionDisplay;
    EXPECT_EQ(version->getFont()->getSize(), 9);
    EXPECT_EQ(version->getFontColor(), (CColor{120, 120, 120, 255}));
    EXPECT_EQ(version->getStyle(), 2);
    EXPECT_EQ(version->getBackground(), nullptr);
    EXPECT_EQ(textOf(versionText, version->getValue()), "version 0.9.03 beta [?]");
}

TEST_F(EditorLayout, ControlClickSetsTheKnobDefaultsAsOneGesture) {
    f.host.calls.clear();
    f.click({296, 83}, kButtonLeft | kModControl);
    EXPECT_EQ(f.host.getParameter(5), 0.4f);
    EXPECT_EQ(textOf(ratioText, f.views().ratioDisplay->getValue()), "2.0:1");
    EXPECT_EQ(f.host.calls, (std::vector<HostCallRecord>{{HostCallRecord::kBeginEdit, 5, 0},
                                                         {HostCallRecord::kBeginEdit, 5, 0},
                                                         {HostCallRecord::kAutomate, 5, 0.4f},
                                                         {HostCallRecord::kEndEdit, 5, 0},
                                                         {HostCallRecord::kEndEdit, 5, 0}}));
    f.click({142, 206}, kButtonLeft | kModControl);
    EXPECT_EQ(f.host.getParameter(6), 0.31f);
}

TEST_F(EditorLayout, OnOffButtonsHaveNoDefaultGestureAndSimplyToggle) {
    f.host.set(16, 0.0f);
    f.click({567, 240}, kButtonLeft | kModControl);
    EXPECT_EQ(f.host.getParameter(16), 1.0f);
    f.click({567, 240});
    EXPECT_EQ(f.host.getParameter(16), 0.0f);
}

TEST_F(EditorLayout, FilterSwitchThirdsGiveOffThreeAndSixDb) {
    const std::pair<int32_t, float> thirds[] = {{105, 0.0f}, {135, 0.5f}, {165, 1.0f}};
    for (const auto& [y, value] : thirds) {
        SCOPED_TRACE(y);
        f.click({46, y});
        EXPECT_EQ(f.host.getParameter(1), value);
        EXPECT_EQ(f.views().scFilterTypeSwitch->getValue(), value);
    }
}

TEST_F(EditorLayout, OverlapsGoToTheLaterView) {
    f.host.set(11, 0.0f);
    f.host.set(12, 0.0f);
    f.click({412, 220});
    EXPECT_EQ(f.host.getParameter(11), 1.0f);
    EXPECT_EQ(f.host.getParameter(12), 0.0f);

    f.host.set(15, 0.0f);
    f.host.set(17, 0.0f);
    f.click({500, 238});
    EXPECT_EQ(f.host.getParameter(15), 1.0f);
    EXPECT_EQ(f.host.getParameter(17), 0.0f);
}

TEST_F(EditorLayout, ClicksOnAndAroundTheMeterBlockStepTheScale) {
    f.host.set(18, 0.0f);
    f.click({532, 100});
    EXPECT_EQ(f.host.getParameter(18), 0.25f);
    f.click({572, 100}); // over the gain-reduction meter
    EXPECT_EQ(f.host.getParameter(18), 0.5f);
    f.click({532, 32}); // over the captions
    EXPECT_EQ(f.host.getParameter(18), 0.75f);
    f.click({532, 100}, kButtonRight);
    EXPECT_EQ(f.host.getParameter(18), 0.5f);
}

TEST_F(EditorLayout, TextKnobsDragOverTheirTextAndReadoutsTakeNoInput) {
    f.host.set(14, 0.5f);
    f.host.calls.clear();
    f.drag({383, 248}, 60, 0);
    EXPECT_NEAR(f.host.getParameter(14), 0.6f, 1e-6);
    EXPECT_EQ(f.host.calls.front(), (HostCallRecord{HostCallRecord::kBeginEdit, 14, 0}));
    EXPECT_EQ(f.host.calls.back(), (HostCallRecord{HostCallRecord::kEndEdit, 14, 0}));

    f.host.calls.clear();
    f.drag({143, 127}, 0, -50); // the threshold readout
    EXPECT_TRUE(f.host.calls.empty());
}

TEST_F(EditorLayout, OpeningWithBypassOnShowsTheButtonLitAndEveryReadoutDim) {
    EditorFixture g;
    g.host.set(16, 1.0f);
    ASSERT_TRUE(g.open());
    EXPECT_EQ(g.views().bypassButton->getValue(), 1.0f);
    EXPECT_EQ(g.views().thresholdDisplay->getFontColor(), kTextDim);
    EXPECT_EQ(g.views().scFilterFreqDisplay->getFontColor(), kTextDim);
    EXPECT_EQ(g.views().detectionKnob->getLook().fontColor, kTextDim);
}
