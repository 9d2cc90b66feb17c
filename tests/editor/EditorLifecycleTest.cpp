// Opening, closing and idling in every order a host may use, with bad windows and keys.

#include "EditorTestSupport.h"

#include "formats/common/SystemEditor.h"
#include "views/CAnimKnob.h"

#include <gtest/gtest.h>

TEST(EditorLifecycle, TheWindowIs690By270) {
    EditorFixture f;
    EXPECT_EQ(f.editor->width(), 690);
    EXPECT_EQ(f.editor->height(), 270);
}

TEST(EditorLifecycle, RequestsBeforeOpenAndAfterCloseAreHarmless) {
    EditorFixture f;
    f.editor->idle();
    f.editor->close();
    EXPECT_FALSE(f.editor->onKeyDown(0, 12, 0));
    EXPECT_FALSE(f.editor->onKeyUp(0, 12, 0));
    f.editor->setParameter(3, 0.5f);
    EXPECT_FALSE(f.editor->isOpen());

    ASSERT_TRUE(f.open());
    f.editor->close();
    f.editor->close();
    f.idleAfter(100);
    EXPECT_FALSE(f.editor->onKeyDown(0, 12, 0));
    f.host.set(3, 0.5f);
    EXPECT_FALSE(f.editor->isOpen());
    EXPECT_TRUE(f.host.calls.empty());
}

TEST(EditorLifecycle, ANullParentFailsAndLeavesTheEditorClosed) {
    EditorFixture f;
    EXPECT_FALSE(f.editor->open(nullptr));
    EXPECT_FALSE(f.editor->isOpen());
    f.editor->idle();
    EXPECT_TRUE(f.open());
}

TEST(EditorLifecycle, OpeningTwiceGivesOneFreshFrame) {
    EditorFixture f;
    ASSERT_TRUE(f.open());
    CFrame* first = f.editor->getFrame();
    (void)first;
    f.host.set(5, 0.7f);
    ASSERT_TRUE(f.open());
    EXPECT_EQ(f.frame().getNbViews(), 35);
    EXPECT_EQ(f.views().ratioKnob->getValue(), 0.7f);
    // A failed second open leaves it closed rather than half open.
    EXPECT_FALSE(f.editor->open(nullptr));
    EXPECT_FALSE(f.editor->isOpen());
}

TEST(EditorLifecycle, OpenCloseOpenShowsTheSameValues) {
    EditorFixture f;
    for (int i = 0; i < 19; ++i)
        f.host.set(i, 0.03f * float(i));
    ASSERT_TRUE(f.open());
    std::vector<float> first;
    for (std::size_t i = 0; i < 19; ++i)
        first.push_back(f.views().parameterControl[i]->getValue());
    f.editor->close();
    ASSERT_TRUE(f.open());
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(f.views().parameterControl[i]->getValue(), first[i]);
}

TEST(EditorLifecycle, KeysReachTheFocusedControlAndUnknownCodesAreRefused) {
    EditorFixture f;
    f.host.set(5, 0.5f);
    ASSERT_TRUE(f.open());
    EXPECT_FALSE(f.editor->onKeyDown(0, 12, 0)); // nothing focused yet
    f.click({296, 83});                          // a click focuses the ratio knob
    f.host.calls.clear();
    EXPECT_TRUE(f.editor->onKeyDown(0, 12, 0)); // up arrow: one wheel step
    EXPECT_FLOAT_EQ(f.host.getParameter(5), 0.6f);
    EXPECT_EQ(f.host.automationCount(5), 1);
    for (int code : {0, 1, 15, 99, 255, 256, -1, 100000}) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(f.editor->onKeyDown('x', code, 0));
    }
    EXPECT_FALSE(f.editor->onKeyUp(0, 12, 0));
    EXPECT_FLOAT_EQ(f.host.getParameter(5), 0.6f);
}

TEST(EditorLifecycle, TheEffectsPlatformEditorRefusesABadParentWindow) {
    FakeEditorHost host;
    auto editor = createSystemEditor(host);
    EXPECT_EQ(editor->width(), 690);
    EXPECT_FALSE(editor->open(nullptr));
    editor->idle();
    editor->close();
    EXPECT_FALSE(editor->onKeyDown(0, 11, 0));
}
