#pragma once

#include "DenormalGuard.h"
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

// The host's processing call for either sample type: runs one engine frame per sample, swaps in
// the input delayed by the engine's latency while Bypass is on (the engine keeps running so its
// state and meters stay current), and hands the meter values over after every sample.
// Inputs and outputs may share memory: each sample is read completely before it is written.
// Missing channel arrays or a non-positive count process nothing.
template <typename Sample>
void processBlock(DynamicsEngine& engine, StereoDelayLine& bypassDelay, bool bypassOn,
                  float sampleRateHz, MeterReadouts& meters, const Sample* const* inputs,
                  Sample* const* outputs, int32_t sampleFrames) {
    const DenormalGuard denormalGuard;
    if (sampleFrames <= 0 || inputs == nullptr || outputs == nullptr) return;
    const Sample* inLeft = inputs[0];
    const Sample* inRight = inputs[1];
    Sample* outLeft = outputs[0];
    Sample* outRight = outputs[1];
    if (inLeft == nullptr || inRight == nullptr || outLeft == nullptr || outRight == nullptr)
        return;

    const auto run = [&](auto frame) {
        for (int32_t i = 0; i < sampleFrames; ++i) {
            double left = finiteOrSilence(static_cast<double>(inLeft[i]));
            double right = finiteOrSilence(static_cast<double>(inRight[i]));
            double delayedLeft = left;
            double delayedRight = right;
            bypassDelay.process(delayedLeft, delayedRight);
            double gain = 1.0;
            double levelA = -70.0;
            double levelB = -70.0;
            (engine.*frame)(left, right, gain, levelA, levelB);
            if (bypassOn) {
                left = delayedLeft;
                right = delayedRight;
            }
            meters.gain.store(gain, std::memory_order_relaxed);
            meters.levelA.store(levelA, std::memory_order_relaxed);
            meters.levelB.store(levelB, std::memory_order_relaxed);
            outLeft[i] = static_cast<Sample>(left);
            outRight[i] = static_cast<Sample>(right);
        }
    };
    // The frame is chosen once per block, by the host rate as the host gave it.
    if (static_cast<double>(sampleRateHz) < kOversamplingBelowHz)
        run(&DynamicsEngine::processFrameOversampled);
    else
        run(&DynamicsEngine::processFrame);
}
