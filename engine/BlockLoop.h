#pragma once

#include "engine/DenormalGuard.h"
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

    // The frame is chosen once per block, by the host rate as the host gave it. The engine runs
    // the frames a chunk at a time, between the reading of the chunk's inputs and the writing of
    // its outputs.
    const bool oversampled = static_cast<double>(sampleRateHz) < kOversamplingBelowHz;
    constexpr int32_t kChunk = 64;
    double left[kChunk], right[kChunk], delayedLeft[kChunk], delayedRight[kChunk];
    DynamicsEngine::FrameMeters frameMeters[kChunk];
    for (int32_t start = 0; start < sampleFrames; start += kChunk) {
        const int32_t count = sampleFrames - start < kChunk ? sampleFrames - start : kChunk;
        for (int32_t i = 0; i < count; ++i) {
            left[i] = delayedLeft[i] = finiteOrSilence(static_cast<double>(inLeft[start + i]));
            right[i] = delayedRight[i] = finiteOrSilence(static_cast<double>(inRight[start + i]));
        }
        bypassDelay.processBlock(delayedLeft, delayedRight, count);
        engine.processFrames(oversampled, left, right, frameMeters, count);
        for (int32_t i = 0; i < count; ++i) {
            if (bypassOn) {
                left[i] = delayedLeft[i];
                right[i] = delayedRight[i];
            }
            meters.gain.store(frameMeters[i].gain, std::memory_order_relaxed);
            meters.levelA.store(frameMeters[i].levelA, std::memory_order_relaxed);
            meters.levelB.store(frameMeters[i].levelB, std::memory_order_relaxed);
            outLeft[start + i] = static_cast<Sample>(left[i]);
            outRight[start + i] = static_cast<Sample>(right[i]);
        }
    }
}
