// What the LV2 edition does with what a careless host may send: values outside a port's range
// or NaN, unconnected buffers, extreme sample rates and empty runs.
#include "Lv2TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr uint32_t kFrames = 6000;
constexpr uint32_t kBlock = 500;

// A -6 dBFS 220 Hz tone on both channels, loud enough for every setting to act on it.
std::vector<float> tone(uint32_t frames, double rateHz) {
    std::vector<float> x(frames);
    for (uint32_t n = 0; n < frames; ++n)
        x[n] = static_cast<float>(0.5 * std::sin(2.0 * 3.141592653589793 * 220.0 * n / rateHz));
    return x;
}

// Renders the tone in 500-frame runs; `beforeRun(block)` may change the host's buffers first.
std::vector<float> render(HostedLv2Plugin& plugin, const std::function<void(int)>& beforeRun,
                          double rateHz = 48000.0) {
    const std::vector<float> in = tone(kFrames, rateHz);
    std::vector<float> left(kFrames), right(kFrames);
    plugin.activate();
    for (uint32_t start = 0; start < kFrames; start += kBlock) {
        beforeRun(static_cast<int>(start / kBlock));
        const float* inputs[2] = {in.data() + start, in.data() + start};
        float* outputs[2] = {left.data() + start, right.data() + start};
        plugin.run(inputs, outputs, kBlock);
    }
    return left;
}

std::vector<float> renderWith(const char* symbol, float value) {
    const auto plugin = loadLv2(48000.0);
    EXPECT_TRUE(plugin->isLoaded()) << plugin->error();
    plugin->setControl(symbol, value);
    return render(*plugin, [](int) {});
}

