#pragma once

#include "AudioFile.h"

#include <iosfwd>

class AudioPlugin;

struct RenderSettings {
    int blockSize = 512;
    bool singlePrecision = false;
    bool keepLatency = false;
    bool showProgress = false; // a bar on standard error
};

struct RenderResult {
    AudioData output;
    int latencyFrames = 0;
    bool hasGainReduction = false; // the plug-in publishes its gain (readout 501)
    double maxGainReductionDb = 0.0;
};

// Runs the audio through a plug-in that is loaded, configured and suspended: sets the rate and
// block size, resumes, reads the latency, processes host-sized blocks in double precision unless
// single is asked for or the plug-in offers only single (mono is fed to both
// inputs; the left output is kept), and suspends again. Without keepLatency the first
// `latency` output frames are dropped and as many frames of silence are fed at the end, so the
// output lines up with the input and has its length.
RenderResult renderAudio(AudioPlugin& plugin, const AudioData& input,
                         const RenderSettings& settings);

// Peak and RMS levels in dBFS of input and output, and the maximum gain reduction.
void printSummary(const AudioData& input, const RenderResult& result, std::ostream& out);
