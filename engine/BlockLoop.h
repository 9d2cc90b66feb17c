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

// A key signal for the detector in the host's sample type, as long as the block. One channel is
// a mono key and feeds both of the detector's channels; of more than two, the first two are
// heard. No channels, a null array or a null channel are silence.
template <typename Sample> struct HostKey {
    const Sample* const* channels = nullptr;
    int32_t channelCount = 0;
};

// The block loop hands the engine this many frames at a time, or fewer at a block's end.
constexpr int32_t kBlockChunk = 64;

// A chunk of frames whose key the detector hears.
template <typename Sample> struct KeyChunk {
    HostKey<Sample> key;
    int32_t start;
    int32_t count;
};

// The engine's frames for a chunk with its key read as doubles, non-finite samples as silence: a
// mono key on both channels, a missing channel null. Out of line, with the key's buffers and
// few arguments: the block loop then keeps its registers for its own loops.
template <typename Sample>
[[gnu::noinline]] void processKeyedFrames(DynamicsEngine& engine, bool oversampled, double* left,
                                          double* right, DynamicsEngine::FrameMeters* meters,
                                          const KeyChunk<Sample>& chunk) {
    double keyLeft[kBlockChunk], keyRight[kBlockChunk];
    const auto read = [&chunk](const Sample* channel, double* out) -> const double* {
        if (channel == nullptr) return nullptr;
        for (int32_t i = 0; i < chunk.count; ++i)
            out[i] = finiteOrSilence(static_cast<double>(channel[chunk.start + i]));
        return out;
    };
    const double* l = read(chunk.key.channels[0], keyLeft);
    const double* r = chunk.key.channelCount == 1 ? l : read(chunk.key.channels[1], keyRight);
    engine.processFrames(oversampled, left, right, DynamicsEngine::KeyFrames{l, r}, meters,
                         chunk.count);
}

// The host's processing call for either sample type: runs one engine frame per sample, swaps in
// the input delayed by the engine's latency while Bypass is on (the engine keeps running so its
// state and meters stay current), and hands the meter values over after every sample.
// Inputs and outputs may share memory: each sample is read completely before it is written.
// Missing channel arrays or a non-positive count process nothing. The key, if any, is read only
// while the engine's detector listens to it.
template <typename Sample>
void processBlock(DynamicsEngine& engine, StereoDelayLine& bypassDelay, bool bypassOn,
                  float sampleRateHz, MeterReadouts& meters, const Sample* const* inputs,
                  Sample* const* outputs, int32_t sampleFrames, HostKey<Sample> key = {}) {
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
    double left[kBlockChunk], right[kBlockChunk], delayedLeft[kBlockChunk],
        delayedRight[kBlockChunk];
    DynamicsEngine::FrameMeters frameMeters[kBlockChunk];
    const bool keyGiven = key.channels != nullptr && key.channelCount > 0;
    for (int32_t start = 0; start < sampleFrames; start += kBlockChunk) {
        const int32_t count =
            sampleFrames - start < kBlockChunk ? sampleFrames - start : kBlockChunk;
        for (int32_t i = 0; i < count; ++i) {
            left[i] = delayedLeft[i] = finiteOrSilence(static_cast<double>(inLeft[start + i]));
            right[i] = delayedRight[i] = finiteOrSilence(static_cast<double>(inRight[start + i]));
        }
        bypassDelay.processBlock(delayedLeft, delayedRight, count);
        // The engine takes the source up again for the chunk: if it changes in between, this
        // one chunk is heard with a silent key, or its key is read for nothing.
        if (keyGiven && engine.scSource() == ScSource::external)
            processKeyedFrames(engine, oversampled, left, right, frameMeters,
                               KeyChunk<Sample>{key, start, count});
        else
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
