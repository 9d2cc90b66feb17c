#pragma once

#include "AudioFile.h"

// Eight bars of drums and bass at 120 beats per minute, generated with a fixed seed so every
// run renders the same material: a kick on every beat, a noisy snare on two and four, closed
// hats on the eighths and a bass line, peaking at -5 dBFS. Loud, transient and bass-heavy,
// it makes a compressor work. Stereo, 32-bit float WAV format.
AudioData makeDemoSignal(int sampleRateHz, double seconds);

// Whether `path` holds a file of the kind a demo run writes: a float WAV, stereo, at the
// demo's rate and as long as the demo, or longer by at most a second (a kept latency). The
// demo's own files of this kind are replaced by the next run without asking.
bool holdsDemoOutput(const std::string& path, int sampleRateHz, double seconds);
