// The whole effect on every instruction-set path this processor offers, side by side with
// Debian's LSP Compressor Stereo (lsp-plugins-vst) in feedback mode, 10:1, -30 dB, in one
// process: each repetition is one round, a pass over the demo signal by every contestant in
// turn, and gives one ratio per path. The aggregates' median is the median of those ratios, so
// the machine's slow and fast spells fall on both sides of each ratio alike.
//
//   bench_paths --benchmark_repetitions=31 --benchmark_report_aggregates_only=true
//
// The label names the program and the path the effect picks here by itself.
#include "DemoSignal.h"
#include "HostedPlugin.h"
#include "engine/InstructionSet.h"
#include "plugin/CompressorEffect.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBlock = 512;
constexpr double kRoundSeconds = 2.0;
// QVL_YARDSTICK names another copy of the module.
constexpr const char* kYardstickPath = "/usr/lib/vst/lsp-plugins/compressor-stereo.so";
// Sidechain type feedback, ratio 10:1, threshold -30 dB, as normalized VST 2 values.
constexpr struct {
    int index;
    float value;
} kYardstickSettings[] = {{5, 1.0f}, {21, 0.5f}, {17, 0.5f}};

struct Path {
    InstructionSet set;
    const char* name;
};
constexpr Path kPaths[] = {{InstructionSet::sse2, "sse2"}, {InstructionSet::avx2Fma, "avx2"}};

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The demo signal in single precision, the call hosts use most.
struct Signal {
    std::vector<float> in[2], out[2];

    explicit Signal(int sampleRateHz) {
        const AudioData demo = makeDemoSignal(sampleRateHz, kRoundSeconds);
        for (int c = 0; c < 2; ++c) {
            const std::vector<double>& source = c == 0 ? demo.left : demo.right;
            in[c].assign(source.begin(), source.end());
            out[c].resize(source.size());
        }
    }

    // Processor seconds of this thread for one pass, block by block.
    template <typename Process> double pass(Process process) {
        const std::size_t frames = in[0].size();
        const double begin = threadSeconds();
        for (std::size_t start = 0; start < frames; start += kBlock) {
            const int count = static_cast<int>(frames - start < kBlock ? frames - start : kBlock);
            float* inputs[2] = {in[0].data() + start, in[1].data() + start};
            float* outputs[2] = {out[0].data() + start, out[1].data() + start};
            process(inputs, outputs, count);
        }
        return threadSeconds() - begin;
    }
};

const char* yardstickPath() {
    const char* path = std::getenv("QVL_YARDSTICK");
    return path != nullptr ? path : kYardstickPath;
}

const char* pickedPathName() {
    for (const Path& path : kPaths)
        if (path.set == bestInstructionSet()) return path.name;
    return "?";
}

void runPaths(benchmark::State& state, float sampleRateHz) {
    const int program = static_cast<int>(state.range(0));
    HostedPlugin yardstick(yardstickPath(), HostOptions{vst2::kVstVersion, false});
    if (!yardstick.isLoaded())
        return state.SkipWithError(("no yardstick: " + yardstick.error()).c_str());
    for (const auto& setting : kYardstickSettings)
        yardstick.setParameter(setting.index, setting.value);
    yardstick.setSampleRate(sampleRateHz);
    yardstick.setBlockSize(kBlock);
    yardstick.resume();

    std::vector<std::unique_ptr<CompressorEffect>> effects;
    std::vector<const char*> names;
    for (const Path& path : kPaths) {
        if (!isSupported(path.set)) continue;
        effects.push_back(std::make_unique<CompressorEffect>(nullptr, path.set));
        names.push_back(path.name);
        CompressorEffect& effect = *effects.back();
        effect.setSampleRate(sampleRateHz);
        effect.setProgram(program);
        effect.resume();
    }

    Signal signal(static_cast<int>(sampleRateHz));
    const auto yardstickPass = [&] {
        return signal.pass([&](float** in, float** out, int n) { yardstick.process(in, out, n); });
    };
    const auto effectPass = [&](CompressorEffect& effect) {
        return signal.pass([&](float** in, float** out, int n) { effect.process(in, out, n); });
    };
    // One untimed pass each warms the caches and lets every contestant settle.
    yardstickPass();
    for (const auto& effect : effects)
        effectPass(*effect);

    std::vector<double> ratioSums(effects.size(), 0.0);
    double yardstickSeconds = 0.0;
    for (auto _ : state) {
        const double theirs = yardstickPass();
        yardstickSeconds += theirs;
        for (std::size_t e = 0; e < effects.size(); ++e)
            ratioSums[e] += effectPass(*effects[e]) / theirs;
    }
    const auto iterations = static_cast<double>(state.iterations());
    const double frames = static_cast<double>(signal.in[0].size());
    state.counters["lsp_ns"] = 1e9 * yardstickSeconds / iterations / frames;
    for (std::size_t e = 0; e < effects.size(); ++e)
        state.counters[names[e]] = ratioSums[e] / iterations;
    state.SetLabel(std::string(effects.front()->programName(program)) + ", picks " +
                   pickedPathName());
    yardstick.suspend();
}

void PathsAt44k(benchmark::State& state) {
    runPaths(state, 44100.0f);
}
void PathsAt96k(benchmark::State& state) {
    runPaths(state, 96000.0f);
}

// One round per repetition, so each repetition's counters are one round's ratios.
BENCHMARK(PathsAt44k)
    ->DenseRange(0, kNumPrograms - 1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PathsAt96k)
    ->DenseRange(0, kNumPrograms - 1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
