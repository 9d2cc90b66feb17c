// The CLAP module against the VST 2 module, side by side in one run, each loaded as a host
// loads it: rounds of 512-sample stereo blocks, the two modules taking turns (which goes first
// alternates), the time of every round kept. Prints the medians per host sample and their ratio
// for each factory program at 44.1 kHz (the oversampled frame) and 96 kHz. The machine may be
// shared and noisy: rounds are timed in the thread's CPU time, which another process taking the
// core does not add to, and the ratio is the median of the ratios of neighbouring rounds.
#include "HostedClapPlugin.h"
#include "HostedPlugin.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr uint32_t kBlock = 512;
constexpr int kBlocksPerRound = 200;
constexpr int kRounds = 41;

std::vector<float> noise(uint32_t seed, std::size_t frames) {
    std::vector<float> x(frames);
    for (std::size_t i = 0; i < x.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double swing =
            0.05 + 0.9 * (0.5 + 0.5 * std::sin(6.283185307179586 * static_cast<double>(i) /
                                               static_cast<double>(frames)));
        x[i] =
            static_cast<float>((static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 2.0 * swing);
    }
    return x;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

template <typename Process> double roundSeconds(Process process) {
    const double start = threadSeconds();
    for (int b = 0; b < kBlocksPerRound; ++b)
        process(b);
    return threadSeconds() - start;
}

} // namespace

int main() {
    const std::size_t frames = 16 * kBlock;
    std::vector<float> left = noise(1, frames), right = noise(2, frames);
    std::vector<float> outLeft(kBlock), outRight(kBlock);
    float* outputs[2] = {outLeft.data(), outRight.data()};
    std::printf("%-8s %-7s %12s %12s %8s\n", "program", "rate", "VST2 ns/smp", "CLAP ns/smp",
                "ratio");
    std::vector<double> ratios;
    for (const float rateHz : {44100.0f, 96000.0f})
        for (int program = 0; program < 7; ++program) {
            HostedPlugin vst2(QVL_MODULE_PATH, HostOptions{vst2::kVstVersion, false});
            vst2.setSampleRate(rateHz);
            vst2.setBlockSize(kBlock);
            vst2.setProgram(program);
            vst2.resume();
            HostedClapPlugin clap(QVL_CLAP_MODULE_PATH);
            // The same program through the CLAP edition's saved state.
            std::vector<uint8_t> record = {
                'Q', 'V', 'L', 's', 1, 0, 0, 0, static_cast<uint8_t>(program), 0, 0, 0};
            for (int i = 0; i < 21; ++i) {
                const float v = vst2.getParameter(i);
                uint8_t bytes[4];
                std::memcpy(bytes, &v, 4);
                record.insert(record.end(), bytes, bytes + 4);
            }
            if (!clap.isLoaded() || !clap.loadState(record) || !clap.activate(rateHz, kBlock)) {
                std::fprintf(stderr, "cannot load the CLAP module: %s\n", clap.error().c_str());
                return 1;
            }
            const auto input = [&](int b) {
                const std::size_t at = (static_cast<std::size_t>(b) * kBlock) % frames;
                return std::pair{left.data() + at, right.data() + at};
            };
            std::vector<double> vst2Times, clapTimes;
            for (int round = 0; round < kRounds; ++round) {
                const auto runVst2 = [&] {
                    vst2Times.push_back(roundSeconds([&](int b) {
                        auto [l, r] = input(b);
                        float* inputs[2] = {l, r};
                        vst2.process(inputs, outputs, kBlock);
                    }));
                };
                const auto runClap = [&] {
                    clapTimes.push_back(roundSeconds([&](int b) {
                        auto [l, r] = input(b);
                        float* inputs[2] = {l, r};
                        clap.process(inputs, outputs, kBlock);
                    }));
                };
                if (round % 2) {
                    runVst2();
                    runClap();
                } else {
                    runClap();
                    runVst2();
                }
            }
            const double perSample = 1e9 / (kBlocksPerRound * kBlock);
            std::vector<double> roundRatios;
            for (std::size_t i = 0; i < clapTimes.size(); ++i)
                roundRatios.push_back(clapTimes[i] / vst2Times[i]);
            const double v = median(vst2Times) * perSample, c = median(clapTimes) * perSample;
            ratios.push_back(median(roundRatios));
            std::printf("%-8d %-7.0f %12.2f %12.2f %8.3f\n", program, rateHz, v, c, ratios.back());
        }
    std::printf("median ratio CLAP / VST2: %.3f\n", median(ratios));
    return 0;
}
