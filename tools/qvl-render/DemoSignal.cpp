#include "DemoSignal.h"

#include <sndfile.h>

#include <cmath>
#include <cstdint>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kBeatsPerSecond = 2.0;

// A small deterministic generator, the same on every system.
class Noise {
  public:
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / 8388608.0 - 1.0;
    }

  private:
    uint32_t state_ = 0x5eed1234u;
};

// Bass notes per eighth, in Hz: a two-bar riff on A.
constexpr double kBassLine[16] = {55.0, 55.0, 0.0,   55.0,  65.41, 0.0,   73.42, 55.0,
                                  55.0, 0.0,  82.41, 73.42, 65.41, 65.41, 49.0,  0.0};

} // namespace

AudioData makeDemoSignalPeakingAt(int sampleRateHz, double seconds, double peakAmplitude) {
    AudioData demo;
    demo.sampleRateHz = sampleRateHz;
    demo.channels = 2;
    demo.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT; // make-up gain may take the output past 0 dBFS
    const auto frames = static_cast<std::size_t>(seconds * sampleRateHz);
    demo.left.assign(frames, 0.0);
    demo.right.assign(frames, 0.0);

    const double fs = sampleRateHz;
    const double eighth = fs / (2.0 * kBeatsPerSecond);
    Noise noise;
    double hatState = 0.0, snareState = 0.0, bassPhase = 0.0, bassLow = 0.0, kickPhase = 0.0;
    long lastBeat = -1;
    for (std::size_t n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) / fs;
        const double beatTime = std::fmod(t * kBeatsPerSecond, 1.0) / kBeatsPerSecond;
        const long beat = static_cast<long>(t * kBeatsPerSecond);
        const long eighthIndex = static_cast<long>(static_cast<double>(n) / eighth);
        const double eighthTime =
            (static_cast<double>(n) - static_cast<double>(eighthIndex) * eighth) / fs;

        // Kick: a sine falling from 150 to 45 Hz, decaying over about 0.3 s.
        if (beat != lastBeat) {
            lastBeat = beat;
            kickPhase = 0.0;
        }
        const double kickHz = 45.0 + 105.0 * std::exp(-beatTime / 0.03);
        kickPhase += 2.0 * kPi * kickHz / fs;
        const double kick = 0.9 * std::sin(kickPhase) * std::exp(-beatTime / 0.12);

        // Snare on beats two and four: a noise burst with a 185 Hz body.
        const double white = noise.next();
        snareState += 0.6 * (white - snareState);
        double snare = 0.0;
        if (beat % 2 == 1) {
            const double envelope = std::exp(-beatTime / 0.09);
            snare = envelope *
                    (0.45 * (white - snareState) + 0.25 * std::sin(2.0 * kPi * 185.0 * beatTime));
        }

        // Closed hats on every eighth: high-passed noise, 25 ms.
        const double hatNoise = noise.next();
        const double hat = 0.12 * (hatNoise - hatState) * std::exp(-eighthTime / 0.025);
        hatState = hatNoise;

        // Bass: a low-passed sawtooth per eighth note, gated before the next note.
        const double noteHz = kBassLine[eighthIndex % 16];
        double bass = 0.0;
        if (noteHz > 0.0) {
            bassPhase = std::fmod(bassPhase + noteHz / fs, 1.0);
            const double gate = eighthTime < 0.2 ? 1.0 : std::exp(-(eighthTime - 0.2) / 0.02);
            bass = 0.4 * (2.0 * bassPhase - 1.0) * gate;
        }
        bassLow += 0.08 * (bass - bassLow);

        demo.left[n] = kick + 0.9 * snare + 0.6 * hat + bassLow;
        demo.right[n] = kick + 0.7 * snare + 1.0 * hat + bassLow;
    }

    double peak = 0.0;
    for (std::size_t n = 0; n < frames; ++n)
        peak = std::fmax(peak, std::fmax(std::fabs(demo.left[n]), std::fabs(demo.right[n])));
    const double scale = peak > 0.0 ? peakAmplitude / peak : 1.0;
    for (std::size_t n = 0; n < frames; ++n) {
        demo.left[n] *= scale;
        demo.right[n] *= scale;
    }
    return demo;
}

AudioData makeDemoSignal(int sampleRateHz, double seconds) {
    // A peak at -5 dBFS leaves room for the make-up gain of the program the demo runs with,
    // whose output then peaks below 0 dBFS.
    return makeDemoSignalPeakingAt(sampleRateHz, seconds, std::pow(10.0, -5.0 / 20.0));
}
