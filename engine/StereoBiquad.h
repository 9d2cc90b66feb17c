#pragma once

// Normalized biquad coefficients (already divided by a0).
struct BiquadCoefficients {
    double b0 = 0.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double a1 = 0.0;
    double a2 = 0.0;
};

// Low shelf of the widely published cookbook form; gainDb below 0 cuts the lows.
BiquadCoefficients designLowShelf(double centreHz, double q, double gainDb, double internalRateHz);

// Direct form I biquad with one shared coefficient set and two channel states. Channel 0 carries
// the left (or side) signal, channel 1 the right (or mid) signal.
struct StereoBiquad {
    struct ChannelState {
        double y1 = 0.0;
        double y2 = 0.0;
        double x1 = 0.0;
        double x2 = 0.0;
    };

    BiquadCoefficients coefficients;
    ChannelState channel[2];

    void clear() { channel[0] = channel[1] = ChannelState{}; }

    double step(int channelIndex, double x) {
        ChannelState& s = channel[channelIndex];
        const BiquadCoefficients& c = coefficients;
        const double y = c.b0 * x + c.b1 * s.x1 + c.b2 * s.x2 - c.a1 * s.y1 - c.a2 * s.y2;
        s.x2 = s.x1;
        s.x1 = x;
        s.y2 = s.y1;
        s.y1 = y;
        return y;
    }
};
