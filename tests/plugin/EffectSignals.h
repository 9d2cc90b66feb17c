#pragma once

#include "StereoSignal.h"
#include "plugin/CompressorEffect.h"

#include <cmath>
#include <vector>

using StereoSignal = Stereo<double>;

// Runs the signal in host blocks of `block` frames, double precision, through
// `process(inputs, outputs, frames)`: the effect itself, or a module as a host holds it.
template <typename Process>
StereoSignal processInBlocks(const StereoSignal& in, int block, Process process) {
    StereoSignal out{in.left, in.right};
    const int frames = static_cast<int>(in.left.size());
    for (int start = 0; start < frames; start += block) {
        const int count = frames - start < block ? frames - start : block;
        double* inputs[2] = {const_cast<double*>(in.left.data()) + start,
                             const_cast<double*>(in.right.data()) + start};
        double* outputs[2] = {out.left.data() + start, out.right.data() + start};
        process(inputs, outputs, count);
    }
    return out;
}

inline StereoSignal processInBlocks(CompressorEffect& effect, const StereoSignal& in, int block) {
    return processInBlocks(in, block, [&](double** inputs, double** outputs, int frames) {
        effect.process(inputs, outputs, frames);
    });
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
