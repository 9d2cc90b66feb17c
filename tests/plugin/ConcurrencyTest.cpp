// Hosts call from several threads at once: audio on one, parameters, programs and readouts on
// others. Run under ThreadSanitizer (the tsan preset) this finds unsynchronised shared state.
#include "EffectTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace {

using namespace vst2;

TEST(Concurrency, AudioParametersProgramsAndReadoutsAtOnce) {
    EffectHarness h(false);
    CompressorEffect& effect = h.effect;
    effect.resume();
    std::atomic<bool> stop{false};
    std::atomic<bool> outputFinite{true};

    std::thread audio([&] {
        std::vector<float> left(64, 0.25f), right(64, -0.25f), outLeft(64), outRight(64);
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        for (int blocks = 0; !stop.load() || blocks < 8; ++blocks) {
            effect.process(inputs, outputs, 64);
            for (int i = 0; i < 64; ++i)
                if (!std::isfinite(outLeft[i]) || !std::isfinite(outRight[i])) outputFinite = false;
        }
    });
    std::thread automation([&] {
        for (int round = 0; round < 2000; ++round) {
            effect.setParameter(kBypass, round % 2 ? 1.0f : 0.0f);
            effect.setParameter(kDelta, round % 3 ? 0.0f : 1.0f);
            effect.setParameter(kThreshold, static_cast<float>(round % 100) / 100.0f);
        }
    });
    std::thread programs([&] {
        for (int round = 0; round < 200; ++round)
            h.dispatch(effSetProgram, 0, round % 7);
    });
    std::thread readouts([&] {
        float sum = 0.0f;
        for (int round = 0; round < 2000; ++round)
            for (int index : {int{kThreshold}, 501, 502, 503, 506})
                sum += effect.getParameter(index);
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
}

} // namespace
