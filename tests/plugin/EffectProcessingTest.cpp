// The effect's processing entries run the engine: programs change the sound, suspend starts
// over from silence, and the readouts follow the compressor.
#include "EffectSignals.h"
#include "EffectTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kBlock = 512;

StereoSignal renderProgram(int program, float sampleRateHz, const StereoSignal& in) {
    EffectHarness h(false);
    h.dispatch(vst2::effSetSampleRate, 0, 0, nullptr, sampleRateHz);
    h.dispatch(vst2::effSetProgram, 0, program);
    h.dispatch(vst2::effMainsChanged, 0, 1);
    return processInBlocks(h.effect, in, kBlock);
}

double rmsOfDifference(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> d(a.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        d[i] = a[i] - b[i];
    return rms(d);
}

// Programs 0 and 1 both leave this signal nearly as it is (0 dB threshold; full dry path with
// the compressed one at -60 dB), so "different" means more than -100 dB of difference.
TEST(EffectProcessing, EveryFactoryProgramSoundsDifferent) {
    const StereoSignal in = bursts<double>(22050, 44100.0);
    StereoSignal out[kNumPrograms];
    for (int p = 0; p < kNumPrograms; ++p)
        out[p] = renderProgram(p, 44100.0f, in);
    for (int a = 0; a < kNumPrograms; ++a)
        for (int b = a + 1; b < kNumPrograms; ++b)
            EXPECT_GT(rmsOfDifference(out[a].left, out[b].left), 1e-5 * rms(in.left))
                << "programs " << a << " and " << b;
}

TEST(EffectProcessing, AProgramChangeActsOnTheRunningSound) {
    const StereoSignal in = bursts<double>(8192, 44100.0);
    EffectHarness kept(false), changed(false);
    for (EffectHarness* h : {&kept, &changed})
        h->effect.resume();
    const StereoSignal first = processInBlocks(kept.effect, in, kBlock);
    EXPECT_EQ(processInBlocks(changed.effect, in, kBlock).left, first.left);

    changed.dispatch(vst2::effSetProgram, 0, 4); // "Mastering: Aggressive": +4.1 dB make-up
    const StereoSignal keptOut = processInBlocks(kept.effect, in, kBlock);
    const StereoSignal changedOut = processInBlocks(changed.effect, in, kBlock);
    EXPECT_GT(rmsOfDifference(keptOut.left, changedOut.left), 0.1 * rms(keptOut.left));
}

TEST(EffectProcessing, ReadoutsFollowTheCompressorAndSuspendClearsThem) {
    EffectHarness h(false);
    h.dispatch(vst2::effSetProgram, 0, 1); // "Upward Comp. Reset": threshold -40 dB, 2:1
    h.effect.resume();
    processInBlocks(h.effect, bursts<double>(4410 * 4, 44100.0), kBlock);
    // Last burst at -1 dBFS, 39 dB over the threshold: several dB of reduction.
    EXPECT_LT(h.plugin.getParameter(501), 0.5f);
    EXPECT_GT(h.plugin.getParameter(502), -40.0f);
    EXPECT_GT(h.plugin.getParameter(503), -40.0f);
    EXPECT_LT(h.plugin.getParameter(503), 0.0f);

    h.dispatch(vst2::effMainsChanged, 0, 0);
    EXPECT_EQ(h.plugin.getParameter(501), 1.0f);
    EXPECT_EQ(h.plugin.getParameter(502), -70.0f);
    EXPECT_EQ(h.plugin.getParameter(503), -70.0f);
}

TEST(EffectProcessing, SidechainPreviewReadsNoReduction) {
    EffectHarness h(false);
    h.dispatch(vst2::effSetProgram, 0, 1);
    h.effect.setParameter(kScPreview, 1.0f);
    processInBlocks(h.effect, bursts<double>(4410 * 4, 44100.0), kBlock);
    EXPECT_EQ(h.plugin.getParameter(501), 1.0f);
    EXPECT_EQ(h.plugin.getParameter(502), -70.0f);
    EXPECT_EQ(h.plugin.getParameter(503), -70.0f);
}

// Only the output noise runs on through a suspend, at about -130 dB.
TEST(EffectProcessing, AfterSuspendProcessingStartsFromSilence) {
    const StereoSignal loud = bursts<double>(4410 * 4, 44100.0);
    const StereoSignal next = bursts<double>(4096, 44100.0);
    EffectHarness used(false), fresh(false);
    for (EffectHarness* h : {&used, &fresh})
        h->dispatch(vst2::effSetProgram, 0, 3);
    processInBlocks(used.effect, loud, kBlock);
    used.dispatch(vst2::effMainsChanged, 0, 0);
    used.dispatch(vst2::effMainsChanged, 0, 1);
    fresh.dispatch(vst2::effMainsChanged, 0, 1);
    const StereoSignal a = processInBlocks(used.effect, next, kBlock);
    const StereoSignal b = processInBlocks(fresh.effect, next, kBlock);
    for (std::size_t i = 0; i < a.left.size(); ++i) {
        ASSERT_NEAR(a.left[i], b.left[i], 1e-6) << i;
        ASSERT_NEAR(a.right[i], b.right[i], 1e-6) << i;
    }
}

TEST(EffectProcessing, SingleAndDoublePrecisionAgree) {
    const StereoSignal in = bursts<double>(4096, 44100.0);
    EffectHarness d(false), s(false);
    const StereoSignal outD = processInBlocks(d.effect, in, kBlock);
    std::vector<float> left(in.left.begin(), in.left.end()),
        right(in.right.begin(), in.right.end());
    float* channels[2] = {left.data(), right.data()};
    s.effect.process(channels, channels, static_cast<int32_t>(left.size())); // in place
    for (std::size_t i = 0; i < left.size(); ++i)
        ASSERT_NEAR(left[i], outD.left[i], 1e-6) << i;
}

} // namespace
