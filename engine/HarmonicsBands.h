#pragma once

#include "engine/StereoBiquad.h"

// Low-pass at 90 Hz (Q 0.63) feeding the LF cube term.
BiquadCoefficients designLfBand(double internalRateHz);
// Band-pass with constant skirt gain, two octaves wide, at an angular centre (rad/s).
BiquadCoefficients designHfBand(double centreRadPerS, double internalRateHz);

// Two band-passes of designHfBand's form, direct form I (the form of StereoBiquad), on four
// lanes: left and right of the first in lanes 0 and 1 and of the second in lanes 2 and 3, each
// lane with its band's coefficients. The design gives b1 = 0 and b2 = -b0 exactly, so the step
// leaves out b1 x1, which adds zero, and takes b2 x2 as -(b0 x2): lane by lane the same values as
// two StereoBiquads, with two coefficients fewer to load on every step.
struct BandPassPair {
    WideLanes b0{}, a1{}, a2{};
    WideLanes y1{}, y2{}, x1{}, x2{};

    void setCoefficients(const BiquadCoefficients& first, const BiquadCoefficients& second);
    void clear() { y1 = y2 = x1 = x2 = WideLanes{}; }

    // In place: x in, y out (by reference, so no four-lane value crosses a call in SSE2 code).
    // kFused as for multiplyAdd.
    template <bool kFused = false> void step(WideLanes& x) {
        // b0 x + b2 x2 - a1 y1 - a2 y2, in that order.
        WideLanes y = b0 * x;
        subtractProductFrom<kFused>(y, b0, x2);
        subtractProductFrom<kFused>(y, a1, y1);
        subtractProductFrom<kFused>(y, a2, y2);
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        x = y;
    }
};

// The three filters that shape the added harmonics, and the waveshaping that follows them.
// Left runs in lane 0, right in lane 1.
struct HarmonicsBands {
    StereoBiquad lfBand;  // 90 Hz low-pass, cubed
    BandPassPair hfBands; // 3000 Hz band-pass (squared) and 5000 Hz band-pass (cubed)

    void design(double internalRateHz);
    void clear();

    // Both channels at once, each band fed a quarter of the signal. All three bands run on
    // every step, whatever the drives, so switching a drive on later finds settled filters.
    template <bool kFused = false> Lanes step(Lanes y, double lfDrive, double hfDrive) {
        const Lanes x = 0.25 * y;
        WideLanes hf{x[0], x[1], x[0], x[1]};
        hfBands.step<kFused>(hf);
        const Lanes e{hf[0], hf[1]};
        const Lanes d{hf[2], hf[3]};
        const Lanes b = lfBand.step<kFused>(x);
        // lfDrive b^3 + hfDrive / 2 d^3 + hfDrive e^2, in that order.
        return multiplyAdd<kFused>(Lanes{hfDrive, hfDrive}, e * e,
                                   multiplyAdd<kFused>(Lanes{hfDrive * 0.5, hfDrive * 0.5},
                                                       d * d * d, lfDrive * (b * b * b)));
    }
};
