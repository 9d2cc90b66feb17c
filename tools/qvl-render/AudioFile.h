#pragma once

#include <string>
#include <vector>

// A sound file in memory: one or two channels of normalized samples and what is needed to
// write it back in the same form.
struct AudioData {
    int sampleRateHz = 0;
    int channels = 0;
    int format = 0;                  // libsndfile's major format and subtype
    std::vector<double> left, right; // right stays empty for mono
};

// False with a message when the file is missing or not a format libsndfile reads.
bool readAudioFile(const std::string& path, AudioData& data, std::string& error);

// Writes to a temporary file beside `path` and renames it at the end, so `path` never holds a
// partial file. Integer formats are rounded to their own resolution here, so a sample that
// was read from such a file and came back unchanged is written back bit for bit.
bool writeAudioFile(const std::string& path, const AudioData& data, std::string& error);

// Bits of an integer sample format; 0 for float, double and compressed formats, which are
// read and written as doubles.
int integerBits(int format);

// The file name with "-processed" before its extension.
std::string processedFileName(const std::string& inputPath);

// Whether `path` holds a file of the kind a demo run writes: a float WAV, stereo, at the
// demo's rate and as long as the demo, or longer by at most a second (a kept latency). The
// demo's own files of this kind are replaced by the next run without asking.
bool holdsDemoOutput(const std::string& path, int sampleRateHz, double seconds);
