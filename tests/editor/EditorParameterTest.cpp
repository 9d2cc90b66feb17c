// Both directions between the controls and the effect: host changes reach the controls,
// readouts and graph; the user's changes reach the host as automation framed by edit gestures.

#include "EditorTestSupport.h"

#include "views/CAnimKnob.h"
#include "views/CParamDisplay.h"
#include "widgets/CCompMeter.h"
#include "widgets/CScala.h"
#include "widgets/CTextKnob.h"
#include "widgets/CTransferFunction.h"
#include "widgets/LevelMeter.h"

#include <gtest/gtest.h>

namespace {

class EditorParameters : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(f.open()); }
    EditorFixture f;
};

} // namespace

TEST_F(EditorParameters, EveryParameterReachesItsControlAndReadout) {
    for (int i = 0; i < 19; ++i) {
        SCOPED_TRACE(i);
        const float value = 0.05f * float(i) + 0.02f;
        f.host.set(i, value);
        EXPECT_EQ(f.views().parameterControl[std::size_t(i)]->getValue(), value);
        if (CParamDisplay* readout = f.views().parameterReadout[std::size_t(i)]) {
            EXPECT_EQ(readout->getValue(), value);
        }
    }
    EXPECT_EQ(f.views().detectionKnob->getValue(), 0.02f);
    EXPECT_EQ(f.views().meterScale->getValue(), 0.05f * 18 + 0.02f);
}

TEST_F(EditorParameters, TheValueIsReadBackFromTheEffectNotTakenFromTheCall) {
    f.host.set(4, 0.25f);
    f.editor->setParameter(4, 0.9f);
    EXPECT_EQ(f.views().kneeKnob->getValue(), 0.25f);
}

TEST_F(EditorParameters, TheCurveParametersFeedTheGraphAndTheLevelMeter) {
    CTransferFunction& graph = *f.views().transferGraph;
    f.host.set(3, 0.5f);
    EXPECT_DOUBLE_EQ(graph.thresholdDb, -25.0);
    EXPECT_FLOAT_EQ(f.views().scMeter->thresholdDb, -25.0f);
    f.host.set(4, 0.5f);
    EXPECT_DOUBLE_EQ(graph.kneeDb, 10.0);
    f.host.set(5, 0.4f);
    EXPECT_NEAR(graph.inverseRatio, 1.0 / 2.0, 1e-7);
    // The float 0.8 lies just above the double 0.8: 4:1, as the ratio text reads.
    f.host.set(5, 0.8f);
    EXPECT_DOUBLE_EQ(graph.inverseRatio, 1.0 / 4.0);
    f.host.set(5, 0.95f);
    EXPECT_DOUBLE_EQ(graph.inverseRatio, 1.0 / 8.0);
    f.host.set(9, 0.25f);
    EXPECT_DOUBLE_EQ(graph.dryAttenuationDb, 75.0);
    f.host.set(10, 0.25f);
    EXPECT_DOUBLE_EQ(graph.makeUpDb, -15.0);
    f.host.set(10, 1.0f);
    EXPECT_DOUBLE_EQ(graph.makeUpDb, 12.0);
}

TEST_F(EditorParameters, OnlyTheCurveParametersAndDimmingMarkTheGraphDirty) {
    CTransferFunction& graph = *f.views().transferGraph;
    const auto dirtyAfter = [&](int index, float value) {
        graph.setDirty(false);
        f.host.set(index, value);
        return graph.isDirty();
    };
    EXPECT_TRUE(dirtyAfter(3, 0.3f));
    EXPECT_TRUE(dirtyAfter(4, 0.3f));
    EXPECT_TRUE(dirtyAfter(5, 0.3f));
    EXPECT_TRUE(dirtyAfter(9, 0.3f));
    EXPECT_TRUE(dirtyAfter(10, 0.3f));
    EXPECT_TRUE(dirtyAfter(16, 1.0f)); // through the dimming
    EXPECT_FALSE(dirtyAfter(6, 0.3f));
    EXPECT_FALSE(dirtyAfter(13, 0.3f));
    EXPECT_FALSE(dirtyAfter(18, 0.25f));
}

