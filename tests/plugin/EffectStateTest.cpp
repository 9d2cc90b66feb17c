// The effect's own state: readouts, suspend and resume, latency, sample rate, editor
// forwarding, and the answers to bad input from a host.
#include "EffectSignals.h"
#include "EffectTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <limits>

namespace {

using namespace vst2;

std::array<float, kNumParameters> allValues(CompressorEffect& effect) {
    std::array<float, kNumParameters> values{};
    for (int i = 0; i < kNumParameters; ++i)
        values[static_cast<std::size_t>(i)] = effect.getParameter(i);
    return values;
}

// A readout as the host reads it, through the record's getParameter.
float hostReads(Vst2Plugin& plugin, int index) {
    return plugin.record()->getParameter(plugin.record(), index);
}

void expectIdleReadouts(Vst2Plugin& plugin, float processingActive) {
    EXPECT_EQ(hostReads(plugin, 500), 1.0f);
    EXPECT_EQ(hostReads(plugin, 501), 1.0f);
    EXPECT_EQ(hostReads(plugin, 502), -70.0f);
    EXPECT_EQ(hostReads(plugin, 503), -70.0f);
    EXPECT_EQ(hostReads(plugin, 504), 0.0f);
    EXPECT_EQ(hostReads(plugin, 505), 0.0f);
    EXPECT_EQ(hostReads(plugin, 506), processingActive);
}

TEST(EffectLifecycle, ReadoutsFollowResumeAndSuspend) {
    EffectHarness h;
    expectIdleReadouts(h.plugin, 0.0f);
    h.dispatch(effMainsChanged, 0, 1);
    expectIdleReadouts(h.plugin, 1.0f);
    h.dispatch(effMainsChanged, 0, 0);
    expectIdleReadouts(h.plugin, 0.0f);
}

TEST(EffectLifecycle, ReadoutsAreTheMetersAsTheCompressorLeftThem) {
    EffectHarness h(false);
    h.effect.setProgram(1); // threshold -40 dB, 2:1
    h.dispatch(effMainsChanged, 0, 1);
    processInBlocks(h.effect, bursts<double>(4410 * 4, 44100.0), 512);
    const MeterSnapshot loud = h.effect.meters();
    ASSERT_LT(loud.gain, 0.5f); // the last burst is 39 dB over the threshold
    EXPECT_EQ(hostReads(h.plugin, 501), loud.gain);
    EXPECT_EQ(hostReads(h.plugin, 502), loud.levelB);
    EXPECT_EQ(hostReads(h.plugin, 503), loud.levelA);
    EXPECT_EQ(hostReads(h.plugin, 506), 1.0f);
    // The readouts are the VST 2 module's own: the effect answers only its parameters.
    for (int index : {500, 501, 503, 506})
        EXPECT_EQ(h.effect.getParameter(index), 0.0f) << index;
}

TEST(EffectLifecycle, LatencyIsReportedFromTheFirstResumeOn) {
    EffectHarness h;
    EXPECT_EQ(h.plugin.record()->initialDelay, 0);
    h.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    EXPECT_EQ(h.plugin.record()->initialDelay, 0);
    h.dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(h.plugin.record()->initialDelay, 151);
    h.dispatch(effMainsChanged, 0, 0);
    EXPECT_EQ(h.plugin.record()->initialDelay, 151);
}

TEST(EffectLifecycle, ParametersSurviveSuspendAndResume) {
    EffectHarness h;
    h.effect.setParameter(kKnee, 0.9f);
    h.dispatch(effMainsChanged, 0, 1);
    h.dispatch(effMainsChanged, 0, 0);
    EXPECT_EQ(h.effect.getParameter(kKnee), 0.9f);
}

TEST(EffectLifecycle, SampleRateAndBlockSize) {
    EffectHarness h;
    EXPECT_EQ(h.effect.sampleRate(), 44100.0f);
    h.dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_EQ(h.dispatch(effSetBlockSize, 0, 512), 0);
    EXPECT_EQ(h.effect.sampleRate(), 96000.0f);
}

TEST(BadInput, UnusableSampleRatesKeepTheOldRate) {
    EffectHarness h;
    h.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    for (float rate :
         {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
          std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
        h.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        EXPECT_EQ(h.effect.sampleRate(), 48000.0f) << rate;
    }
}

TEST(BadInput, IndicesOutsideTheTableNeitherWriteNorRead) {
    EffectHarness h;
    const auto before = allValues(h.effect);
    h.log.clear();
    for (int index : {int{kNumParameters}, -1, 499, 500, 501, 506, 507, INT_MAX, INT_MIN})
        h.effect.setParameter(index, 0.123f);
    // The VST 2 module's slots end where the parameters only the newer editions list begin.
    for (int index :
         {kNumVst2Slots, int{kNumParameters}, -1, 499, 500, 501, 506, 507, INT_MAX, INT_MIN})
        h.plugin.record()->setParameter(h.plugin.record(), index, 0.456f);
    EXPECT_EQ(allValues(h.effect), before);
    EXPECT_TRUE(h.log.empty());
    expectIdleReadouts(h.plugin, 0.0f);
    for (int index : {int{kNumParameters}, -1, 499, 507, 1000, INT_MAX, INT_MIN})
        EXPECT_EQ(h.effect.getParameter(index), 0.0f) << index;
    EXPECT_EQ(h.plugin.record()->getParameter(h.plugin.record(), kNumVst2Slots), 0.0f);
}

TEST(BadInput, NonFiniteValuesAreStoredClampedAndNanAsZero) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float sent, stored;
    };
    for (const Case& c :
         {Case{std::numeric_limits<float>::quiet_NaN(), 0.0f}, Case{inf, 1.0f}, Case{-inf, 0.0f}}) {
        EffectHarness h;
        h.log.clear();
        h.effect.setParameter(kThreshold, c.sent);
        EXPECT_EQ(h.effect.getParameter(kThreshold), c.stored) << c.sent;
        EXPECT_EQ(h.log, std::vector<Event>{editorEvent(kThreshold, c.stored)});
    }
    // Finite values outside 0..1 stay as sent, as sessions saved them.
    EffectHarness h;
    h.effect.setParameter(kKnee, 1.5f);
    EXPECT_EQ(h.effect.getParameter(kKnee), 1.5f);
}

