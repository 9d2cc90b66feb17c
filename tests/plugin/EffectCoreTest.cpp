// The effect without any plug-in format around it: what it tells its host about the user's
// changes, what its listener hears, and the meter snapshot.
#include "EffectSignals.h"
#include "plugin/CompressorEffect.h"
#include "plugin/FactoryPrograms.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <thread>
#include <vector>

namespace {

// Records the effect's messages in order, as "automate 5 0.5", "begin 5", "end 5".
class RecordingHost final : public EffectHost {
  public:
    void automate(int index, float value) override {
        calls.push_back("automate " + std::to_string(index) + " " + std::to_string(value));
    }
    void beginEdit(int index) override { calls.push_back("begin " + std::to_string(index)); }
    void endEdit(int index) override { calls.push_back("end " + std::to_string(index)); }

    std::vector<std::string> calls;
};

TEST(EffectHostMessages, AUserDragReachesTheHostAsOneGestureAndHostChangesDoNot) {
    RecordingHost host;
    CompressorEffect effect(&host);
    effect.beginEdit(kRatio);
    effect.setParameterAutomated(kRatio, 0.25f);
    effect.setParameterAutomated(kRatio, 0.5f);
    effect.endEdit(kRatio);
    // Changes from the host side and the exclusion's secondary changes are not echoed back.
    effect.setParameter(kDelta, 1.0f);
    effect.setProgram(2);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"begin 5", "automate 5 0.250000",
                                                    "automate 5 0.500000", "end 5"}));
    EXPECT_EQ(effect.getParameter(kRatio), 0.21f); // program 2 was edited by nobody
    effect.setProgram(0);
    EXPECT_EQ(effect.getParameter(kRatio), 0.5f); // the drag edited program 0
}

TEST(EffectHostMessages, SwitchesExcludeOneAnotherButOnlyTheUsersChangeIsAutomated) {
    RecordingHost host;
    CompressorEffect effect(&host);
    effect.setParameter(kBypass, 1.0f);
    effect.setParameterAutomated(kDelta, 1.0f);
    EXPECT_EQ(effect.getParameter(kBypass), 0.0f);
    EXPECT_TRUE(effect.deltaOn());
    EXPECT_EQ(host.calls, std::vector<std::string>{"automate 15 1.000000"});
}

// Writes down what it hears as "5=0.5" and "program 2", each parameter with the value the
// effect held for it at that moment, so a call made before the value was stored shows.
class RecordingListener final : public EffectListener {
  public:
    explicit RecordingListener(CompressorEffect& effect) : effect_(effect) {}
    void parameterChanged(int index, float value) override {
        heard.push_back(std::to_string(index) + "=" + std::to_string(value));
        heldWhenTold.push_back(effect_.getParameter(index));
        threads.push_back(std::this_thread::get_id());
    }
    void programChanged(int program) override {
        heard.push_back("program " + std::to_string(program));
    }

    std::vector<std::string> heard;
    std::vector<float> heldWhenTold;
    std::vector<std::thread::id> threads;

  private:
    CompressorEffect& effect_;
};

TEST(EffectListener, HearsEachStoredValueIncludingTheSwitchesTurnedOff) {
    CompressorEffect effect(nullptr);
    RecordingListener listener(effect);
    effect.setParameter(kBypass, 1.0f);
    effect.setListener(&listener);
    effect.setParameter(kDelta, 1.0f);
    effect.setParameter(kThreshold, std::numeric_limits<float>::quiet_NaN());
    effect.setParameter(kUnused20, 0.7f);
    effect.setParameter(kNumParameters, 0.5f); // no parameter: nothing to hear
    effect.setParameter(-1, 0.5f);
    // Delta turns Bypass and the preview off, each heard of before Delta itself; NaN is
    // stored as 0.
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"16=0.000000", "17=0.000000", "15=1.000000",
                                                        "3=0.000000", "20=0.700000"}));
    EXPECT_EQ(listener.heldWhenTold, (std::vector<float>{0.0f, 0.0f, 1.0f, 0.0f, 0.7f}));

    effect.setListener(nullptr);
    effect.setParameter(kKnee, 0.2f);
    EXPECT_EQ(listener.heard.size(), 5u);
}

TEST(EffectListener, HearsAProgramAfterAllItsValues) {
    CompressorEffect effect(nullptr);
    RecordingListener listener(effect);
    effect.setListener(&listener);
    effect.setProgram(3);
    ASSERT_EQ(listener.heard.size(), static_cast<std::size_t>(kNumParameters + 1));
    EXPECT_EQ(listener.heard.back(), "program 3");
    for (int i = 0; i < kNumParameters; ++i)
        EXPECT_EQ(listener.heldWhenTold[std::size_t(i)], factoryProgramValue(3, i)) << i;
    effect.setProgram(7); // no such program
    EXPECT_EQ(listener.heard.size(), static_cast<std::size_t>(kNumParameters + 1));
}

TEST(EffectListener, HearsAChangeOnTheThreadThatMadeIt) {
    CompressorEffect effect(nullptr);
    RecordingListener listener(effect);
    effect.setListener(&listener);
    std::thread::id changer;
    std::thread([&] {
        changer = std::this_thread::get_id();
        effect.setParameter(kRatio, 0.4f);
    }).join();
    EXPECT_EQ(listener.threads, std::vector<std::thread::id>{changer});
}

TEST(MeterSnapshot, FollowsTheCompressorAndClearsOnSuspend) {
    CompressorEffect effect(nullptr);
    const MeterSnapshot idle = effect.meters();
    EXPECT_EQ(idle.gain, 1.0f);
    EXPECT_EQ(idle.levelA, -70.0f);
    EXPECT_EQ(idle.levelB, -70.0f);
    EXPECT_FALSE(idle.processingActive);

    effect.setProgram(1); // threshold -40 dB, 2:1
    effect.resume();
    processInBlocks(effect, bursts<double>(4410 * 4, 44100.0), 512);
    const MeterSnapshot loud = effect.meters();
    EXPECT_TRUE(loud.processingActive);
    EXPECT_LT(loud.gain, 0.5f); // the last burst is 39 dB over the threshold
    EXPECT_GT(loud.levelA, -40.0f);
    EXPECT_LT(loud.levelA, 0.0f);
    EXPECT_GT(loud.levelB, -40.0f);

    effect.suspend();
    const MeterSnapshot after = effect.meters();
    EXPECT_EQ(after.gain, 1.0f);
    EXPECT_EQ(after.levelA, -70.0f);
    EXPECT_EQ(after.levelB, -70.0f);
    EXPECT_FALSE(after.processingActive);
}

} // namespace
