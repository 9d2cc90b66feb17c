// The cost of one 512-frame block through each edition, as a host pays it: the VST 2 module's
// processReplacing beside the VST 3 module's process with an empty parameter queue. Run with
// --benchmark_enable_random_interleaving=true --benchmark_repetitions=N to compare them.
#include "HostedPlugin.h"
#include "HostedVst3Plugin.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kBlock = 512;
constexpr double kRateHz = 48000.0;

// A -12 dBFS 110 Hz tone with a slow swell: every program compresses it.
struct Signal {
    std::vector<float> left, right, outLeft, outRight;
    Signal() : left(kBlock), right(kBlock), outLeft(kBlock), outRight(kBlock) {
        for (int n = 0; n < kBlock; ++n) {
            const double tone = 0.25 * std::sin(2.0 * 3.141592653589793 * 110.0 * n / kRateHz);
            left[n] = static_cast<float>(tone);
            right[n] = static_cast<float>(0.8 * tone);
        }
    }
};

void vst2Block(benchmark::State& state) {
    HostedPlugin plugin(QVL_MODULE_PATH, HostOptions{vst2::kVstVersion, false});
    if (!plugin.isLoaded()) {
        state.SkipWithError(plugin.error().c_str());
        return;
    }
    plugin.setSampleRate(static_cast<float>(kRateHz));
    plugin.setBlockSize(kBlock);
    plugin.setProgram(static_cast<int>(state.range(0)));
    plugin.resume();
    Signal s;
    float* inputs[2] = {s.left.data(), s.right.data()};
    float* outputs[2] = {s.outLeft.data(), s.outRight.data()};
    for (auto _ : state) {
        plugin.process(inputs, outputs, kBlock);
        benchmark::DoNotOptimize(s.outLeft.data());
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}

void vst3Block(benchmark::State& state) {
    HostedVst3Plugin plugin(QVL_VST3_BUNDLE);
    if (!plugin.isLoaded()) {
        state.SkipWithError(plugin.error().c_str());
        return;
    }
    plugin.controller()->setParamNormalized(101, static_cast<double>(state.range(0)) / 6.0);
    plugin.setup(kRateHz, Steinberg::Vst::kSample32, kBlock);
    plugin.activate(true);
    Signal s;
    float* inputs[2] = {s.left.data(), s.right.data()};
    float* outputs[2] = {s.outLeft.data(), s.outRight.data()};
    Steinberg::Vst::AudioBusBuffers in{}, out{};
    in.numChannels = out.numChannels = 2;
    in.channelBuffers32 = inputs;
    out.channelBuffers32 = outputs;
    ParameterChanges noChanges, reported;
    Steinberg::Vst::ProcessData data;
    data.numSamples = kBlock;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &in;
    data.outputs = &out;
    data.inputParameterChanges = &noChanges;
    data.outputParameterChanges = &reported;
    for (auto _ : state) {
        plugin.processData(data);
        benchmark::DoNotOptimize(s.outLeft.data());
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}

BENCHMARK(vst2Block)->DenseRange(0, 6)->ArgName("program");
BENCHMARK(vst3Block)->DenseRange(0, 6)->ArgName("program");

} // namespace

BENCHMARK_MAIN();
