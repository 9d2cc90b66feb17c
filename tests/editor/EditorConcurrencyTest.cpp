// Host automation from another thread while the editor idles on its own: the views are
// only touched on the editor's thread (ThreadSanitizer checks this under the tsan preset).

#include "EditorTestSupport.h"

#include "views/CAnimKnob.h"
#include "views/COnOffButton.h"
#include "views/CParamDisplay.h"
#include "widgets/CTransferFunction.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(EditorConcurrency, ChangesFromAnotherThreadAreAppliedAtTheNextIdle) {
    EditorFixture f;
    ASSERT_TRUE(f.open());
    std::thread automation([&] { f.host.set(5, 0.7f); });
    automation.join();
    // Not yet: the change waits for the editor's thread.
    EXPECT_EQ(f.views().ratioKnob->getValue(), 0.0f);
    f.idleAfter(1);
    EXPECT_EQ(f.views().ratioKnob->getValue(), 0.7f);
    EXPECT_EQ(f.views().ratioDisplay->getValue(), 0.7f);
    EXPECT_NEAR(f.views().transferGraph->inverseRatio, 1.0 / 2.75, 1e-7);
}

TEST(EditorConcurrency, AHostScaleFromAnotherThreadIsAppliedAtTheNextIdle) {
    EditorFixture f;
    ASSERT_TRUE(f.open());
    std::thread host([&] { f.editor->setHostScale(2.0); });
    host.join();
    // Nothing changes until the editor's own thread idles: the views, and the size they have.
    EXPECT_EQ(f.editor->width(), 690);
    EXPECT_EQ(f.frame().getScale(), 1.0);
    f.idleAfter(1);
    EXPECT_EQ(f.frame().getScale(), 2.0);
    EXPECT_EQ(f.editor->width(), 1380);
    EXPECT_EQ(f.editor->height(), 540);
}

TEST(EditorConcurrency, HammeringSetParameterWhileTheEditorIdles) {
    EditorFixture f;
    ASSERT_TRUE(f.open());
    std::atomic<bool> done{false};
    std::atomic<int> idles{0};
    constexpr int kRounds = 2000;
    constexpr int kMinimumIdles = 50;
    std::thread automation([&] {
        // Keeps going until the editor has idled often enough to meet it in the middle.
        for (int round = 0; round < kRounds || idles.load() < kMinimumIdles; ++round)
            for (int index = 0; index < 21; ++index)
                f.host.set(index, float(round % 2));
        for (int index = 0; index < 21; ++index)
            f.host.set(index, 0.25f);
        done.store(true);
    });
    while (!done.load()) {
        f.idleAfter(7);
        idles.fetch_add(1);
    }
    automation.join();
    f.idleAfter(7);
    for (int index = 0; index < 19; ++index) {
        SCOPED_TRACE(index);
        EXPECT_EQ(f.views().parameterControl[std::size_t(index)]->getValue(), 0.25f);
    }
    EXPECT_EQ(f.views().bypassButton->getValue(), 0.25f);
    EXPECT_DOUBLE_EQ(f.views().transferGraph->thresholdDb, -12.5);
}

TEST(EditorConcurrency, OpenAndCloseWhileAnotherThreadAutomates) {
    EditorFixture f;
    std::atomic<bool> stop{false};
    std::thread automation([&] {
        for (int i = 0; !stop.load(); ++i)
            f.host.set(i % 19, float(i % 3) * 0.5f);
    });
    for (int cycle = 0; cycle < 50; ++cycle) {
        ASSERT_TRUE(f.open());
        f.idleAfter(25);
        f.editor->close();
        f.idleAfter(25);
    }
    stop.store(true);
    automation.join();
    EXPECT_FALSE(f.editor->isOpen());
}