TEST(BadInput, InfiniteBypassIsAFullySwitchedBypass) {
    EffectHarness h;
    h.effect.setParameter(kBypass, std::numeric_limits<float>::infinity());
    EXPECT_TRUE(h.effect.bypassOn());
    EXPECT_EQ(h.effect.getParameter(kBypass), 1.0f);
}

TEST(BadInput, TextRequestsOutsideTheTableWriteNothing) {
    EffectHarness h;
    for (int opcode : {effGetParamName, effGetParamDisplay}) {
        for (int index : {21, -1, 500}) {
            char text[16] = "keep";
            h.dispatch(opcode, index, 0, text);
            EXPECT_STREQ(text, "keep") << opcode << " " << index;
        }
        EXPECT_EQ(h.dispatch(opcode, 0, 0, nullptr), 0);
    }
}

TEST(EditorForwarding, TheEditorIsAnnouncedAndSizedForTheHost) {
    EffectHarness h;
    EXPECT_TRUE(h.plugin.record()->flags & effFlagsHasEditor);
    ERect* rect = nullptr;
    EXPECT_EQ(h.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 270);
    EXPECT_EQ(rect->right, 690);
    EXPECT_EQ(h.dispatch(effEditGetRect, 0, 0, nullptr), 0);
}

TEST(EditorForwarding, WindowAndKeyRequestsReachTheEditor) {
    EffectHarness h;
    int parentWindow = 0;
    EXPECT_EQ(h.dispatch(effEditOpen, 0, 0, &parentWindow), 1);
    EXPECT_EQ(h.editor()->openedWith, &parentWindow);
    EXPECT_EQ(h.dispatch(effEditIdle), 1);
    EXPECT_EQ(h.editor()->idleCount, 1);
    EXPECT_EQ(h.dispatch(effEditKeyDown, 'a', 7, nullptr, 2.0f), 1);
    EXPECT_EQ(h.editor()->lastKey.character, 'a');
    EXPECT_EQ(h.editor()->lastKey.virtualKey, 7);
    EXPECT_EQ(h.editor()->lastKey.modifiers, 2);
    EXPECT_EQ(h.dispatch(effEditKeyUp, 'b', 8, nullptr, 1.0f), 0);
    EXPECT_EQ(h.editor()->lastKey.character, -'b');
    h.dispatch(effSetEditKnobMode, 0, 1);
    EXPECT_EQ(h.editor()->knobMode, 1);
    EXPECT_EQ(h.dispatch(effEditClose), 1);
    EXPECT_EQ(h.editor()->closeCount, 1);
}

