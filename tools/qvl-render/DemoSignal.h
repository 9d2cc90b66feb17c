#pragma once

#include "AudioFile.h"

// Eight bars of drums and bass at 120 beats per minute, generated with a fixed seed so every
// run renders the same material: a kick on every beat, a noisy snare on two and four, closed
// hats on the eighths and a bass line, peaking at -5 dBFS. Loud, transient and bass-heavy,
// it makes a compressor work. Stereo, 32-bit float WAV format.
AudioData makeDemoSignal(int sampleRateHz, double seconds);
// The same material with its peak at another amplitude.
AudioData makeDemoSignalPeakingAt(int sampleRateHz, double seconds, double peakAmplitude);