bool same(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

TEST(Lv2BadInput, ValuesOutsideARangeActAsTheNearestEnd) {
    EXPECT_TRUE(same(renderWith("threshold", -1000.0f), renderWith("threshold", -50.0f)));
    EXPECT_TRUE(same(renderWith("threshold", 30.0f), renderWith("threshold", 0.0f)));
    EXPECT_TRUE(same(renderWith("make_up_gain", 1e30f), renderWith("make_up_gain", 12.0f)));
    EXPECT_TRUE(same(renderWith("ratio", -INFINITY), renderWith("ratio", 1.0f)));
    EXPECT_TRUE(same(renderWith("ratio", INFINITY), renderWith("ratio", 8.0f)));
    // A switch takes the nearer of off and on, as in every edition that reads plain values.
    EXPECT_TRUE(same(renderWith("hf_harmonics", 0.3f), renderWith("hf_harmonics", 0.0f)));
    EXPECT_TRUE(same(renderWith("hf_harmonics", 0.5f), renderWith("hf_harmonics", 1.0f)));
    EXPECT_TRUE(same(renderWith("hf_harmonics", 7.0f), renderWith("hf_harmonics", 1.0f)));
    EXPECT_FALSE(same(renderWith("hf_harmonics", 0.0f), renderWith("hf_harmonics", 1.0f)));
    // So do the switches that replace what is heard, and the host's own enable switch.
    for (const char* listening : {"bypass", "delta", "sc_preview"}) {
        EXPECT_TRUE(same(renderWith(listening, 0.3f), renderWith(listening, 0.0f))) << listening;
        EXPECT_TRUE(same(renderWith(listening, 0.6f), renderWith(listening, 1.0f))) << listening;
        EXPECT_FALSE(same(renderWith(listening, 0.0f), renderWith(listening, 1.0f))) << listening;
    }
    EXPECT_TRUE(same(renderWith("enabled", 0.3f), renderWith("enabled", 0.0f)));
    EXPECT_TRUE(same(renderWith("enabled", 0.6f), renderWith("enabled", 1.0f)));
    EXPECT_FALSE(same(renderWith("enabled", 0.0f), renderWith("enabled", 1.0f)));
    // The clamped values are still different settings.
    EXPECT_FALSE(same(renderWith("threshold", -50.0f), renderWith("threshold", 0.0f)));
}

// Zone lists take whole positions; anything else counts as the nearest entry, NaN as none sent.
TEST(Lv2BadInput, ValuesOffAZoneListActAsTheNearestEntry) {
    const auto renderZone = [](const char* symbol, float value) {
        const auto plugin = loadLv2(48000.0);
        plugin->setControl("threshold", -30.0f); // so that detection and ratio are heard
        plugin->setControl(symbol, value);
        return render(*plugin, [](int) {});
    };
    EXPECT_TRUE(same(renderZone("detection_zone", 7.0f), renderZone("detection_zone", 2.0f)));
    EXPECT_TRUE(same(renderZone("detection_zone", -3.0f), renderZone("detection_zone", 0.0f)));
    EXPECT_TRUE(same(renderZone("ratio_zone", 1.4f), renderZone("ratio_zone", 1.0f)));
    EXPECT_TRUE(same(renderZone("ratio_zone", NAN), renderZone("ratio_zone", 0.0f)));
    EXPECT_FALSE(same(renderZone("detection_zone", 0.0f), renderZone("detection_zone", 2.0f)));
    EXPECT_FALSE(same(renderZone("ratio_zone", 1.0f), renderZone("ratio_zone", 0.0f)));
}

TEST(Lv2BadInput, NaNKeepsTheValueBefore) {
    const auto reference = loadLv2(48000.0);
    reference->setControl("threshold", -30.0f);
    const std::vector<float> expected = render(*reference, [](int) {});

    const auto plugin = loadLv2(48000.0);
    plugin->setControl("threshold", -30.0f);
    const std::vector<float> got = render(*plugin, [&](int block) {
        if (block >= 3) plugin->setControl("threshold", NAN);
    });
    EXPECT_TRUE(same(got, expected));

    // NaN as the very first value keeps the port's default.
    EXPECT_TRUE(same(renderWith("knee", NAN), renderWith("knee", 3.2f)));
}

TEST(Lv2BadInput, EmptyRunsChangeNothing) {
    const auto reference = loadLv2(48000.0);
    const std::vector<float> expected = render(*reference, [](int) {});
    const auto plugin = loadLv2(48000.0);
    float nothing[1] = {};
    const float* inputs[2] = {nothing, nothing};
    float* outputs[2] = {nothing, nothing};
    const std::vector<float> got = render(*plugin, [&](int) { plugin->run(inputs, outputs, 0); });
    EXPECT_TRUE(same(got, expected));
}

TEST(Lv2BadInput, UnconnectedBuffers) {
    // An unconnected control keeps the value it had.
    const auto reference = loadLv2(48000.0);
    const std::vector<float> expected = render(*reference, [](int) {});
    const auto plugin = loadLv2(48000.0);
    const uint32_t threshold = static_cast<uint32_t>(plugin->portIndex("threshold"));
    plugin->disconnectControl(threshold);
    plugin->control(threshold) = -50.0f;
    EXPECT_TRUE(same(render(*plugin, [](int) {}), expected));

    // Unconnected meters and latency are not written; the sound is the same.
    const auto quiet = loadLv2(48000.0);
    for (const char* output : {"latency", "meter_gain", "meter_level_a", "meter_level_b"})
        quiet->disconnectControl(static_cast<uint32_t>(quiet->portIndex(output)));
    EXPECT_TRUE(same(render(*quiet, [](int) {}), expected));

    // A missing audio buffer: connected outputs get silence and nothing else happens.
    const auto audio = loadLv2(48000.0);
    audio->activate();
    std::vector<float> in = tone(kBlock, 48000.0), left(kBlock, 9.0f), right(kBlock, 9.0f);
    const float* missingLeft[2] = {nullptr, in.data()};
    float* outputs[2] = {left.data(), right.data()};
    audio->run(missingLeft, outputs, kBlock);
    EXPECT_EQ(std::count(left.begin(), left.end(), 0.0f), static_cast<long>(kBlock));
    EXPECT_EQ(std::count(right.begin(), right.end(), 0.0f), static_cast<long>(kBlock));
    float* oneOutput[2] = {left.data(), nullptr};
    const float* both[2] = {in.data(), in.data()};
    audio->run(both, oneOutput, kBlock);
    EXPECT_EQ(std::count(left.begin(), left.end(), 0.0f), static_cast<long>(kBlock));
}

TEST(Lv2BadInput, RatesFrom8To768KilohertzProcessAndReportTheLatency) {
    for (double rateHz : {8000.0, 11025.0, 192000.0, 384000.0, 768000.0}) {
        SCOPED_TRACE(rateHz);
        const auto plugin = loadLv2(rateHz);
        ASSERT_TRUE(plugin->isLoaded()) << plugin->error();
        plugin->setControl("threshold", -40.0f);
        const std::vector<float> out = render(
            *plugin, [](int) {}, rateHz);
        EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float x) { return std::isfinite(x); }));
        EXPECT_GT(*std::max_element(out.begin(), out.end()), 0.01f);
        EXPECT_LT(plugin->control("meter_gain"), 1.0f); // it compresses
        EXPECT_EQ(plugin->latency(), 151);
    }
    // No rate at all is refused at instantiation.
    for (double rateHz : {0.0, -48000.0, static_cast<double>(NAN)}) {
        const auto plugin = loadLv2(rateHz);
        EXPECT_FALSE(plugin->isLoaded()) << rateHz;
    }
}

} // namespace
