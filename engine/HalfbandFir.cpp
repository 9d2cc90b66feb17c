#include "engine/HalfbandFir.h"

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;

// Zeroth-order modified Bessel function of the first kind, by its power series.
double besselI0(double x) {
    const double quarterSquare = 0.25 * x * x;
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; term > sum * 1e-18; ++k) {
        term *= quarterSquare / (static_cast<double>(k) * k);
        sum += term;
    }
    return sum;
}

} // namespace

std::array<double, kHalfbandTaps> makeHalfbandTaps() {
    constexpr double beta = 3.0 * kPi;
    const double windowNorm = besselI0(beta);
    std::array<double, kHalfbandTaps> taps{};
    double sum = 0.0;
    for (int j = -kHalfbandCentre; j <= kHalfbandCentre; ++j) {
        const double ideal = j == 0 ? 0.5 : std::sin(kPi * j / 2.0) / (kPi * j);
        const double ratio = static_cast<double>(j) / kHalfbandCentre;
        const double window = besselI0(beta * std::sqrt(1.0 - ratio * ratio)) / windowNorm;
        // sin(pi j / 2) is only nearly zero for even j in floating point; the even taps are zero.
        const double raw = (j != 0 && j % 2 == 0) ? 0.0 : ideal * window;
        taps[kHalfbandCentre + j] = raw;
        sum += raw;
    }
    for (double& tap : taps)
        tap /= sum;
    return taps;
}

HalfbandFir::HalfbandFir(const std::array<double, kHalfbandTaps>& taps, InstructionSet set)
    : centreTap_(taps[kHalfbandCentre]), kernel_(halfbandKernel(set)) {
    for (int j = 0; j < kHalfbandOddTaps; ++j)
        oddTaps_[2 * j] = oddTaps_[2 * j + 1] = taps[2 * j + 1];
}

void HalfbandFir::clear() {
    for (Half& half : halves_) {
        half.pairs.fill(0.0);
        half.shifted.fill(0.0);
        half.position = 0;
    }
}
