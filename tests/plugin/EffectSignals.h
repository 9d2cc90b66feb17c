#pragma once

#include "plugin/CompressorEffect.h"

#include <cmath>
#include <cstdint>
#include <vector>

// A stereo test signal that makes every factory program work: a 110 Hz tone in bursts that
// rise from -40 dBFS to -1 dBFS every 100 ms, with a little seeded noise, the right channel a
// slightly different mix so that mid and side both carry signal.
struct StereoSignal {
    std::vector<double> left, right;
};

inline StereoSignal burstSignal(int frames, double sampleRateHz) {
    StereoSignal s{std::vector<double>(static_cast<std::size_t>(frames)),
                   std::vector<double>(static_cast<std::size_t>(frames))};
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
        s.left[static_cast<std::size_t>(n)] = amplitude * tone + noise;
        s.right[static_cast<std::size_t>(n)] = amplitude * (0.8 * tone) - noise;
    }
    return s;
}

// Runs the signal through the effect in host blocks of `block` frames, double precision.
inline StereoSignal processInBlocks(CompressorEffect& effect, const StereoSignal& in, int block) {
    StereoSignal out{in.left, in.right};
    const int frames = static_cast<int>(in.left.size());
    for (int start = 0; start < frames; start += block) {
        const int count = frames - start < block ? frames - start : block;
        double* inputs[2] = {const_cast<double*>(in.left.data()) + start,
                             const_cast<double*>(in.right.data()) + start};
        double* outputs[2] = {out.left.data() + start, out.right.data() + start};
        effect.process(inputs, outputs, count);
    }
    return out;
}

inline double rms(const std::vector<double>& x) {
    double sum = 0.0;
    for (double v : x)
        sum += v * v;
    return std::sqrt(sum / static_cast<double>(x.size()));
}

inline double peak(const std::vector<double>& x) {
    double p = 0.0;
    for (double v : x)
        p = std::fmax(p, std::fabs(v));
    return p;
}
