#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

template <typename Sample> struct Stereo {
    std::vector<Sample> left, right;

    explicit Stereo(std::size_t frames = 0) : left(frames), right(frames) {}
    Stereo(std::vector<Sample> l, std::vector<Sample> r)
        : left(std::move(l)), right(std::move(r)) {}
    std::size_t frames() const { return left.size(); }
    // The two channels from frame `start` on, as a host hands them to a plug-in.
    std::array<Sample*, 2> from(std::size_t start) {
        return {left.data() + start, right.data() + start};
    }
};

// A stereo test signal that makes every factory program work: a 110 Hz tone in bursts that
// rise from -40 dBFS to -1 dBFS every 100 ms, with a little seeded noise, the right channel a
// slightly different mix so that mid and side both carry signal. The program fingerprints were
// measured with it, so its numbers stay as they are.
template <typename Sample> Stereo<Sample> bursts(int frames, double sampleRateHz) {
    Stereo<Sample> s(static_cast<std::size_t>(frames));
    uint32_t seed = 20250101u;
    const int burst = static_cast<int>(0.1 * sampleRateHz);
    for (int n = 0; n < frames; ++n) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 0.02;
        const int burstIndex = n / burst;
        const double levelDb = -40.0 + 39.0 * (burstIndex % 4) / 3.0;
        const double decay = std::exp(-static_cast<double>(n % burst) / (0.03 * sampleRateHz));
        const double tone = std::sin(2.0 * 3.141592653589793 * 110.0 * n / sampleRateHz);
        const double amplitude = std::pow(10.0, levelDb / 20.0) * decay;
        s.left[static_cast<std::size_t>(n)] = static_cast<Sample>(amplitude * tone + noise);
        s.right[static_cast<std::size_t>(n)] =
            static_cast<Sample>(amplitude * (0.8 * tone) - noise);
    }
    return s;
}
