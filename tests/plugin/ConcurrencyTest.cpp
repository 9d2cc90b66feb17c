// Hosts call from several threads at once: audio on one, parameters, programs and readouts on
// others. Labelled `concurrency`, so the ThreadSanitizer build (tsan preset) runs it.
#include "EffectTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace {

using namespace vst2;

TEST(Concurrency, AudioEveryParameterProgramsAndReadoutsAtOnce) {
    EffectHarness h(false);
    CompressorEffect& effect = h.effect;
    effect.resume();
    std::atomic<bool> stop{false};
    std::atomic<bool> outputFinite{true};
    // The other threads keep going until the audio thread has run a while, so they overlap.
    std::atomic<int> audioBlocks{0};
    const auto overlapped = [&audioBlocks](int round, int minimumRounds) {
        return round >= minimumRounds && audioBlocks.load() >= 100;
    };

    std::thread audio([&] {
        std::vector<float> left(64), right(64), outLeft(64), outRight(64);
        std::vector<double> leftD(64), rightD(64);
        for (int i = 0; i < 64; ++i) {
            left[i] = std::sin(0.05f * static_cast<float>(i));
            right[i] = -0.5f * left[i];
            leftD[i] = left[i];
            rightD[i] = right[i];
        }
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        double* inputsD[2] = {leftD.data(), rightD.data()};
        for (int blocks = 0; !stop.load() || blocks < 8; ++blocks) {
            effect.process(inputs, outputs, 64);
            effect.process(inputsD, inputsD, 64); // in place; the signal stays bounded
            for (int i = 0; i < 64; ++i)
                if (!std::isfinite(outLeft[i]) || !std::isfinite(outRight[i]) ||
                    !std::isfinite(leftD[i]))
                    outputFinite = false;
            for (int i = 0; i < 64; ++i)
                leftD[i] = left[i], rightD[i] = right[i];
            audioBlocks.fetch_add(1);
        }
    });
    std::thread automation([&] {
        for (int round = 0; !overlapped(round, 300); ++round)
            for (int index = 0; index < kNumParameters; ++index)
                effect.setParameter(index,
                                    static_cast<float>((round * 7 + index * 3) % 11) / 10.0f);
    });
    std::thread programs([&] {
        for (int round = 0; !overlapped(round, 100); ++round) {
            h.dispatch(effSetProgram, 0, round % 7);
            if (round % 10 == 0)
                h.dispatch(effSetSampleRate, 0, 0, nullptr, round % 20 ? 48000.0f : 96000.0f);
            if (round % 25 == 0) h.dispatch(effMainsChanged, 0, round % 50 ? 1 : 0);
        }
    });
    std::thread readouts([&] {
        float sum = 0.0f;
        for (int round = 0; !overlapped(round, 2000); ++round) {
            for (int index = 500; index <= 506; ++index)
                sum += effect.getParameter(index);
            sum += effect.getParameter(round % kNumParameters);
        }
        EXPECT_TRUE(std::isfinite(sum));
    });

    automation.join();
    programs.join();
    readouts.join();
    stop.store(true);
    audio.join();

    EXPECT_TRUE(outputFinite.load());
    // Once the threads are done, one more change sets the switches consistently again.
    effect.setParameter(kBypass, 1.0f);
    EXPECT_TRUE(effect.bypassOn());
    EXPECT_FALSE(effect.deltaOn());
    EXPECT_EQ(effect.getParameter(kDelta), 0.0f);
    EXPECT_FALSE(effect.engine().settings().deltaOn);
    EXPECT_FALSE(effect.engine().settings().scPreviewOn);
}

} // namespace
