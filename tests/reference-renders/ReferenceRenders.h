#pragma once

// The whole effect's output for every factory program at 44.1 and 96 kHz on three short signals,
// and the compact file that keeps these renders as the engine gave them before its
// double-precision arithmetic was reordered for speed: every later engine stays within a small
// budget of them.

#include "plugin/CompressorEffect.h"
#include "plugin/FactoryPrograms.h"

#include <cstdint>
#include <string>
#include <vector>

namespace reference {

// Stereo frames per render: long enough for every program to attack and release on the signals
// below, short enough that all renders fit in well under a megabyte.
constexpr int kFrames = 2048;

enum class Signal { sineSweep, noiseBursts, demo };
constexpr Signal kSignals[] = {Signal::sineSweep, Signal::noiseBursts, Signal::demo};
constexpr float kRatesHz[] = {44100.0f, 96000.0f};

struct Case {
    int program;
    float rateHz;
    Signal signal;
};

// Every case, in the order the file keeps them.
std::vector<Case> allCases();
std::string describe(const Case& c);

// Input in single precision, so both sample types see the same values.
struct StereoInput {
    std::vector<float> left, right;
};
StereoInput input(Signal signal, float rateHz);

struct StereoOutput {
    std::vector<double> left, right;
};
// The effect after a fresh start with the program, in host blocks of 512.
template <typename Sample> StereoOutput render(const Case& c);

// Every render in case order, each left then right. The file holds them in fixed point, to within
// kKeptPrecision, with the bytes of equal significance together (the high ones repeat, the low
// ones do not), compressed with zlib. Writing fails for samples beyond the fixed point's reach.
constexpr double kKeptPrecision = 1.2e-10;
bool writeRenders(const std::string& path, const std::vector<double>& samples);
// Empty when the file is missing, broken or of another length than expected.
std::vector<double> readRenders(const std::string& path, std::size_t expectedSamples);

} // namespace reference
