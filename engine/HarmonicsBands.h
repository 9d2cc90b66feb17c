#pragma once

#include "StereoBiquad.h"

// Low-pass at 90 Hz (Q 0.63) feeding the LF cube term.
BiquadCoefficients designLfBand(double internalRateHz);
// Band-pass with constant skirt gain, two octaves wide, at an angular centre (rad/s).
BiquadCoefficients designHfBand(double centreRadPerS, double internalRateHz);

// The three filters that shape the added harmonics, and the waveshaping that follows them.
// Left runs on channel 0, right on channel 1.
struct HarmonicsBands {
    StereoBiquad lfBand;     // 90 Hz low-pass, cubed
    StereoBiquad hfEvenBand; // 3000 Hz band-pass, squared
    StereoBiquad hfOddBand;  // 5000 Hz band-pass, cubed

    void design(double internalRateHz);
    void clear();

    // All three bands run on every step, whatever the drives, so switching a drive on later
    // finds settled filters.
    double step(int channelIndex, double y, double lfDrive, double hfDrive) {
        const double x = 0.25 * y;
        const double e = hfEvenBand.step(channelIndex, x);
        const double d = hfOddBand.step(channelIndex, x);
        const double b = lfBand.step(channelIndex, x);
        return lfDrive * (b * b * b) + hfDrive * 0.5 * (d * d * d) + hfDrive * (e * e);
    }
};
