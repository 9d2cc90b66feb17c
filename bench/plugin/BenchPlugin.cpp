// The whole effect per factory program, as a host drives it: blocks of 512 stereo samples in
// single precision, the oversampled frame at 44.1 kHz and the plain frame at 96 kHz; the
// external key's cost beside the internal source's; and the engine's feedback loop alone with
// the program's settings.
#include "engine/BlockLoop.h"
#include "engine/FeedbackLoop.h"
#include "engine/InstructionSet.h"
#include "formats/vst2/Vst2Dispatcher.h"
#include "formats/vst2/Vst2Plugin.h"
#include "plugin/CompressorEffect.h"
#include "plugin/ParameterTable.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
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

// What the effect runs for a host's block, set up as a factory program: the engine, the bypass
// line and the meters, through the block loop with a key in the host's sample type.
struct KeyedEffect {
    DynamicsEngine engine;
    StereoDelayLine bypassDelay{CompressorEffect::kBypassDelayCapacity};
    MeterReadouts meters;
    float sampleRateHz;

    KeyedEffect(int program, float rateHz, ScSource source) : sampleRateHz(rateHz) {
        bypassDelay.setLength(CompressorEffect::kLatencySamples);
        engine.setSampleRate(rateHz);
        for (const ParameterInfo& p : kParameters)
            p.engineUpdate(engine, factoryProgramValue(program, p.index));
        engine.setScSource(source);
    }

    void process(const float* const* inputs, float* const* outputs, const float* const* key) {
        processBlock<float>(engine, bypassDelay, false, sampleRateHz, meters, inputs, outputs,
                            kBlock, HostKey<float>{key, 2});
    }
};

double median(std::vector<double> x) {
    std::sort(x.begin(), x.end());
    return x.empty() ? 0.0 : x[x.size() / 2];
}

// The external source against the internal one on the same main signal and key, interleaved:
// each round times a few blocks through each, in alternating order, and the ratio of the two
// times per round, median over the rounds, is what the key costs. A key that rises and falls
// unlike the main signal keeps the external gain moving too.
void runExternalAgainstInternal(benchmark::State& state, float sampleRateHz) {
    const int program = static_cast<int>(state.range(0));
    KeyedEffect effects[2] = {{program, sampleRateHz, ScSource::internal},
                              {program, sampleRateHz, ScSource::external}};
    const std::vector<float> left = signal(1), right = signal(2);
    std::vector<float> keyLeft = signal(3), keyRight = signal(4);
    std::rotate(keyLeft.begin(), keyLeft.begin() + keyLeft.size() / 3, keyLeft.end());
    std::rotate(keyRight.begin(), keyRight.begin() + keyRight.size() / 3, keyRight.end());
    std::vector<float> outLeft(kBlock), outRight(kBlock);
    float* outputs[2] = {outLeft.data(), outRight.data()};
    constexpr int kBlocksPerRound = 4;
    std::vector<double> seconds[2], ratios;
    std::size_t offset = 0;
    for (auto _ : state) {
        double roundSeconds[2];
        const int firstToRun = static_cast<int>(ratios.size() % 2);
        for (int k = 0; k < 2; ++k) {
            const int which = (firstToRun + k) % 2;
            std::size_t at = offset;
            const auto start = std::chrono::steady_clock::now();
            for (int b = 0; b < kBlocksPerRound; ++b) {
                const float* inputs[2] = {left.data() + at, right.data() + at};
                const float* key[2] = {keyLeft.data() + at, keyRight.data() + at};
                effects[which].process(inputs, outputs, key);
                benchmark::DoNotOptimize(outLeft.data());
                at = (at + kBlock) % left.size();
            }
            roundSeconds[which] =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            seconds[which].push_back(roundSeconds[which]);
        }
        ratios.push_back(roundSeconds[1] / roundSeconds[0]);
        offset = (offset + kBlocksPerRound * kBlock) % left.size();
    }
    state.SetLabel(factoryProgramName(program));
    constexpr double kSamplesPerRound = kBlocksPerRound * kBlock;
    state.counters["internal_ns"] = median(seconds[0]) / kSamplesPerRound * 1e9;
    state.counters["external_ns"] = median(seconds[1]) / kSamplesPerRound * 1e9;
    state.counters["external_per_internal"] = median(ratios);
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

void ExternalAgainstInternalAt44k(benchmark::State& state) {
    runExternalAgainstInternal(state, 44100.0f);
}
void ExternalAgainstInternalAt96k(benchmark::State& state) {
    runExternalAgainstInternal(state, 96000.0f);
}

void OversampledAt44k(benchmark::State& state) {
    runProgram(state, 44100.0f);
}
void PlainAt96k(benchmark::State& state) {
    runProgram(state, 96000.0f);
}

BENCHMARK(OversampledAt44k)->DenseRange(0, kNumPrograms - 1);
BENCHMARK(PlainAt96k)->DenseRange(0, kNumPrograms - 1);
BENCHMARK(ExternalAgainstInternalAt44k)->DenseRange(0, kNumPrograms - 1);
BENCHMARK(ExternalAgainstInternalAt96k)->DenseRange(0, kNumPrograms - 1);
BENCHMARK(FeedbackLoopAt44k)->DenseRange(0, kNumPrograms - 1);
BENCHMARK(FeedbackLoopAt96k)->DenseRange(0, kNumPrograms - 1);

} // namespace

BENCHMARK_MAIN();
