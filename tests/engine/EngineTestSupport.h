#pragma once

#include "engine/BlockLoop.h"
#include "engine/DynamicsEngine.h"
#include "engine/MeterReadouts.h"
#include "engine/StereoDelayLine.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace enginetest {

constexpr int kLatency = 151;
constexpr double kPi = 3.141592653589793;

// Everything the effect keeps around the engine for its processing calls.
struct Rig {
    // The effect's bypass line is 151 long inside a larger buffer.
    explicit Rig(float rateHz, InstructionSet set = bestInstructionSet())
        : engine(set), sampleRateHz(rateHz) {
        engine.setSampleRate(rateHz);
        bypassDelay.setLength(kLatency);
    }

    // key: the host's key channels for the same frames, as processBlock takes them.
    template <typename Sample>
    void process(const std::vector<Sample>& inLeft, const std::vector<Sample>& inRight,
                 std::vector<Sample>& outLeft, std::vector<Sample>& outRight, int offset, int count,
                 HostKey<Sample> key = {}) {
        const Sample* inputs[2] = {inLeft.data() + offset, inRight.data() + offset};
        Sample* outputs[2] = {outLeft.data() + offset, outRight.data() + offset};
        processBlock<Sample>(engine, bypassDelay, bypassOn, sampleRateHz, meters, inputs, outputs,
                             count, key);
    }

    // Whole signal as one block.
    template <typename Sample>
    void process(const std::vector<Sample>& inLeft, const std::vector<Sample>& inRight,
                 std::vector<Sample>& outLeft, std::vector<Sample>& outRight) {
        outLeft.resize(inLeft.size());
        outRight.resize(inRight.size());
        process(inLeft, inRight, outLeft, outRight, 0, static_cast<int>(inLeft.size()));
    }

    DynamicsEngine engine;
    StereoDelayLine bypassDelay{500};
    MeterReadouts meters;
    bool bypassOn = false;
    float sampleRateHz;
};

inline std::vector<double> sine(int count, double amplitude, double frequencyHz, double rateHz,
                                double phase = 0.0) {
    std::vector<double> x(count);
    for (int i = 0; i < count; ++i)
        x[i] = amplitude * std::sin(2.0 * kPi * frequencyHz * i / rateHz + phase);
    return x;
}

// Uniform values in -amplitude..amplitude from a fixed seed, independent of the engine's generator.
inline std::vector<double> randomSignal(int count, double amplitude, uint64_t seed) {
    std::vector<double> x(count);
    for (double& v : x) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        v = amplitude * (static_cast<double>(seed >> 11) / 9007199254740992.0 * 2.0 - 1.0);
    }
    return x;
}

// The first element of x on a 16-byte boundary, where the halfband kernels read histories as
// the engine keeps them; a heap block from the 32-bit Windows runtime is only 8-byte aligned.
inline const double* firstPairAligned(const std::vector<double>& x) {
    return x.data() + (reinterpret_cast<uintptr_t>(x.data()) % 16 == 0 ? 0 : 1);
}

inline double rmsDb(const std::vector<double>& x, size_t from, size_t to) {
    double sum = 0.0;
    for (size_t i = from; i < to; ++i)
        sum += x[i] * x[i];
    return 10.0 * std::log10(sum / static_cast<double>(to - from));
}

inline size_t indexOfLargestMagnitude(const std::vector<double>& x) {
    size_t best = 0;
    for (size_t i = 1; i < x.size(); ++i)
        if (std::fabs(x[i]) > std::fabs(x[best])) best = i;
    return best;
}

} // namespace enginetest
