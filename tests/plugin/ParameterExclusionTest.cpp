// The one parameter path: store, switch Delta/Bypass/SC Preview off against one another, tell
// the editor, and tell the host only about the change the user made.
#include "EffectTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace vst2;

std::vector<Event> events(std::initializer_list<Event> list) {
    return list;
}

TEST(ParameterExclusion, DeltaSwitchesBypassThenPreviewOffBeforeTheEditorHearsOfDelta) {
    EffectHarness h;
    h.effect.setParameter(kBypass, 1.0f);
    h.log.clear();
    h.effect.setParameter(kDelta, 1.0f);
    EXPECT_EQ(h.log, events({editorEvent(kBypass, 0.0f), editorEvent(kScPreview, 0.0f),
                             editorEvent(kDelta, 1.0f)}));
    EXPECT_TRUE(h.effect.deltaOn());
    EXPECT_FALSE(h.effect.bypassOn());
    EXPECT_EQ(h.effect.getParameter(kBypass), 0.0f);
}

TEST(ParameterExclusion, BypassSwitchesPreviewThenDeltaOff) {
    EffectHarness h;
    h.effect.setParameter(kDelta, 1.0f);
    h.log.clear();
    h.effect.setParameter(kBypass, 1.0f);
    EXPECT_EQ(h.log, events({editorEvent(kScPreview, 0.0f), editorEvent(kDelta, 0.0f),
                             editorEvent(kBypass, 1.0f)}));
    EXPECT_TRUE(h.effect.bypassOn());
    EXPECT_FALSE(h.effect.deltaOn());
    EXPECT_EQ(h.effect.getParameter(kDelta), 0.0f);
    EXPECT_EQ(h.effect.getParameter(kScPreview), 0.0f);
}

TEST(ParameterExclusion, PreviewFromAboveHalfSwitchesBypassThenDeltaOff) {
    EffectHarness h;
    h.effect.setParameter(kBypass, 1.0f);
    h.log.clear();
    h.effect.setParameter(kScPreview, 0.6f);
    EXPECT_EQ(h.log, events({editorEvent(kBypass, 0.0f), editorEvent(kDelta, 0.0f),
                             editorEvent(kScPreview, 0.6f)}));
    EXPECT_FALSE(h.effect.bypassOn());
    EXPECT_EQ(h.effect.getParameter(kScPreview), 0.6f);
    EXPECT_EQ(h.text(effGetParamDisplay, kScPreview), "off");
}

TEST(ParameterExclusion, ValuesThatAreNotOnCascadeNothing) {
    struct Case {
        int index;
        float value;
    };
    for (const Case& c : {Case{kBypass, 0.99f}, Case{kDelta, 0.999f}, Case{kScPreview, 0.5f},
                          Case{kDelta, 0.0f}, Case{kBypass, 0.0f}, Case{kScPreview, 0.0f}}) {
        SCOPED_TRACE(testing::Message() << c.index << " = " << c.value);
        EffectHarness h;
        h.log.clear();
        h.effect.setParameter(c.index, c.value);
        EXPECT_EQ(h.log, events({editorEvent(c.index, c.value)}));
        EXPECT_EQ(h.effect.getParameter(c.index), c.value);
        EXPECT_FALSE(h.effect.bypassOn());
        EXPECT_FALSE(h.effect.deltaOn());
    }
}

TEST(ParameterExclusion, UnusedSlotsOnlyStoreAndTellTheEditor) {
    EffectHarness h;
    h.log.clear();
    h.effect.setParameter(kUnused19, 0.3f);
    h.effect.setParameter(kUnused20, 0.7f);
    EXPECT_EQ(h.log, events({editorEvent(kUnused19, 0.3f), editorEvent(kUnused20, 0.7f)}));
    EXPECT_EQ(h.effect.getParameter(kUnused19), 0.3f);
    EXPECT_EQ(h.effect.getParameter(kUnused20), 0.7f);
}

TEST(EditorChanges, AutomationReachesTheHostAfterTheEffectAppliedTheChange) {
    EffectHarness h;
    h.effect.setParameter(kDelta, 1.0f);
    h.log.clear();
    h.effect.setParameterAutomated(kBypass, 1.0f);
    // The cascaded changes are the effect's own and are not reported to the host.
    EXPECT_EQ(h.log,
              events({editorEvent(kScPreview, 0.0f), editorEvent(kDelta, 0.0f),
                      editorEvent(kBypass, 1.0f), hostEvent(audioMasterAutomate, kBypass, 1.0f)}));
}

TEST(EditorChanges, GesturesAreFramedForTheHost) {
    EffectHarness h;
    h.log.clear();
    h.effect.beginEdit(kRatio);
    h.effect.setParameterAutomated(kRatio, 0.5f);
    h.effect.endEdit(kRatio);
    EXPECT_EQ(h.log,
              events({hostEvent(audioMasterBeginEdit, kRatio, 0.0f), editorEvent(kRatio, 0.5f),
                      hostEvent(audioMasterAutomate, kRatio, 0.5f),
                      hostEvent(audioMasterEndEdit, kRatio, 0.0f)}));
}

TEST(EditorChanges, WithoutHostCallbackTheChangeIsStillApplied) {
    CompressorEffect effect(nullptr);
    effect.beginEdit(kKnee);
    effect.setParameterAutomated(kKnee, 0.75f);
    effect.endEdit(kKnee);
    EXPECT_EQ(effect.getParameter(kKnee), 0.75f);
}

} // namespace
