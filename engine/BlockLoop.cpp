#include "BlockLoop.h"

#include "DenormalGuard.h"

// Compiled here with the engine's optimisation, where the loops over a chunk are vectorised.
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
            left[i] = finiteOrSilence(static_cast<double>(inLeft[start + i]));
            right[i] = finiteOrSilence(static_cast<double>(inRight[start + i]));
        }
        // The bypass line always takes the input; what it gives back is only needed in Bypass.
        if (bypassOn)
            bypassDelay.delayBlock(left, right, delayedLeft, delayedRight, count);
        else
            bypassDelay.pushBlock(left, right, count);
        engine.processFrames(oversampled, left, right, frameMeters, count);
        for (int32_t i = 0; i < count; ++i) {
            meters.gain.store(frameMeters[i].gain, std::memory_order_relaxed);
            meters.levelA.store(frameMeters[i].levelA, std::memory_order_relaxed);
            meters.levelB.store(frameMeters[i].levelB, std::memory_order_relaxed);
        }
        const double* heardLeft = bypassOn ? delayedLeft : left;
        const double* heardRight = bypassOn ? delayedRight : right;
        for (int32_t i = 0; i < count; ++i) {
            outLeft[start + i] = static_cast<Sample>(heardLeft[i]);
            outRight[start + i] = static_cast<Sample>(heardRight[i]);
        }
    }
}

template void processBlock<float>(DynamicsEngine&, StereoDelayLine&, bool, float, MeterReadouts&,
                                  const float* const*, float* const*, int32_t);
template void processBlock<double>(DynamicsEngine&, StereoDelayLine&, bool, float, MeterReadouts&,
                                   const double* const*, double* const*, int32_t);
