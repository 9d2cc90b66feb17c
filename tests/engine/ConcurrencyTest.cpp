#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

namespace {

using namespace enginetest;

// Calls every setter with values that sweep their whole range, as automation would.
void callEverySetter(DynamicsEngine& e, int step) {
    const double v = (step % 101) / 100.0;
    e.setDetection(step % 7 == 0 ? 600.0 : v * 60.0);
    e.setScFilterType(static_cast<ScFilterType>(step % 3));
    e.setScFilterFreq(30.0 + 270.0 * v);
    e.setThreshold(-50.0 * v);
    e.setKnee(20.0 * v);
    e.setRatio(1.0 - 5.0 * v);
    e.setAttack(0.1 + 500.0 * v * v * v);
    e.setRelease(0.1 + 2000.0 * v * v * v);
    e.setReleaseSlow(0.1 + 2000.0 * v);
    e.setMixDry(v);
    e.setMakeUpGain(0.001 + 4.0 * v);
    e.setHfHarmonics(step % 2 == 0);
    e.setLfHarmonics(step % 3 == 0);
    e.setHfHarmonicsAmount(v * v);
    e.setLfHarmonicsAmount(1.0 - v);
    e.setDelta(step % 5 == 0);
    e.setScPreview(step % 11 == 0);
    e.setScSource(step % 19 < 9 ? ScSource::internal : ScSource::external);
    if (step % 13 == 0) e.setSampleRate(step % 2 == 0 ? 44100.0 : 96000.0);
    if (step % 17 == 0) e.reset();
}

TEST(Concurrency, SettersOnAnotherThreadWhileProcessing) {
    auto rig = std::make_unique<Rig>(44100.0f);
    std::atomic<bool> stop{false};
    std::atomic<int> blocks{0};
    std::atomic<bool> allFinite{true};

    std::thread audio([&] {
        const auto in = randomSignal(256, 0.9, 12);
        const auto key = randomSignal(256, 0.9, 13);
        const double* keyChannels[2] = {key.data(), key.data()};
        std::vector<double> outL(256), outR(256);
        for (int block = 0; !stop.load(); ++block) {
            // The host's key bus comes and goes as well.
            rig->process(in, in, outL, outR, 0, 256, HostKey<double>{keyChannels, block % 3});
            for (const double v : outL)
                if (!std::isfinite(v)) allFinite.store(false);
            blocks.fetch_add(1);
        }
    });
    std::thread meterReader([&] {
        double sum = 0.0;
        while (!stop.load())
            sum += rig->meters.gain.load(std::memory_order_relaxed) + rig->meters.levelA.load();
        EXPECT_TRUE(std::isfinite(sum));
    });

    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    int step = 0;
    while (std::chrono::steady_clock::now() < until || blocks.load() < 20)
        callEverySetter(rig->engine, step++);
    stop.store(true);
    audio.join();
    meterReader.join();

    EXPECT_TRUE(allFinite.load());
    EXPECT_GT(step, 100);
}

} // namespace
