// The whole effect per factory program, as a host drives it: blocks of 512 stereo samples in
// single precision, the oversampled frame at 44.1 kHz and the plain frame at 96 kHz.
#include "plugin/CompressorEffect.h"
#include "plugin/vst2/Vst2Dispatcher.h"
#include "plugin/vst2/Vst2Plugin.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr int kBlock = 512;

// Noise with a slow level swing over 16 blocks, so every program moves between reduction and
// release.
std::vector<float> signal(uint32_t seed) {
    std::vector<float> x(16 * kBlock);
    for (std::size_t i = 0; i < x.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double swing =
            0.05 + 0.9 * (0.5 + 0.5 * std::sin(6.283185307179586 * static_cast<double>(i) /
                                               static_cast<double>(x.size())));
        x[i] =
            static_cast<float>((static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 2.0 * swing);
    }
    return x;
}

void runProgram(benchmark::State& state, float sampleRateHz) {
    const int program = static_cast<int>(state.range(0));
    auto plugin = std::make_unique<Vst2Plugin>(nullptr, CompressorEffect::EditorFactory{});
    CompressorEffect* effect = &plugin->effect();
    dispatchRequest(*plugin, vst2::effSetSampleRate, 0, 0, nullptr, sampleRateHz);
    dispatchRequest(*plugin, vst2::effSetProgram, 0, program, nullptr, 0.0f);
    dispatchRequest(*plugin, vst2::effMainsChanged, 0, 1, nullptr, 0.0f);
    std::vector<float> left = signal(1), right = signal(2), outLeft(kBlock), outRight(kBlock);
    float* outputs[2] = {outLeft.data(), outRight.data()};
    std::size_t offset = 0;
    for (auto _ : state) {
        float* inputs[2] = {left.data() + offset, right.data() + offset};
        effect->process(inputs, outputs, kBlock);
        benchmark::DoNotOptimize(outLeft.data());
        offset = (offset + kBlock) % left.size();
    }
    state.SetLabel(effect->programName(program));
    // Time per stereo host sample, shown as a rate inverted to seconds.
    state.counters["per_sample"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kBlock,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void OversampledAt44k(benchmark::State& state) {
    runProgram(state, 44100.0f);
}
void PlainAt96k(benchmark::State& state) {
    runProgram(state, 96000.0f);
}

BENCHMARK(OversampledAt44k)->DenseRange(0, kNumPrograms - 1);
BENCHMARK(PlainAt96k)->DenseRange(0, kNumPrograms - 1);

} // namespace

BENCHMARK_MAIN();
