#pragma once

#include "HostedPlugin.h"
#include "HostedVst3Plugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

// The IDs a host finds in the parameter list besides the VST 2 indices.
constexpr Steinberg::Vst::ParamID kHostBypassId = 100;
constexpr Steinberg::Vst::ParamID kProgramId = 101;

inline std::unique_ptr<HostedVst3Plugin> loadVst3() {
    auto plugin = std::make_unique<HostedVst3Plugin>(QVL_VST3_BUNDLE);
    EXPECT_TRUE(plugin->isLoaded()) << plugin->error();
    return plugin;
}

inline std::unique_ptr<HostedPlugin> loadVst2() {
    auto plugin =
        std::make_unique<HostedPlugin>(QVL_MODULE_PATH, HostOptions{vst2::kVstVersion, false});
    EXPECT_TRUE(plugin->isLoaded()) << plugin->error();
    return plugin;
}

template <typename Sample> struct Stereo {
    std::vector<Sample> left, right;
    explicit Stereo(std::size_t frames = 0) : left(frames), right(frames) {}
    std::size_t frames() const { return left.size(); }
};

// Tone bursts from -40 to -1 dBFS every 100 ms with seeded noise, the right channel a different
// mix: loud enough for every program to compress, quiet enough to release.
template <typename Sample> Stereo<Sample> bursts(int frames, double rateHz) {
    Stereo<Sample> s(static_cast<std::size_t>(frames));
    uint32_t seed = 7u;
    const int burst = static_cast<int>(0.1 * rateHz);
    for (int n = 0; n < frames; ++n) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 0.02;
        const double level = std::pow(10.0, (-40.0 + 13.0 * ((n / burst) % 4)) / 20.0);
        const double decay = std::exp(-static_cast<double>(n % burst) / (0.03 * rateHz));
        const double tone = std::sin(2.0 * 3.141592653589793 * 110.0 * n / rateHz);
        s.left[static_cast<std::size_t>(n)] = static_cast<Sample>(level * decay * tone + noise);
        s.right[static_cast<std::size_t>(n)] =
            static_cast<Sample>(level * decay * 0.8 * tone - noise);
    }
    return s;
}

template <typename Sample>
::testing::AssertionResult sameSamples(const Stereo<Sample>& a, const Stereo<Sample>& b) {
    for (const auto& [x, y] : {std::pair{&a.left, &b.left}, std::pair{&a.right, &b.right}}) {
        if (x->size() != y->size()) return ::testing::AssertionFailure() << "lengths differ";
        for (std::size_t n = 0; n < x->size(); ++n)
            if (std::memcmp(&(*x)[n], &(*y)[n], sizeof(Sample)) != 0)
                return ::testing::AssertionFailure()
                       << "first difference at frame " << n << ": " << (*x)[n] << " vs " << (*y)[n];
    }
    return ::testing::AssertionSuccess();
}

template <typename Sample> constexpr Steinberg::int32 sampleSize() {
    return sizeof(Sample) == sizeof(float) ? Steinberg::Vst::kSample32 : Steinberg::Vst::kSample64;
}

// One block of the VST 3 edition over frames [start, start + count) of `in` into `out`.
template <typename Sample>
Steinberg::tresult processVst3(HostedVst3Plugin& plugin, Stereo<Sample>& in, Stereo<Sample>& out,
                               std::size_t start, int count,
                               const std::vector<ParameterPoint>& changes = {}) {
    Sample* inputs[2] = {in.left.data() + start, in.right.data() + start};
    Sample* outputs[2] = {out.left.data() + start, out.right.data() + start};
    return plugin.process(inputs, outputs, count, changes);
}

template <typename Sample>
void processVst2(HostedPlugin& plugin, Stereo<Sample>& in, Stereo<Sample>& out, std::size_t start,
                 int count) {
    Sample* inputs[2] = {in.left.data() + start, in.right.data() + start};
    Sample* outputs[2] = {out.left.data() + start, out.right.data() + start};
    plugin.process(inputs, outputs, count);
}