TEST_F(EditorParameters, IndicesWithoutAControlChangeNothing) {
    for (int index : {-1, 19, 20, 21, 500, 506}) {
        SCOPED_TRACE(index);
        f.editor->setParameter(index, 1.0f);
    }
    EXPECT_EQ(f.frame().getNbViews(), 35);
    EXPECT_TRUE(f.host.calls.empty());
}

TEST_F(EditorParameters, ChangesWhileClosedAreIgnoredAndReadAnewAtOpen) {
    f.editor->close();
    f.host.set(5, 0.7f);
    f.host.set(16, 1.0f);
    ASSERT_TRUE(f.open());
    EXPECT_EQ(f.views().ratioKnob->getValue(), 0.7f);
    EXPECT_EQ(f.views().ratioDisplay->getValue(), 0.7f);
    EXPECT_EQ(f.views().ratioDisplay->getFontColor(), kTextDim);
}

TEST_F(EditorParameters, AKnobDragIsOneGestureOfAutomatedChanges) {
    f.host.set(5, 0.0f);
    f.host.calls.clear();
    // 800 pixels sweep the film-strip knob's range.
    f.drag({296, 83}, 200, 0);
    EXPECT_FLOAT_EQ(f.host.getParameter(5), 0.25f);
    ASSERT_GE(f.host.calls.size(), 3u);
    EXPECT_EQ(f.host.calls.front(), (HostCallRecord{HostCallRecord::kBeginEdit, 5, 0}));
    EXPECT_EQ(f.host.calls.back(), (HostCallRecord{HostCallRecord::kEndEdit, 5, 0}));
    for (std::size_t i = 1; i + 1 < f.host.calls.size(); ++i)
        EXPECT_EQ(f.host.calls[i].kind, HostCallRecord::kAutomate);
    EXPECT_FLOAT_EQ(f.views().ratioDisplay->getValue(), 0.25f);
}

TEST_F(EditorParameters, TheMovedControlIsUpdatedBeforeTheHostHearsAndIsMarkedDirty) {
    f.host.set(6, 0.0f);
    f.views().attackKnob->setDirty(false);
    f.views().attackKnob->setValue(0.6f);
    f.editor->valueChanged(f.views().attackKnob);
    EXPECT_EQ(f.host.calls.back(), (HostCallRecord{HostCallRecord::kAutomate, 6, 0.6f}));
    EXPECT_EQ(f.views().attackDisplay->getValue(), 0.6f);
    EXPECT_TRUE(f.views().attackKnob->isDirty());
}

TEST_F(EditorParameters, ControlsWithoutAParameterTagAreNotReported) {
    f.editor->valueChanged(f.views().aboutTrigger);
    f.editor->valueChanged(f.views().grMeter);
    f.editor->valueChanged(nullptr);
    f.editor->beginEdit(777);
    f.editor->endEdit(-1);
    EXPECT_TRUE(f.host.calls.empty());
}

TEST_F(EditorParameters, TheKnobModeIsOneSettingForEveryInstance) {
    EditorFixture other;
    EXPECT_EQ(other.editor->getKnobMode(), kLinearMode);
    f.editor->setKnobMode(kCircularMode);
    EXPECT_EQ(other.editor->getKnobMode(), kCircularMode);
    f.editor->setKnobMode(kLinearMode);
    EXPECT_EQ(other.editor->getKnobMode(), kLinearMode);
}

TEST_F(EditorParameters, InCircularModeAKnobFollowsTheAngle) {
    f.editor->setKnobMode(kCircularMode);
    f.host.set(5, 0.0f);
    // Straight above the ratio knob's centre (296, 83) is the middle of the range.
    f.frame().onMouseDown({296, 60}, kButtonLeft);
    f.frame().onMouseUp({296, 60}, kButtonLeft);
    f.editor->setKnobMode(kLinearMode);
    EXPECT_NEAR(f.host.getParameter(5), 0.5f, 0.01f);
}
