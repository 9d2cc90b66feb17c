#include "ReferenceRenders.h"

#include "tools/qvl-render/DemoSignal.h"

#include <zlib.h>

#include <cmath>
#include <fstream>
#include <iterator>

namespace reference {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kBlock = 512;
// Fixed point of 2^-32 of full scale in five bytes: a step of 2.3e-10, so the kept renders sit
// within 1.2e-10 of the engine's output, about a thousandth of the budget, and reach to 128.
constexpr double kStepsPerUnit = 4294967296.0;
constexpr int kBytesPerSample = 5;
constexpr double kLargestSample = 127.0;

// 20 Hz to 20 kHz, exponentially, at full scale; the right channel a quarter turn behind so
// mid and side both carry the sweep.
StereoInput sineSweep(float rateHz) {
    StereoInput in{std::vector<float>(kFrames), std::vector<float>(kFrames)};
    const double seconds = kFrames / static_cast<double>(rateHz);
    const double logRatio = std::log(20000.0 / 20.0);
    for (int n = 0; n < kFrames; ++n) {
        const double t = n / static_cast<double>(rateHz);
        const double phase =
            2.0 * kPi * 20.0 * seconds / logRatio * (std::exp(t / seconds * logRatio) - 1.0);
        in.left[n] = static_cast<float>(std::sin(phase));
        in.right[n] = static_cast<float>(std::sin(phase - 0.5 * kPi));
    }
    return in;
}

// Uncorrelated white noise in eight bursts at -1, -24, -6 and -60 dBFS, so every program
// attacks, releases through both envelopes and passes the knee both ways.
StereoInput noiseBursts() {
    StereoInput in{std::vector<float>(kFrames), std::vector<float>(kFrames)};
    constexpr double kBurstDb[] = {-1.0, -24.0, -6.0, -60.0};
    uint32_t seed = 0x9e3779b9u;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<double>(seed >> 8) / 8388608.0 - 1.0;
    };
    for (int n = 0; n < kFrames; ++n) {
        const double level = std::pow(10.0, kBurstDb[(n / (kFrames / 8)) % 4] / 20.0);
        in.left[n] = static_cast<float>(level * next());
        in.right[n] = static_cast<float>(level * next());
    }
    return in;
}

// The demo around its second beat, where kick, snare, hat and bass meet, at the level the
// renders were kept at (0.891, -1 dBFS), whatever level the renderer's demo has today.
StereoInput demoExcerpt(float rateHz) {
    const AudioData demo = makeDemoSignalPeakingAt(static_cast<int>(rateHz), 1.0, 0.891);
    const int start = static_cast<int>(rateHz) / 2 - kFrames / 4;
    StereoInput in{std::vector<float>(kFrames), std::vector<float>(kFrames)};
    for (int n = 0; n < kFrames; ++n) {
        in.left[n] = static_cast<float>(demo.left[start + n]);
        in.right[n] = static_cast<float>(demo.right[start + n]);
    }
    return in;
}

const char* signalName(Signal s) {
    switch (s) {
    case Signal::sineSweep:
        return "sine sweep";
    case Signal::noiseBursts:
        return "noise bursts";
    case Signal::demo:
        return "demo";
    }
    return "";
}

} // namespace

std::vector<Case> allCases() {
    std::vector<Case> cases;
    for (int program = 0; program < kNumPrograms; ++program)
        for (const float rateHz : kRatesHz)
            for (const Signal signal : kSignals)
                cases.push_back(Case{program, rateHz, signal});
    return cases;
}

std::string describe(const Case& c) {
    return "program " + std::to_string(c.program) + " at " +
           std::to_string(static_cast<int>(c.rateHz)) + " Hz, " + signalName(c.signal);
}

StereoInput input(Signal signal, float rateHz) {
    switch (signal) {
    case Signal::sineSweep:
        return sineSweep(rateHz);
    case Signal::noiseBursts:
        return noiseBursts();
    case Signal::demo:
        return demoExcerpt(rateHz);
    }
    return {};
}

template <typename Sample> StereoOutput render(const Case& c) {
    const StereoInput in = input(c.signal, c.rateHz);
    std::vector<Sample> left(in.left.begin(), in.left.end());
    std::vector<Sample> right(in.right.begin(), in.right.end());
    CompressorEffect effect(nullptr);
    effect.setSampleRate(c.rateHz);
    effect.setProgram(c.program);
    effect.resume();
    for (int start = 0; start < kFrames; start += kBlock) {
        Sample* channels[2] = {left.data() + start, right.data() + start};
        effect.process(channels, channels, kFrames - start < kBlock ? kFrames - start : kBlock);
    }
    return StereoOutput{std::vector<double>(left.begin(), left.end()),
                        std::vector<double>(right.begin(), right.end())};
}
template StereoOutput render<float>(const Case& c);
template StereoOutput render<double>(const Case& c);

bool writeRenders(const std::string& path, const std::vector<double>& samples) {
    const std::size_t count = samples.size();
    std::vector<unsigned char> planes(count * kBytesPerSample);
    for (std::size_t i = 0; i < count; ++i) {
        if (!(std::fabs(samples[i]) < kLargestSample)) return false;
        const auto steps = static_cast<uint64_t>(std::llround(samples[i] * kStepsPerUnit));
        for (int b = 0; b < kBytesPerSample; ++b)
            planes[b * count + i] = static_cast<unsigned char>(steps >> (8 * b));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(planes.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, planes.data(), static_cast<uLong>(planes.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return false;
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(packed.data()),
               static_cast<std::streamsize>(packedSize));
    return static_cast<bool>(file);
}

std::vector<double> readRenders(const std::string& path, std::size_t expectedSamples) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> packed((std::istreambuf_iterator<char>(file)),
                                            std::istreambuf_iterator<char>());
    std::vector<unsigned char> planes(expectedSamples * kBytesPerSample);
    uLongf size = static_cast<uLongf>(planes.size());
    if (packed.empty() ||
        uncompress(planes.data(), &size, packed.data(), static_cast<uLong>(packed.size())) !=
            Z_OK ||
        size != planes.size())
        return {};
    std::vector<double> samples(expectedSamples);
    for (std::size_t i = 0; i < expectedSamples; ++i) {
        uint64_t steps = 0;
        for (int b = 0; b < kBytesPerSample; ++b)
            steps |= static_cast<uint64_t>(planes[b * expectedSamples + i]) << (8 * b);
        // Sign extension from the top kept bit.
        const int unusedBits = 64 - 8 * kBytesPerSample;
        const auto signedSteps = static_cast<int64_t>(steps << unusedBits) >> unusedBits;
        samples[i] = static_cast<double>(signedSteps) / kStepsPerUnit;
    }
    return samples;
}

} // namespace reference
