// The effect without any plug-in format around it: what it tells its host about the editor's
// changes, and the meter snapshot that a format without readout indices reads.
#include "EffectSignals.h"
#include "plugin/CompressorEffect.h"

#include <gtest/gtest.h>

#include <string>
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

TEST(EffectHostMessages, AnEditorDragReachesTheHostAsOneGestureAndHostChangesDoNot) {
    RecordingHost host;
    CompressorEffect effect(&host, {});
    EditorHost& editorSide = effect;
    editorSide.beginEdit(kRatio);
    editorSide.setParameterAutomated(kRatio, 0.25f);
    editorSide.setParameterAutomated(kRatio, 0.5f);
    editorSide.endEdit(kRatio);
    // Changes from the host side and the exclusion's secondary changes are not echoed back.
    effect.setParameter(kDelta, 1.0f);
    effect.setProgram(2);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"begin 5", "automate 5 0.250000",
                                                    "automate 5 0.500000", "end 5"}));
    EXPECT_EQ(effect.getParameter(kRatio), 0.21f); // program 2 was edited by nobody
    effect.setProgram(0);
    EXPECT_EQ(effect.getParameter(kRatio), 0.5f); // the drag edited program 0
}

TEST(EffectHostMessages, EditorSwitchesExcludeOneAnotherButOnlyTheUsersChangeIsAutomated) {
    RecordingHost host;
    CompressorEffect effect(&host, {});
    effect.setParameter(kBypass, 1.0f);
    static_cast<EditorHost&>(effect).setParameterAutomated(kDelta, 1.0f);
    EXPECT_EQ(effect.getParameter(kBypass), 0.0f);
    EXPECT_TRUE(effect.deltaOn());
    EXPECT_EQ(host.calls, std::vector<std::string>{"automate 15 1.000000"});
}

TEST(MeterSnapshot, FollowsTheCompressorAndClearsOnSuspend) {
    CompressorEffect effect(nullptr, {});
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