TEST(EditorForwarding, ContentScaleRequestsReachTheEditorAndItsResizeReachesTheHost) {
    constexpr int32_t kPreS = fourCharacters('P', 'r', 'e', 'S');
    constexpr int32_t kAeCs = fourCharacters('A', 'e', 'C', 's');
    EffectHarness h;
    EXPECT_EQ(h.dispatch(effVendorSpecific, kPreS, kAeCs, nullptr, 1.5f), 1);
    // Other vendors' requests are not this one.
    EXPECT_EQ(h.dispatch(effVendorSpecific, kPreS, 0, nullptr, 2.0f), 0);
    EXPECT_EQ(h.dispatch(effVendorSpecific, 0, kAeCs, nullptr, 2.0f), 0);
    EXPECT_EQ(h.editor()->hostScales, std::vector<double>{1.5});

    h.log.clear();
    EXPECT_EQ(h.editor()->host.resizeEditorWindow(1035, 405), false); // the test host answers 0
    ASSERT_EQ(h.log.size(), 1u);
    EXPECT_EQ(h.log[0].opcodeOrZero, audioMasterSizeWindow);
    EXPECT_EQ(h.log[0].index, 1035);

    EffectHarness without(false);
    EXPECT_EQ(without.dispatch(effVendorSpecific, kPreS, kAeCs, nullptr, 2.0f), 0);
}

// An editor that hands a last change to its host while it is being destroyed, as a closing
// editor may, and records the changes it hears of.
class LastWordEditor final : public EffectEditor {
  public:
    LastWordEditor(EditorHost& host, std::vector<int>& heard) : host_(host), heard_(heard) {}
    ~LastWordEditor() override { host_.setParameterAutomated(kRatio, 0.3f); }

    int width() const override { return 1; }
    int height() const override { return 1; }
    bool open(void*) override { return true; }
    void close() override {}
    void idle() override {}
    bool onKeyDown(int, int, int) override { return false; }
    bool onKeyUp(int, int, int) override { return false; }
    void setKnobMode(int) override {}
    void setHostScale(double) override {}
    void setParameter(int index, float) override { heard_.push_back(index); }

  private:
    EditorHost& host_;
    std::vector<int>& heard_;
};

TEST(EditorForwarding, AnEditorBeingDestroyedHearsNoMoreButItsLastChangeIsKept) {
    struct NoHost final : EffectHost {
        void automate(int, float) override {}
        void beginEdit(int) override {}
        void endEdit(int) override {}
    } host;
    CompressorEffect effect(&host);
    std::vector<int> heard;
    {
        EditorBinding binding(effect, host, [&heard](EditorHost& editorHost) {
            return std::make_unique<LastWordEditor>(editorHost, heard);
        });
        effect.setParameter(kKnee, 0.5f);
    }
    EXPECT_EQ(heard, std::vector<int>{kKnee});
    EXPECT_EQ(effect.getParameter(kRatio), 0.3f);
    effect.setParameter(kKnee, 0.6f); // no listener left to reach
    EXPECT_EQ(heard, std::vector<int>{kKnee});
}

TEST(EditorForwarding, WithoutAnEditorEveryEditorRequestAnswersZero) {
    EffectHarness h(false);
    EXPECT_FALSE(h.plugin.record()->flags & effFlagsHasEditor);
    ERect sentinel{};
    ERect* rect = &sentinel;
    EXPECT_EQ(h.dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, &sentinel);
    for (int opcode :
         {effEditOpen, effEditClose, effEditIdle, effEditKeyDown, effEditKeyUp, effSetEditKnobMode})
        EXPECT_EQ(h.dispatch(opcode, 'a', 1), 0) << opcode;
}

} // namespace
