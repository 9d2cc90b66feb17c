#include "engine/BlockLoop.h"

#include "engine/DenormalGuard.h"

namespace {

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

} // namespace

// Compiled here with the engine's optimisation, where the loops over a chunk are vectorised.
template <typename Sample>
void processBlock(DynamicsEngine& engine, StereoDelayLine& bypassDelay, bool bypassOn,
                  float sampleRateHz, MeterReadouts& meters, const Sample* const* inputs,
                  Sample* const* outputs, int32_t sampleFrames, HostKey<Sample> key) {
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
            left[i] = finiteOrSilence(static_cast<double>(inLeft[start + i]));
            right[i] = finiteOrSilence(static_cast<double>(inRight[start + i]));
        }
        // The bypass line always takes the input; what it gives back is only needed in Bypass.
        if (bypassOn)
            bypassDelay.delayBlock(left, right, delayedLeft, delayedRight, count);
        else
            bypassDelay.pushBlock(left, right, count);
        // The engine takes the source up again for the chunk: if it changes in between, this
        // one chunk is heard with a silent key, or its key is read for nothing.
        if (keyGiven && engine.scSource() == ScSource::external)
            processKeyedFrames(engine, oversampled, left, right, frameMeters,
                               KeyChunk<Sample>{key, start, count});
        else
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
                                  const float* const*, float* const*, int32_t, HostKey<float>);
template void processBlock<double>(DynamicsEngine&, StereoDelayLine&, bool, float, MeterReadouts&,
                                   const double* const*, double* const*, int32_t, HostKey<double>);
