#pragma once

#include "StereoBiquad.h"

// Low-pass at 90 Hz (Q 0.63) feeding the LF cube term.
BiquadCoefficients designLfBand(double internalRateHz);
// Band-pass with constant skirt gain, two octaves wide, at an angular centre (rad/s).
BiquadCoefficients designHfBand(double centreRadPerS, double internalRateHz);

// The three filters that shape the added harmonics, and the waveshaping that follows them.
// Left runs in lane 0, right in lane 1.
struct HarmonicsBands {
    StereoBiquad lfBand;     // 90 Hz low-pass, cubed
    StereoBiquad hfEvenBand; // 3000 Hz band-pass, squared
    StereoBiquad hfOddBand;  // 5000 Hz band-pass, cubed

    void design(double internalRateHz);
    void clear();

    // Both channels at once, each band fed a quarter of the signal. All three bands run on
    // every step, whatever the drives, so switching a drive on later finds settled filters.
    Lanes step(Lanes y, double lfDrive, double hfDrive) {
        const Lanes x = 0.25 * y;
        const Lanes e = hfEvenBand.step(x);
        const Lanes d = hfOddBand.step(x);
        const Lanes b = lfBand.step(x);
        return lfDrive * (b * b * b) + hfDrive * 0.5 * (d * d * d) + hfDrive * (e * e);
    }
};
