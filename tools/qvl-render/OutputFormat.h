#pragma once

#include <string>

// The libsndfile format of an output file, or false with the reason. The container follows
// the output's extension; an output without an extension, or with the input's, keeps the
// input's format. The encoding keeps the input's (its bit depth) where the container holds
// it, or else takes the nearest one the container holds, more bits before fewer. With
// `floatSamples` the samples are 32-bit float, and a container without float is refused.
bool chooseOutputFormat(const std::string& outputPath, const std::string& inputPath,
                        int inputFormat, int channels, int sampleRateHz, bool floatSamples,
                        int& format, std::string& error);

// The extensions libsndfile writes here, as a list for messages: "aiff, au, caf, flac, ...".
std::string writableExtensions();

// The container and encoding as libsndfile names them: "FLAC, Signed 24 bit PCM".
std::string formatName(int format);
