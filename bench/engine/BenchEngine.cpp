#include "engine/BlockLoop.h"
#include "engine/DynamicsEngine.h"
#include "engine/HalfbandFir.h"
#include "engine/HalfbandKernels.h"
#include "engine/InstructionSet.h"
#include "engine/MeterReadouts.h"
#include "engine/StereoDelayLine.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr int kBlock = 512;

// Time per stereo host sample, shown by the benchmark library as a rate inverted to seconds.
benchmark::Counter perSample(benchmark::State& state, int samplesPerIteration) {
    return benchmark::Counter(static_cast<double>(state.iterations()) * samplesPerIteration,
                              benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

std::vector<double> noise(int count, uint32_t seed) {
    std::vector<double> x(count);
    for (double& v : x) {
        seed = seed * 1664525u + 1013904223u;
        v = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 1.2;
    }
    return x;
}

// A compressing configuration: -30 dB threshold, 8:1, RMS detection, both harmonics on, a
// parallel dry path, and the sidechain filter off or at its longest chain (3 dB/oct).
void configure(DynamicsEngine& e, double rateHz, ScFilterType scFilterType) {
    e.setSampleRate(rateHz);
    e.setThreshold(-30.0);
    e.setKnee(6.0);
    e.setRatio(-6.0);
    e.setDetection(10.0);
    e.setAttack(2.0);
    e.setRelease(50.0);
    e.setReleaseSlow(500.0);
    e.setScFilterType(scFilterType);
    e.setScFilterFreq(100.0);
    e.setHfHarmonics(true);
    e.setHfHarmonicsAmount(0.4);
    e.setLfHarmonics(true);
    e.setLfHarmonicsAmount(0.3);
    e.setMixDry(0.05);
    e.setMakeUpGain(2.0);
}

// With the external source the detector hears a key of its own noise; the internal source is
// given the same key, which it does not read.
void runEngine(benchmark::State& state, float rateHz, ScFilterType scFilterType,
               InstructionSet set = bestInstructionSet(), ScSource source = ScSource::internal) {
    if (!isSupported(set)) return state.SkipWithError("instruction set not supported");
    auto engine = std::make_unique<DynamicsEngine>(set);
    configure(*engine, rateHz, scFilterType);
    engine->setScSource(source);
    StereoDelayLine bypass(500);
    bypass.setLength(151);
    MeterReadouts meters;
    const auto left = noise(kBlock, 1), right = noise(kBlock, 2);
    const auto keyLeft = noise(kBlock, 3), keyRight = noise(kBlock, 4);
    std::vector<double> outL(kBlock), outR(kBlock);
    const double* inputs[2] = {left.data(), right.data()};
    const double* key[2] = {keyLeft.data(), keyRight.data()};
    double* outputs[2] = {outL.data(), outR.data()};
    for (auto _ : state) {
        processBlock<double>(*engine, bypass, false, rateHz, meters, inputs, outputs, kBlock,
                             HostKey<double>{key, 2});
        benchmark::DoNotOptimize(outL.data());
    }
    state.counters["per_sample"] = perSample(state, kBlock);
}

void OversampledFrame44k(benchmark::State& state) {
    runEngine(state, 44100.0f, ScFilterType::off);
}
void PlainFrame96k(benchmark::State& state) {
    runEngine(state, 96000.0f, ScFilterType::off);
}
void OversampledFrame44kShelvedSidechain(benchmark::State& state) {
    runEngine(state, 44100.0f, ScFilterType::threePerOctave);
}
void PlainFrame96kShelvedSidechain(benchmark::State& state) {
    runEngine(state, 96000.0f, ScFilterType::threePerOctave);
}
// The same with the detector on the key; compare each with its internal twin above.
void OversampledFrame44kExternal(benchmark::State& state) {
    runEngine(state, 44100.0f, ScFilterType::off, bestInstructionSet(), ScSource::external);
}
void PlainFrame96kExternal(benchmark::State& state) {
    runEngine(state, 96000.0f, ScFilterType::off, bestInstructionSet(), ScSource::external);
}
void OversampledFrame44kShelvedSidechainExternal(benchmark::State& state) {
    runEngine(state, 44100.0f, ScFilterType::threePerOctave, bestInstructionSet(),
              ScSource::external);
}
void PlainFrame96kShelvedSidechainExternal(benchmark::State& state) {
    runEngine(state, 96000.0f, ScFilterType::threePerOctave, bestInstructionSet(),
              ScSource::external);
}

// The oversampled frame with the code of each instruction set, side by side.
void OversampledFrame44kSse2(benchmark::State& state) {
    runEngine(state, 44100.0f, ScFilterType::off, InstructionSet::sse2);
}
void OversampledFrame44kAvx2Fma(benchmark::State& state) {
    runEngine(state, 44100.0f, ScFilterType::off, InstructionSet::avx2Fma);
}
void OversampledFrame44kExternalSse2(benchmark::State& state) {
    runEngine(state, 44100.0f, ScFilterType::off, InstructionSet::sse2, ScSource::external);
}
void OversampledFrame44kExternalAvx2Fma(benchmark::State& state) {
    runEngine(state, 44100.0f, ScFilterType::off, InstructionSet::avx2Fma, ScSource::external);
}
BENCHMARK(OversampledFrame44kSse2);
BENCHMARK(OversampledFrame44kAvx2Fma);
BENCHMARK(OversampledFrame44kExternalSse2);
BENCHMARK(OversampledFrame44kExternalAvx2Fma);

// The odd-tap sum alone, over a doubled history of 152 pairs.
void runKernel(benchmark::State& state, HalfbandKernel kernel) {
    const auto taps = makeHalfbandTaps();
    alignas(64) double oddTaps[2 * kHalfbandOddTaps];
    for (int j = 0; j < kHalfbandOddTaps; ++j)
        oddTaps[2 * j] = oddTaps[2 * j + 1] = taps[2 * j + 1];
    constexpr int kPairs = 2 * kHalfbandOddTaps;
    alignas(32) double history[2 * kPairs];
    const auto x = noise(2 * kPairs, 3);
    for (int i = 0; i < 2 * kPairs; ++i)
        history[i] = x[i];
    int position = 0;
    for (auto _ : state) {
        double out[2];
        kernel(oddTaps, history + 2 * position, out);
        benchmark::DoNotOptimize(out);
        if (--position < 0) position += kHalfbandOddTaps;
    }
    state.counters["per_sum"] = perSample(state, 1);
}

void HalfbandScalar(benchmark::State& state) {
    runKernel(state, &halfbandSumScalar);
}
void HalfbandOptimised(benchmark::State& state) {
    runKernel(state, bestHalfbandKernel());
}
#if defined(__x86_64__) || defined(__i386__)
void HalfbandSse2(benchmark::State& state) {
    runKernel(state, &halfbandSumSse2);
}
BENCHMARK(HalfbandSse2);
void HalfbandAvx2Fma(benchmark::State& state) {
    if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("fma"))
        return state.SkipWithError("no AVX2/FMA");
    runKernel(state, &halfbandSumAvx2Fma);
}
BENCHMARK(HalfbandAvx2Fma);
#endif

BENCHMARK(OversampledFrame44k);
BENCHMARK(PlainFrame96k);
BENCHMARK(OversampledFrame44kShelvedSidechain);
BENCHMARK(PlainFrame96kShelvedSidechain);
BENCHMARK(OversampledFrame44kExternal);
BENCHMARK(PlainFrame96kExternal);
BENCHMARK(OversampledFrame44kShelvedSidechainExternal);
BENCHMARK(PlainFrame96kShelvedSidechainExternal);
BENCHMARK(HalfbandScalar);
BENCHMARK(HalfbandOptimised);

} // namespace

BENCHMARK_MAIN();
