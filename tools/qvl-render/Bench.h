#pragma once

#include <iosfwd>
#include <string>

class LoadedEdition;

struct BenchSettings {
    double sampleRateHz = 44100.0;
    double seconds = 10.0;
    int rounds = 7;
    int blockSize = 512;
};

// Times the plug-in (and the yardstick, when given, interleaved round by round in this same
// process) over the demo signal in single precision, the call hosts use most, and prints the
// median ns per stereo sample (processor time of the calling thread), the realtime factor and,
// with a yardstick, the ratio.
void runBench(LoadedEdition& plugin, LoadedEdition* yardstick, const BenchSettings& settings,
              std::ostream& out);
