#pragma once

#include "AudioFile.h"

#include <iosfwd>

class LoadedEdition;

struct RenderSettings {
    int blockSize = 512;
    bool singlePrecision = false;
    bool keepLatency = false;
    bool showProgress = false;      // a bar on standard error
    const AudioData* key = nullptr; // the key (sidechain) input, at the input's rate
};

struct RenderResult {
    AudioData output;
    int latencyFrames = 0;
    bool hasGainReduction = false; // the plug-in publishes its gain (readout 501)
    double maxGainReductionDb = 0.0;
    bool equalsInput = false; // the output is the input, but for noise below -100 dBFS
};

// Runs the audio through a plug-in that is loaded, configured and stopped: starts it at the
// input's rate and block size, reads the latency, processes host-sized blocks in double
// precision unless single is asked for or the plug-in offers only single (mono is fed to both
// inputs; the left output is kept), and stops it again. Without keepLatency the first
// `latency` output frames are dropped and as many frames of silence are fed at the end, so the
// output lines up with the input and has its length. A key goes to the plug-in's connected key
// input block by block beside the input; past its end the key is silence. `outputFormat` is
// the format the output will be written in.
RenderResult renderAudio(LoadedEdition& plugin, const AudioData& input, int outputFormat,
                         const RenderSettings& settings);

// Peak and RMS levels in dBFS of input and output, and the maximum gain reduction.
void printSummary(const AudioData& input, const RenderResult& result, std::ostream& out);
