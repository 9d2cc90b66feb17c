#pragma once

#include "HalfbandKernels.h"

#include <array>

constexpr int kHalfbandTaps = 304;
constexpr int kHalfbandCentre = 150;

// Kaiser-windowed (beta 3 pi) halfband sinc over slots 0..300, normalized to unity DC gain;
// slots 301..303 are zero. Only the centre and the odd slots are non-zero.
std::array<double, kHalfbandTaps> makeHalfbandTaps();

// Two-channel halfband FIR for 2x interpolation and decimation. The history keeps every pair
// twice, 304 pairs apart, so the 304 most recent pairs are contiguous from the current position
// and the sum needs no wrap test; positions count down.
class HalfbandFir {
public:
    explicit HalfbandFir(const std::array<double, kHalfbandTaps>& taps);

    void clear();

    // Push a pair and replace it by the full output (centre plus odd taps).
    void pushFull(double& left, double& right) {
        push(left, right);
        double sum[2];
        kernel_(oddTaps_.data(), history_.data() + 2 * (position_ + 1), sum);
        const double* centre = history_.data() + 2 * (position_ + kHalfbandCentre);
        left = centreTap_ * centre[0] + sum[0];
        right = centreTap_ * centre[1] + sum[1];
        advance();
    }

    // Push a pair and replace it by the centre product alone; the odd taps only ever meet the
    // zeros that interpolation stuffs in between.
    void pushCentre(double& left, double& right) {
        push(left, right);
        const double* centre = history_.data() + 2 * (position_ + kHalfbandCentre);
        left = centreTap_ * centre[0];
        right = centreTap_ * centre[1];
        advance();
    }

    // Push a pair whose output the decimator drops.
    void pushOnly(double left, double right) {
        push(left, right);
        advance();
    }

private:
    void push(double left, double right) {
        double* slot = history_.data() + 2 * position_;
        slot[0] = slot[2 * kHalfbandTaps] = left;
        slot[1] = slot[2 * kHalfbandTaps + 1] = right;
    }

    void advance() {
        if (--position_ < 0) position_ += kHalfbandTaps;
    }

    double centreTap_;
    HalfbandKernel kernel_;
    alignas(32) std::array<double, 2 * kHalfbandOddTaps> oddTaps_{}; // c1, c1, c3, c3, ...
    alignas(32) std::array<double, 4 * kHalfbandTaps> history_{};    // pairs, stored twice
    int position_ = 0;
};
