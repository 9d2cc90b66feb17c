#pragma once

#include "DynamicsEngine.h"
#include "MeterReadouts.h"
#include "StereoDelayLine.h"

#include <cmath>
#include <cstdint>

// NaN or infinity from the host would settle in every recursive state of the engine for good,
// and in the bypass line; they enter as silence instead.
inline double finiteOrSilence(double x) {
    return std::isfinite(x) ? x : 0.0;
}

// The host's processing call for either sample type (float and double are compiled with the
// engine): runs one engine frame per sample, swaps in the input delayed by the engine's latency
// while Bypass is on (the engine keeps running so its state and meters stay current), and hands
// the meter values over after every sample. Inputs and outputs may share memory: each sample is
// read completely before it is written. Missing channel arrays or a non-positive count process
// nothing.
template <typename Sample>
void processBlock(DynamicsEngine& engine, StereoDelayLine& bypassDelay, bool bypassOn,
                  float sampleRateHz, MeterReadouts& meters, const Sample* const* inputs,
                  Sample* const* outputs, int32_t sampleFrames);

extern template void processBlock<float>(DynamicsEngine&, StereoDelayLine&, bool, float,
                                         MeterReadouts&, const float* const*, float* const*,
                                         int32_t);
extern template void processBlock<double>(DynamicsEngine&, StereoDelayLine&, bool, float,
                                          MeterReadouts&, const double* const*, double* const*,
                                          int32_t);
