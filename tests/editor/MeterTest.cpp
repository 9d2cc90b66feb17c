// Meter ticks: throttling, hold and level ballistics, inactive states, the scale factor,
// hold resets, the release lamps, and meter state kept across close and open.

#include "EditorTestSupport.h"

#include "editor/MeterBallistics.h"
#include "views/CAnimKnob.h"
#include "views/CMovieBitmap.h"
#include "widgets/CCompMeter.h"
#include "widgets/LevelMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

namespace {

// The linear gain that reduces by `db`.
float gainFor(float db) {
    return static_cast<float>(std::pow(10.0, -db / 20.0));
}

class Meters : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(f.open());
        f.host.setProcessingActive(true);
    }
    void engine(float reductionDb, float levelADb, float levelBDb) {
        f.host.setMeterLevels(gainFor(reductionDb), levelADb, levelBDb);
    }
    float hold() { return f.editor->meterState().grHoldDb; }
    float shownA() { return f.views().scMeter->getValue(); }
    float shownB() { return f.views().scMeter->secondLevelDb; }
    EditorFixture f;
};

} // namespace

TEST_F(Meters, ATickNeedsMoreThanTwentyMillisecondsAfterThePreviousOne) {
    engine(3.0f, -20.0f, -30.0f);
    f.idleAfter(21);
    EXPECT_NEAR(shownA(), -20.0f, 1e-4);
    engine(6.0f, -10.0f, -10.0f);
    f.idleAfter(10);
    f.idleAfter(10); // 20 ms after the tick: still no update
    EXPECT_NEAR(shownA(), -20.0f, 1e-4);
    EXPECT_NEAR(hold(), 3.0f, 1e-4);
    f.idleAfter(1);
    EXPECT_NEAR(shownA(), -10.0f, 1e-4);
    EXPECT_NEAR(hold(), 6.0f, 1e-4);
}

TEST_F(Meters, IdleBetweenTicksStillLetsTheFrameRedraw) {
    f.idleAfter(30);
    const int before = f.presents;
    f.views().ratioKnob->setDirty(true);
    f.idleAfter(1);
    EXPECT_EQ(f.presents, before + 1);
}

TEST_F(Meters, EveryTickRedrawsTheReductionMeterEvenWhenNothingMoved) {
    engine(3.0f, -20.0f, -20.0f);
    f.idleAfter(30);
    for (int tick = 0; tick < 3; ++tick) {
        const int before = f.presents;
        f.idleAfter(5); // between ticks: nothing to show
        EXPECT_EQ(f.presents, before);
        f.idleAfter(25);
        EXPECT_EQ(f.presents, before + 1);
        EXPECT_EQ(f.frame().getInvalidArea(), CRect{});
    }
}

TEST_F(Meters, TheHoldFallsOneDbPerSecondAndTheLevelsTwelve) {
    engine(6.0f, -20.0f, -20.0f);
    f.idleAfter(30);
    EXPECT_NEAR(hold(), 6.0f, 1e-4);
    engine(0.0f, -60.0f, -60.0f);
    f.idleAfter(1000);
    EXPECT_NEAR(hold(), 5.0f, 1e-4);
    EXPECT_NEAR(shownA(), -32.0f, 1e-4);
    EXPECT_NEAR(shownB(), -32.0f, 1e-4);
    // Falling never goes below the engine's level.
    f.idleAfter(10000);
    EXPECT_NEAR(shownA(), -60.0f, 1e-4);
    EXPECT_NEAR(hold(), 0.0f, 1e-4);
}

TEST_F(Meters, ALevelAtTheFloorStaysWhileTheEngineIsLower) {
    engine(0.0f, -90.0f, -90.0f);
    f.idleAfter(30);
    EXPECT_EQ(shownA(), -70.0f); // starts at the floor and does not follow below it
    engine(0.0f, -60.0f, -60.0f);
    f.idleAfter(30);
    EXPECT_EQ(shownA(), -60.0f);
    engine(0.0f, -95.0f, -95.0f);
    f.idleAfter(1000);
    EXPECT_NEAR(shownA(), -72.0f, 1e-4); // one full step may pass the floor
    f.idleAfter(1000);
    EXPECT_NEAR(shownA(), -72.0f, 1e-4);
    EXPECT_NEAR(shownB(), -72.0f, 1e-4);
}

TEST_F(Meters, SidechainPreviewOrSuspendEmptiesTheMetersButNotTheReductionBar) {
    engine(3.0f, -10.0f, -12.0f);
    f.idleAfter(30);
    f.host.set(17, 1.0f);
    f.idleAfter(30);
    EXPECT_EQ(hold(), 0.0f);
    EXPECT_EQ(shownA(), -70.0f);
    EXPECT_EQ(shownB(), -70.0f);
    EXPECT_NEAR(f.views().grMeter->getValue(), 12.0f, 1e-4);
    EXPECT_EQ(f.views().grMeter->holdValue, 0.0);

    f.host.set(17, 0.0f);
    f.idleAfter(30);
    EXPECT_NEAR(shownA(), -10.0f, 1e-4);
    f.host.setProcessingActive(false);
    f.idleAfter(30);
    EXPECT_EQ(hold(), 0.0f);
    EXPECT_EQ(shownA(), -70.0f);
}

TEST_F(Meters, TheScaleSetsTheReductionMetersPixelsPerDb) {
    const std::pair<float, float> scales[] = {
        {0.0f, 12.0f}, {0.25f, 6.0f}, {0.5f, 3.0f}, {0.75f, 1.5f}, {1.0f, 1.5f}};
    engine(3.0f, -20.0f, -20.0f);
    for (const auto& [scale, shown] : scales) {
        SCOPED_TRACE(scale);
        f.host.set(18, scale);
        f.idleAfter(30);
        EXPECT_NEAR(f.views().grMeter->getValue(), shown, 1e-4);
        EXPECT_NEAR(f.views().grMeter->holdValue, shown, 1e-4);
    }
}

