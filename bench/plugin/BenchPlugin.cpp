// The whole effect per factory program, as a host drives it: blocks of 512 stereo samples in
// single precision, the oversampled frame at 44.1 kHz and the plain frame at 96 kHz; and the
// engine's feedback loop alone with the program's settings.
#include "engine/FeedbackLoop.h"
#include "engine/InstructionSet.h"
#include "formats/vst2/Vst2Dispatcher.h"
#include "formats/vst2/Vst2Plugin.h"
#include "plugin/CompressorEffect.h"

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

// Time per stereo host sample, shown as a rate inverted to seconds.
benchmark::Counter perHostSample(benchmark::State& state, std::size_t samplesPerIteration) {
    return benchmark::Counter(static_cast<double>(state.iterations()) *
                                  static_cast<double>(samplesPerIteration),
                              benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void runProgram(benchmark::State& state, float sampleRateHz) {
    const int program = static_cast<int>(state.range(0));
    auto plugin = std::make_unique<Vst2Plugin>(nullptr, EditorBinding::EditorFactory{});
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
    state.counters["per_sample"] = perHostSample(state, kBlock);
}

// Steps of the feedback loop over the signal, a step per sample.
template <bool kFused>
double loopSteps(FeedbackLoop& loop, const GainCurve& curve, const std::vector<float>& left,
                 const std::vector<float>& right) {
    double sum = 0.0;
    DetectorLevels levels = loop.levelDetector.levels();
    for (std::size_t i = 0; i < left.size(); ++i)
        sum += loop.step<kFused>(left[i], right[i], curve, levels);
    return sum;
}
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2,fma"))) double loopStepsFused(FeedbackLoop& loop,
                                                          const GainCurve& curve,
                                                          const std::vector<float>& left,
                                                          const std::vector<float>& right) {
    return loopSteps<true>(loop, curve, left, right);
}
#endif

// The feedback loop is the one serial chain of the engine: every other part of a frame can
// overlap with it, so it is the least a frame can cost: at 44.1 kHz it steps twice per host
// sample, at 96 kHz once.
void runFeedbackLoop(benchmark::State& state, float sampleRateHz) {
    const int program = static_cast<int>(state.range(0));
    auto plugin = std::make_unique<Vst2Plugin>(nullptr, EditorBinding::EditorFactory{});
    dispatchRequest(*plugin, vst2::effSetSampleRate, 0, 0, nullptr, sampleRateHz);
    dispatchRequest(*plugin, vst2::effSetProgram, 0, program, nullptr, 0.0f);
    const DynamicsEngine& engine = plugin->effect().engine();
    const DynamicsEngine::Settings s = engine.settings();
    const GainCurve curve = GainCurve::make(s.thresholdDb, s.kneeDb, s.slope);
    FeedbackLoop loop = engine.designedFeedbackLoop();
    const std::vector<float> left = signal(1), right = signal(2);
    const bool fused = bestInstructionSet() != InstructionSet::sse2;
    for (auto _ : state) {
#if defined(__x86_64__) || defined(__i386__)
        if (fused) {
            benchmark::DoNotOptimize(loopStepsFused(loop, curve, left, right));
            continue;
        }
#endif
        benchmark::DoNotOptimize(loopSteps<false>(loop, curve, left, right));
    }
    state.SetLabel(plugin->effect().programName(program));
    const auto stepsPerHostSample =
        static_cast<std::size_t>(internalRateHz(sampleRateHz) / sampleRateHz);
    state.counters["per_sample"] = perHostSample(state, left.size() / stepsPerHostSample);
}

void FeedbackLoopAt44k(benchmark::State& state) {
    runFeedbackLoop(state, 44100.0f);
}
void FeedbackLoopAt96k(benchmark::State& state) {
    runFeedbackLoop(state, 96000.0f);
}

void OversampledAt44k(benchmark::State& state) {
    runProgram(state, 44100.0f);
}
void PlainAt96k(benchmark::State& state) {
    runProgram(state, 96000.0f);
}

BENCHMARK(OversampledAt44k)->DenseRange(0, kNumPrograms - 1);
BENCHMARK(PlainAt96k)->DenseRange(0, kNumPrograms - 1);
BENCHMARK(FeedbackLoopAt44k)->DenseRange(0, kNumPrograms - 1);
BENCHMARK(FeedbackLoopAt96k)->DenseRange(0, kNumPrograms - 1);

} // namespace

BENCHMARK_MAIN();
