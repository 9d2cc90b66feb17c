#pragma once

#include "engine/DynamicsEngine.h"
#include "engine/MeterReadouts.h"
#include "engine/StereoDelayLine.h"

#include <cmath>
#include <cstdint>

// NaN or infinity from the host would settle in every recursive state of the engine for good,
// and in the bypass line; they enter as silence instead.
inline double finiteOrSilence(double x) {
    return std::isfinite(x) ? x : 0.0;
}

// A key signal for the detector in the host's sample type, as long as the block. One channel is
// a mono key and feeds both of the detector's channels; of more than two, the first two are
// heard. No channels, a null array or a null channel are silence.
template <typename Sample> struct HostKey {
    const Sample* const* channels = nullptr;
    int32_t channelCount = 0;
};

// The block loop hands the engine this many frames at a time, or fewer at a block's end.
constexpr int32_t kBlockChunk = 64;

// The host's processing call for either sample type (float and double are compiled with the
// engine): runs one engine frame per sample, swaps in the input delayed by the engine's latency
// while Bypass is on (the engine keeps running so its state and meters stay current), and hands
// the meter values over after every sample. Inputs and outputs may share memory: each sample is
// read completely before it is written. Missing channel arrays or a non-positive count process
// nothing. The key, if any, is read only while the engine's detector listens to it.
template <typename Sample>
void processBlock(DynamicsEngine& engine, StereoDelayLine& bypassDelay, bool bypassOn,
                  float sampleRateHz, MeterReadouts& meters, const Sample* const* inputs,
                  Sample* const* outputs, int32_t sampleFrames, HostKey<Sample> key = {});

extern template void processBlock<float>(DynamicsEngine&, StereoDelayLine&, bool, float,
                                         MeterReadouts&, const float* const*, float* const*,
                                         int32_t, HostKey<float>);
extern template void processBlock<double>(DynamicsEngine&, StereoDelayLine&, bool, float,
                                          MeterReadouts&, const double* const*, double* const*,
                                          int32_t, HostKey<double>);
