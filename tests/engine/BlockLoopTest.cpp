#include "EngineTestSupport.h"
#include "engine/DenormalGuard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#if defined(__SSE2__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace {

using namespace enginetest;

// A compressing configuration that exercises every part of the core.
std::unique_ptr<Rig> busyRig(float rateHz) {
    auto rig = std::make_unique<Rig>(rateHz);
    DynamicsEngine& e = rig->engine;
    e.setThreshold(-30.0);
    e.setKnee(4.0);
    e.setRatio(-4.0);
    e.setDetection(5.0);
    e.setAttack(1.0);
    e.setRelease(30.0);
    e.setReleaseSlow(300.0);
    e.setScFilterType(ScFilterType::threePerOctave);
    e.setScFilterFreq(120.0);
    e.setHfHarmonics(true);
    e.setHfHarmonicsAmount(0.5);
    e.setLfHarmonics(true);
    e.setLfHarmonicsAmount(0.3);
    e.setMixDry(0.1);
    e.setMakeUpGain(2.0);
    return rig;
}

template <typename Sample> std::vector<Sample> convert(const std::vector<double>& x) {
    return std::vector<Sample>(x.begin(), x.end());
}

template <typename Sample> class BlockLoopTyped : public ::testing::Test {};
using SampleTypes = ::testing::Types<float, double>;
TYPED_TEST_SUITE(BlockLoopTyped, SampleTypes);

TYPED_TEST(BlockLoopTyped, BypassGivesTheInputExactly151Late) {
    auto rig = busyRig(44100.0f);
    rig->bypassOn = true;
    const auto left = convert<TypeParam>(randomSignal(2000, 0.9, 1));
    const auto right = convert<TypeParam>(randomSignal(2000, 0.9, 2));
    std::vector<TypeParam> outL, outR;
    rig->process(left, right, outL, outR);
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(outL[i], i < kLatency ? TypeParam(0) : left[i - kLatency]) << i;
        ASSERT_EQ(outR[i], i < kLatency ? TypeParam(0) : right[i - kLatency]) << i;
    }
    EXPECT_LT(rig->meters.gain.load(), 1.0); // the engine kept running underneath
}

TYPED_TEST(BlockLoopTyped, InPlaceEqualsSeparateArrays) {
    auto separate = busyRig(44100.0f);
    auto inPlace = busyRig(44100.0f);
    const auto left = convert<TypeParam>(randomSignal(3000, 0.9, 3));
    const auto right = convert<TypeParam>(sine(3000, 0.7, 330.0, 44100.0));
    std::vector<TypeParam> outL, outR;
    separate->process(left, right, outL, outR);
    std::vector<TypeParam> bufL = left, bufR = right;
    inPlace->process(bufL, bufR, bufL, bufR, 0, 3000);
    EXPECT_EQ(bufL, outL);
    EXPECT_EQ(bufR, outR);
}

TYPED_TEST(BlockLoopTyped, OddBlockSizesGiveTheSameOutputAsOneBlock) {
    for (const float rate : {44100.0f, 96000.0f}) {
        auto whole = busyRig(rate);
        auto pieces = busyRig(rate);
        const int n = 4000;
        const auto left = convert<TypeParam>(randomSignal(n, 0.9, 4));
        const auto right = convert<TypeParam>(randomSignal(n, 0.5, 5));
        std::vector<TypeParam> outL, outR, pieceL(n), pieceR(n);
        whole->process(left, right, outL, outR);
        const int sizes[] = {1, 7, 511, 3, 64, 13, 1000};
        int offset = 0;
        for (int k = 0; offset < n; ++k) {
            const int count = std::min(sizes[k % 7], n - offset);
            pieces->process(left, right, pieceL, pieceR, offset, count);
            offset += count;
        }
        EXPECT_EQ(pieceL, outL) << rate;
        EXPECT_EQ(pieceR, outR) << rate;
    }
}

TYPED_TEST(BlockLoopTyped, NonFiniteInputCountsAsSilence) {
    auto poisoned = busyRig(44100.0f);
    auto silent = busyRig(44100.0f);
    poisoned->bypassOn = silent->bypassOn = true;
    const TypeParam nan = std::numeric_limits<TypeParam>::quiet_NaN();
    const TypeParam inf = std::numeric_limits<TypeParam>::infinity();
    std::vector<TypeParam> bad(300), zeros(300, TypeParam(0)), outL, outR, refL, refR;
    for (size_t i = 0; i < bad.size(); ++i)
        bad[i] = i % 3 == 0 ? nan : (i % 3 == 1 ? inf : -inf);
    poisoned->process(bad, bad, outL, outR);
    silent->process(zeros, zeros, refL, refR);
    EXPECT_EQ(outL, refL);
    poisoned->bypassOn = silent->bypassOn = false;
    const auto music = convert<TypeParam>(randomSignal(3000, 0.8, 6));
    poisoned->process(music, music, outL, outR);
    silent->process(music, music, refL, refR);
    EXPECT_EQ(outL, refL);
    for (const TypeParam v : outL)
        ASSERT_TRUE(std::isfinite(v));
}

