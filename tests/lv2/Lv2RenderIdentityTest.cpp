// The LV2 edition sounds exactly like the VST2 edition: every factory program (program 0 as the
// port defaults, the others as presets), at the common rates, in place and not, in odd host
// blocks, with the host's bypass switched on and off on the way.
#include "HostedPlugin.h"
#include "Lv2TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct Stereo {
    std::vector<float> left, right;
};

// Tone bursts from -40 to -1 dBFS every 100 ms with seeded noise, the right channel a
// different mix: loud enough for every program to compress, quiet enough to release.
Stereo bursts(int frames, double rateHz) {
    Stereo s{std::vector<float>(static_cast<std::size_t>(frames)),
             std::vector<float>(static_cast<std::size_t>(frames))};
    uint32_t seed = 7u;
    const int burst = static_cast<int>(0.1 * rateHz);
    for (int n = 0; n < frames; ++n) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 0.02;
        const double level = std::pow(10.0, (-40.0 + 13.0 * ((n / burst) % 4)) / 20.0);
        const double decay = std::exp(-static_cast<double>(n % burst) / (0.03 * rateHz));
        const double tone = std::sin(2.0 * 3.141592653589793 * 110.0 * n / rateHz);
        s.left[static_cast<std::size_t>(n)] = static_cast<float>(level * decay * tone + noise);
        s.right[static_cast<std::size_t>(n)] =
            static_cast<float>(level * decay * 0.8 * tone - noise);
    }
    return s;
}

// Host block lengths, odd and uneven, repeated.
constexpr int kBlocks[] = {511, 1, 127, 1023, 3, 333, 64};

struct Schedule {
    bool inPlace = false;
    // The host's bypass goes on at the first frame and off again at the second (-1: never).
    int bypassOnAt = -1;
    int bypassOffAt = -1;
};

template <typename RunBlock, typename SetBypass>
Stereo renderInBlocks(const Stereo& in, const Schedule& schedule, RunBlock runBlock,
                      SetBypass setBypass) {
    Stereo out{std::vector<float>(in.left.size(), 0.0f), std::vector<float>(in.left.size(), 0.0f)};
    Stereo work = in; // in-place runs overwrite their input
    const int frames = static_cast<int>(in.left.size());
    for (int start = 0, b = 0; start < frames; ++b) {
        if (start >= schedule.bypassOnAt && schedule.bypassOnAt >= 0 &&
            (schedule.bypassOffAt < 0 || start < schedule.bypassOffAt))
            setBypass(true);
        else
            setBypass(false);
        const int count = std::min(kBlocks[b % 7], frames - start);
        const std::size_t at = static_cast<std::size_t>(start);
        float* inputs[2] = {work.left.data() + at, work.right.data() + at};
        float* separate[2] = {out.left.data() + at, out.right.data() + at};
        runBlock(inputs, schedule.inPlace ? inputs : separate, count);
        start += count;
    }
    return schedule.inPlace ? work : out;
}

Stereo renderVst2(int program, float rateHz, const Stereo& in, const Schedule& schedule) {
    HostedPlugin plugin(QVL_MODULE_PATH, HostOptions{vst2::kVstVersion, false});
    EXPECT_TRUE(plugin.isLoaded()) << plugin.error();
    plugin.setSampleRate(rateHz);
    plugin.setBlockSize(1023);
    plugin.setProgram(program);
    plugin.resume();
    bool bypassed = false;
    return renderInBlocks(
        in, schedule,
        [&](float** inputs, float** outputs, int count) { plugin.process(inputs, outputs, count); },
        [&](bool on) {
            if (on != bypassed) plugin.setParameter(16, on ? 1.0f : 0.0f);
            bypassed = on;
        });
}

Stereo renderLv2(const std::string& preset, float rateHz, const Stereo& in,
                 const Schedule& schedule) {
    const auto plugin = loadLv2(rateHz);
    EXPECT_TRUE(plugin->isLoaded()) << plugin->error();
    if (!preset.empty()) {
        EXPECT_TRUE(plugin->applyPreset(preset)) << preset;
    }
    plugin->activate();
    return renderInBlocks(
        in, schedule,
        [&](float** inputs, float** outputs, int count) {
            plugin->run(inputs, outputs, static_cast<uint32_t>(count));
        },
        [&](bool on) { plugin->setControl("enabled", on ? 0.0f : 1.0f); });
}

::testing::AssertionResult sameSamples(const Stereo& a, const Stereo& b) {
    for (const auto& [x, y] : {std::pair{&a.left, &b.left}, std::pair{&a.right, &b.right}}) {
        if (x->size() != y->size()) return ::testing::AssertionFailure() << "lengths differ";
        for (std::size_t n = 0; n < x->size(); ++n)
            if (std::memcmp(&(*x)[n], &(*y)[n], sizeof(float)) != 0)
                return ::testing::AssertionFailure()
                       << "first difference at frame " << n << ": " << (*x)[n] << " vs " << (*y)[n];
    }
    return ::testing::AssertionSuccess();
}

class Lv2RenderIdentity : public testing::TestWithParam<float> {};

TEST_P(Lv2RenderIdentity, EveryProgramInPlaceAndNotWithTheHostBypass) {
    const float rateHz = GetParam();
    const int frames = static_cast<int>(0.6 * rateHz);
    const Stereo in = bursts(frames, rateHz);
    HostedPlugin names(QVL_MODULE_PATH);
    ASSERT_TRUE(names.isLoaded()) << names.error();
    const Schedule schedules[] = {
        {false, -1, -1},
        {true, -1, -1},
        {true, frames / 4, frames / 2},
        {false, frames / 3, -1},
    };
    for (int program = 0; program < 7; ++program) {
        // Program 0 is what a fresh instance holds: the port defaults, no preset.
        const std::string preset = program == 0 ? "" : names.programNameIndexed(program);
        for (const Schedule& schedule : schedules) {
            SCOPED_TRACE(testing::Message()
                         << "program " << program << " in place " << schedule.inPlace
                         << " bypass from " << schedule.bypassOnAt);
            const Stereo vst2 = renderVst2(program, rateHz, in, schedule);
            const Stereo lv2 = renderLv2(preset, rateHz, in, schedule);
            EXPECT_TRUE(sameSamples(vst2, lv2));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, Lv2RenderIdentity, testing::Values(44100.0f, 48000.0f, 96000.0f));

TEST(Lv2RenderIdentityPresets, ProgramZeroAsPresetEqualsTheDefaults) {
    HostedPlugin names(QVL_MODULE_PATH);
    ASSERT_TRUE(names.isLoaded());
    const Stereo in = bursts(20000, 44100.0);
    EXPECT_TRUE(sameSamples(renderLv2("", 44100.0f, in, {}),
                            renderLv2(names.programNameIndexed(0), 44100.0f, in, {})));
    // And a preset is really applied: another program sounds different.
    EXPECT_FALSE(sameSamples(renderLv2("", 44100.0f, in, {}),
                             renderLv2(names.programNameIndexed(2), 44100.0f, in, {})));
}

} // namespace
