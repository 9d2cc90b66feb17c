// Audio through the module with Bypass on: the output is the input delayed by the reported
// latency, whatever the precision, block sizes and buffer sharing.
#include "HostedPlugin.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kBypass = 16;
constexpr int kLatency = 151;
constexpr int kGuard = 8;
constexpr float kGuardValue = -12345.0f;

// Distinct values per sample and channel, exactly representable in single precision.
template <typename Sample> Sample inputSample(int channel, int n) {
    return static_cast<Sample>((n + 1) * (channel == 0 ? 1 : -1)) / Sample(1024);
}

template <typename Sample> Sample expectedOutput(int channel, int n) {
    return n < kLatency ? Sample(0) : inputSample<Sample>(channel, n - kLatency);
}

struct Scenario {
    float sampleRateHz;
    std::vector<int> blockSizes;
    bool inPlace;
};

// Feeds consecutive blocks and checks every output sample and the guard samples beyond each
// block, which must stay as they were.
template <typename Sample> void runScenario(const Scenario& scenario) {
    HostedPlugin plugin(QVL_MODULE_PATH);
    ASSERT_TRUE(plugin.isLoaded()) << plugin.error();
    plugin.setSampleRate(scenario.sampleRateHz);
    plugin.setParameter(kBypass, 1.0f);
    plugin.resume();

    int position = 0;
    for (int frames : scenario.blockSizes) {
        std::vector<Sample> in[2], out[2];
        Sample* inputs[2];
        Sample* outputs[2];
        for (int c = 0; c < 2; ++c) {
            in[c].assign(static_cast<std::size_t>(frames + kGuard), Sample(kGuardValue));
            out[c].assign(static_cast<std::size_t>(frames + kGuard), Sample(kGuardValue));
            for (int i = 0; i < frames; ++i)
                in[c][static_cast<std::size_t>(i)] = inputSample<Sample>(c, position + i);
            inputs[c] = in[c].data();
            outputs[c] = scenario.inPlace ? in[c].data() : out[c].data();
        }
        plugin.process(inputs, outputs, frames);
        for (int c = 0; c < 2; ++c) {
            for (int i = 0; i < frames; ++i)
                ASSERT_EQ(outputs[c][i], expectedOutput<Sample>(c, position + i))
                    << "channel " << c << ", sample " << position + i;
            for (int i = frames; i < frames + kGuard; ++i)
                ASSERT_EQ(outputs[c][i], Sample(kGuardValue)) << "overrun at " << i;
        }
        position += frames;
    }
}

const std::vector<int> kOddBlocks = {511, 1, 37, 100, 1, 151, 150, 2, 1024, 7};

TEST(BypassPassthrough, SinglePrecisionSeparateBuffers) {
    runScenario<float>({44100.0f, kOddBlocks, false});
}

TEST(BypassPassthrough, SinglePrecisionInPlace) {
    runScenario<float>({44100.0f, kOddBlocks, true});
}

TEST(BypassPassthrough, DoublePrecisionSeparateBuffers) {
    runScenario<double>({44100.0f, kOddBlocks, false});
}

TEST(BypassPassthrough, DoublePrecisionInPlace) {
    runScenario<double>({44100.0f, kOddBlocks, true});
}

TEST(BypassPassthrough, AtHighSampleRates) {
    runScenario<float>({96000.0f, kOddBlocks, false});
    runScenario<double>({96000.0f, kOddBlocks, true});
}

TEST(BypassPassthrough, SingleSampleBlocks) {
    runScenario<double>({44100.0f, std::vector<int>(400, 1), false});
}

TEST(ProcessingBadInput, NonPositiveFrameCountsChangeNothing) {
    HostedPlugin plugin(QVL_MODULE_PATH);
    ASSERT_TRUE(plugin.isLoaded()) << plugin.error();
    plugin.setParameter(kBypass, 1.0f);
    plugin.resume();

    // Prime the delay line, then make calls that must neither write nor advance it.
    std::vector<float> left(kLatency), right(kLatency), outLeft(kLatency), outRight(kLatency);
    for (int n = 0; n < kLatency; ++n) {
        left[static_cast<std::size_t>(n)] = inputSample<float>(0, n);
        right[static_cast<std::size_t>(n)] = inputSample<float>(1, n);
    }
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    plugin.process(inputs, outputs, kLatency);

    std::vector<float> untouched(kLatency, kGuardValue);
    outLeft = untouched;
    outRight = untouched;
    for (int frames : {0, -1, -1000})
        plugin.process(inputs, outputs, frames);
    EXPECT_EQ(outLeft, untouched);
    EXPECT_EQ(outRight, untouched);

    // The next block still starts with the first input sample.
    plugin.process(inputs, outputs, 1);
    EXPECT_EQ(outLeft[0], inputSample<float>(0, 0));
    EXPECT_EQ(outRight[0], inputSample<float>(1, 0));
}

TEST(ProcessingBadInput, MissingBuffersAreIgnored) {
    HostedPlugin plugin(QVL_MODULE_PATH);
    ASSERT_TRUE(plugin.isLoaded()) << plugin.error();
    double sample[4] = {1.0, 2.0, 3.0, 4.0};
    double* channels[2] = {sample, nullptr};
    double* full[2] = {sample, sample + 2};
    plugin.process(static_cast<double**>(nullptr), full, 2);
    plugin.process(full, static_cast<double**>(nullptr), 2);
    plugin.process(channels, full, 2);
    plugin.process(full, channels, 2);
    EXPECT_EQ(sample[0], 1.0);
    EXPECT_EQ(sample[3], 4.0);
}

} // namespace