TEST_F(Meters, ThresholdOrRatioChangesResetTheHoldAtOnce) {
    for (int index : {3, 5}) {
        SCOPED_TRACE(index);
        engine(6.0f, -20.0f, -20.0f);
        f.idleAfter(30);
        ASSERT_GT(hold(), 5.0f);
        f.host.set(index, 0.3f);
        EXPECT_EQ(hold(), 0.0f);
    }
    engine(6.0f, -20.0f, -20.0f);
    f.idleAfter(30);
    f.host.set(4, 0.3f);
    EXPECT_GT(hold(), 5.0f);
}

TEST_F(Meters, ReleaseLampsFollowTheReductionAndTheDetectorLevels) {
    struct Case {
        float reductionDb, levelA, levelB, release, releaseSlow;
        bool left, right;
    };
    const Case cases[] = {
        {0.0f, -20, -10, 0.6f, 0.5f, false, false}, // no reduction: both dark
        {3.0f, -20, -30, 0.6f, 0.5f, true, false},  // fast release longer than slow
        {3.0f, -20, -10, 0.4f, 0.5f, true, false},  // second level above the first
        {3.0f, -20, -30, 0.4f, 0.5f, false, true},  {3.0f, -20, -20, 0.5f, 0.5f, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.reductionDb << " " << c.levelB << " " << c.release);
        f.host.set(7, c.release);
        f.host.set(8, c.releaseSlow);
        engine(c.reductionDb, c.levelA, c.levelB);
        f.idleAfter(30);
        EXPECT_EQ(f.views().releaseLampLeft->getValue(), c.left ? 1.0f : 0.0f);
        EXPECT_EQ(f.views().releaseLampRight->getValue(), c.right ? 1.0f : 0.0f);
    }
    // The lamps follow the reduction even while the meters are inactive.
    f.host.setProcessingActive(false);
    engine(3.0f, -20.0f, -30.0f);
    f.idleAfter(30);
    EXPECT_EQ(f.views().releaseLampRight->getValue(), 1.0f);
}

TEST_F(Meters, TheTickCounterMayWrap) {
    f.nowMs = 0xFFFFFFF0u;
    f.idleAfter(0);
    engine(2.0f, -30.0f, -30.0f);
    f.nowMs = 0x10u; // 32 ms later across the wrap
    f.editor->idle();
    EXPECT_NEAR(hold(), 2.0f, 1e-4);
}

TEST_F(Meters, CloseAndOpenContinueFromTheKeptState) {
    engine(6.0f, -20.0f, -25.0f);
    f.idleAfter(30);
    f.editor->close();
    f.idleAfter(30); // closed: nothing moves
    EXPECT_NEAR(hold(), 6.0f, 1e-4);
    ASSERT_TRUE(f.open());
    engine(0.0f, -60.0f, -60.0f);
    f.idleAfter(1000); // 1030 ms since the last tick
    EXPECT_NEAR(hold(), 6.0f - 1.03f, 1e-3);
    EXPECT_NEAR(shownA(), -20.0f - 12.36f, 1e-3);
}

TEST(MeterBallisticsRules, GainsOutsideTheNormalRangeGiveDefinedReductions) {
    EXPECT_NEAR(gainReductionDb(0.5f), 6.0206f, 1e-3);
    EXPECT_EQ(gainReductionDb(1.0f), 0.0f);
    EXPECT_LT(gainReductionDb(2.0f), 0.0f);
    EXPECT_EQ(gainReductionDb(0.0f), kMeterLimitDb);
    EXPECT_EQ(gainReductionDb(-1.0f), 0.0f);
    EXPECT_EQ(gainReductionDb(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    EXPECT_EQ(gainReductionDb(std::numeric_limits<float>::infinity()), -kMeterLimitDb);
}

TEST(MeterBallisticsRules, AnInfiniteLevelCannotFreezeTheDisplay) {
    MeterBallistics m;
    MeterReadings r;
    r.active = true;
    r.levelADb = std::numeric_limits<float>::infinity();
    r.levelBDb = std::numeric_limits<float>::quiet_NaN();
    m.update(r, 0.0f, 100);
    EXPECT_EQ(m.levelADisplayDb, kMeterLimitDb);
    EXPECT_EQ(m.levelBDisplayDb, -70.0f);
    r.levelADb = -20.0f;
    m.update(r, 0.0f, 1000);
    EXPECT_NEAR(m.levelADisplayDb, kMeterLimitDb - 12.0f, 1e-3);
}

TEST(MeterBallisticsRules, AnInfiniteReductionHoldStillFalls) {
    MeterBallistics m;
    MeterReadings r;
    r.active = true;
    m.update(r, gainReductionDb(0.0f), 30);
    m.update(r, 0.0f, 1000);
    EXPECT_NEAR(m.grHoldDb, kMeterLimitDb - 1.0f, 1e-3);
}

TEST_F(Meters, ButtonsKeepTheMetersMovingWithoutApplyingQueuedChanges) {
    engine(4.0f, -20.0f, -20.0f);
    f.nowMs += 30;
    // A queued change from another thread must wait for the next idle: a button that asks for
    // idle work in the middle of its click is about to report its own new value.
    std::thread([&] { f.host.set(5, 0.9f); }).join();
    f.editor->idleWhileTracking();
    EXPECT_NEAR(hold(), 4.0f, 1e-4);
    EXPECT_EQ(f.views().ratioKnob->getValue(), 0.0f);
    f.idleAfter(1);
    EXPECT_EQ(f.views().ratioKnob->getValue(), 0.9f);
}
