// The module's process call allocates nothing, whatever the host sends: every parameter over
// its range and beyond, NaN, the host's bypass, program changes, changes at every offset,
// empty blocks and flushes, both sample sizes, suspend and resume, and a key bus the host
// switches on and off between blocks while SC Source changes.
#include "AllocationCounter.h"
#include "HostedVst3Plugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST(Vst3Allocation, TheCounterSeesTheModulesAllocations) {
    int seen = 0;
    {
        CountingScope scope;
        HostedVst3Plugin plugin(QVL_VST3_BUNDLE);
        ASSERT_TRUE(plugin.isLoaded()) << plugin.error();
        seen = scope.seen();
    }
    EXPECT_GT(seen, 0);
}

// Every parameter the host may name, each with values from below to above its range, spread
// over the block's offsets; made before counting starts.
ParameterChanges everyChange(int block) {
    std::vector<ParameterPoint> points;
    const double values[] = {-1e9, -1.0, 0.0, 0.3, 0.5, 0.75, 1.0, 2.5, 1e9, std::nan("")};
    int offset = 0;
    for (ParamID id : {0u,  1u,  2u,  3u,  4u,  5u,  6u,  7u,  8u,  9u,   10u,  11u,  12u,
                       13u, 14u, 15u, 16u, 17u, 18u, 19u, 20u, 21u, 100u, 101u, 9999u})
        for (double v : values)
            points.push_back({id, (offset++ * 7) % (block + 1), v});
    return ParameterChanges(points);
}

template <typename Sample> void processWithoutAllocating(HostedVst3Plugin& plugin) {
    constexpr int kBlock = 512;
    std::vector<Sample> left(kBlock), right(kBlock);
    for (int n = 0; n < kBlock; ++n)
        left[n] = right[n] = static_cast<Sample>(0.5 * std::sin(0.05 * n));
    std::vector<Sample> key(kBlock);
    for (int n = 0; n < kBlock; ++n)
        key[n] = static_cast<Sample>(0.9 * std::sin(0.2 * n));
    Sample* channels[2] = {left.data(), right.data()};
    Sample* keyChannels[2] = {key.data(), key.data()};
    AudioBusBuffers buses[2] = {};
    buses[0].numChannels = buses[1].numChannels = 2;
    if constexpr (sizeof(Sample) == sizeof(float)) {
        buses[0].channelBuffers32 = channels;
        buses[1].channelBuffers32 = keyChannels;
    } else {
        buses[0].channelBuffers64 = channels;
        buses[1].channelBuffers64 = keyChannels;
    }
    ParameterChanges changes = everyChange(kBlock);
    ProcessData data;
    data.symbolicSampleSize = sizeof(Sample) == sizeof(float) ? kSample32 : kSample64;
    data.numInputs = 2;
    data.numOutputs = 1;
    data.inputs = buses;
    data.outputs = &buses[0]; // in place
    data.inputParameterChanges = &changes;
    ProcessData flush;
    flush.inputParameterChanges = &changes;

    ASSERT_EQ(plugin.setup(48000.0, data.symbolicSampleSize), kResultOk);
    plugin.activate(true);
    int seen = 0;
    {
        CountingScope scope;
        for (int32 frames : {kBlock, 0, 1, 100}) {
            data.numSamples = frames;
            plugin.processData(data);
        }
        plugin.processData(flush);
        plugin.component()->setActive(false);
        plugin.component()->setActive(true);
        data.numSamples = kBlock;
        plugin.processData(data);
        for (const bool keyBusOn : {true, false, true}) {
            plugin.component()->activateBus(kAudio, kInput, 1, keyBusOn);
            plugin.processData(data);
        }
        seen = scope.seen();
    }
    EXPECT_EQ(seen, 0);
}

TEST(Vst3Allocation, NoneWhileProcessingIn32Bits) {
    HostedVst3Plugin plugin(QVL_VST3_BUNDLE);
    ASSERT_TRUE(plugin.isLoaded()) << plugin.error();
    processWithoutAllocating<float>(plugin);
}

TEST(Vst3Allocation, NoneWhileProcessingIn64Bits) {
    HostedVst3Plugin plugin(QVL_VST3_BUNDLE);
    ASSERT_TRUE(plugin.isLoaded()) << plugin.error();
    processWithoutAllocating<double>(plugin);
}

} // namespace