TEST(BlockLoop, PublishesTheMetersOfTheLastSample) {
    auto rig = busyRig(96000.0f);
    const auto in = sine(5000, 0.9, 200.0, 96000.0);
    std::vector<double> outL, outR;
    rig->process(in, in, outL, outR);
    const double gain = rig->meters.gain.load();
    EXPECT_GT(gain, 0.0);
    EXPECT_LT(gain, 0.5); // about 25 dB over the threshold at 6:1
    EXPECT_GT(rig->meters.levelA.load(), -40.0);
    EXPECT_LT(rig->meters.levelA.load(), 0.0);

    // Replaying the same frames by hand ends on the same three values.
    auto manual = busyRig(96000.0f);
    double g = 0.0, a = 0.0, b = 0.0;
    for (int i = 0; i < 5000; ++i) {
        double l = in[i], r = in[i];
        manual->engine.processFrame(l, r, g, a, b);
    }
    EXPECT_EQ(g, gain);
    EXPECT_EQ(a, rig->meters.levelA.load());
    EXPECT_EQ(b, rig->meters.levelB.load());
}

TEST(BlockLoop, ZeroOrNegativeCountChangesNothing) {
    auto rig = busyRig(44100.0f);
    rig->meters.gain.store(0.123);
    std::vector<double> in(16, 0.5), outL(16, 7.0), outR(16, 7.0);
    rig->process(in, in, outL, outR, 0, 0);
    rig->process(in, in, outL, outR, 0, -5);
    EXPECT_EQ(rig->meters.gain.load(), 0.123);
    EXPECT_EQ(outL, std::vector<double>(16, 7.0));
}

TEST(BlockLoop, MissingChannelArraysProcessNothing) {
    auto rig = busyRig(44100.0f);
    std::vector<double> in(16, 0.5), out(16, 7.0);
    const double* inputs[2] = {in.data(), nullptr};
    double* outputs[2] = {out.data(), out.data()};
    processBlock<double>(rig->engine, rig->bypassDelay, false, 44100.0f, rig->meters, inputs,
                         outputs, 16);
    processBlock<double>(rig->engine, rig->bypassDelay, false, 44100.0f, rig->meters, nullptr,
                         outputs, 16);
    EXPECT_EQ(out, std::vector<double>(16, 7.0));
}

TEST(BlockLoop, SeventyKilohertzRunsTheFrameWithoutOversampling) {
    // 69999 Hz oversamples, 70000 Hz does not: compare against the frames run by hand.
    for (const float rate : {69999.0f, 70000.0f}) {
        auto rig = busyRig(rate);
        auto manual = busyRig(rate);
        const auto in = randomSignal(500, 0.5, 8);
        std::vector<double> outL, outR;
        rig->process(in, in, outL, outR);
        for (int i = 0; i < 500; ++i) {
            double l = in[i], r = in[i], g, a, b;
            if (rate < 70000.0f)
                manual->engine.processFrameOversampled(l, r, g, a, b);
            else
                manual->engine.processFrame(l, r, g, a, b);
            ASSERT_EQ(outL[i], l) << rate << " " << i;
        }
    }
}

#if defined(__SSE2__) || defined(__x86_64__)
TEST(DenormalGuard, SetsFlushingInsideAndRestoresTheWord) {
    const unsigned entry = _mm_getcsr();
    _mm_setcsr(entry & ~0x8040u);
    {
        const DenormalGuard guard;
        EXPECT_EQ(_mm_getcsr() & 0x8040u, 0x8040u);
        volatile double tiny = 1e-310;
        EXPECT_EQ(tiny * 1.0 + 0.0, 0.0); // denormal input reads as zero
    }
    EXPECT_EQ(_mm_getcsr() & 0x8040u, 0u);
    _mm_setcsr(entry);
}

TEST(BlockLoop, RestoresTheControlWordAfterABlock) {
    const unsigned entry = _mm_getcsr();
    // Flushing off, flushing on, rounding toward zero; no status flags raised on entry.
    for (const unsigned word : {0x1F80u, 0x9FC0u, 0x7F80u}) {
        auto rig = busyRig(44100.0f);
        const auto in = randomSignal(256, 0.5, 9);
        std::vector<double> outL(256), outR(256);
        _mm_setcsr(word);
        rig->process(in, in, outL, outR, 0, 256);
        const unsigned after = _mm_getcsr();
        _mm_setcsr(entry);
        EXPECT_EQ(after, word);
    }
    _mm_setcsr(entry);
}
#endif

} // namespace
