#include "AudioFile.h"

#include "FileReplacement.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace {

constexpr sf_count_t kChunkFrames = 8192;

struct FileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SoundFile = std::unique_ptr<SNDFILE, FileCloser>;

// libsndfile's int interface carries every integer format left-aligned in 32 bits, so reading
// divides and writing multiplies by exact powers of two.
constexpr double kInt32Scale = 2147483648.0;

int32_t quantize(double x, int bits) {
    const double scale = std::ldexp(1.0, bits - 1);
    double q = std::nearbyint(x * scale);
    if (q > scale - 1.0) q = scale - 1.0;
    if (q < -scale) q = -scale;
    return static_cast<int32_t>(q * std::ldexp(1.0, 32 - bits));
}

} // namespace

bool readAudioFile(const std::string& path, AudioData& data, std::string& error) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        error = "cannot read " + path + ": it is a folder, not a sound file";
        return false;
    }
    SF_INFO info{};
    SoundFile file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) {
        error = "cannot read " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    if (info.channels < 1 || info.channels > 2) {
        error = path + " has " + std::to_string(info.channels) +
                " channels; only mono and stereo are rendered";
        return false;
    }
    data.sampleRateHz = info.samplerate;
    data.channels = info.channels;
    data.format = info.format;
    data.left.clear();
    data.right.clear();
    const int bits = integerBits(info.format);
    std::vector<double> doubles(static_cast<std::size_t>(kChunkFrames * info.channels));
    std::vector<int32_t> ints(bits ? doubles.size() : 0);
    for (;;) {
        const sf_count_t got = bits ? sf_readf_int(file.get(), ints.data(), kChunkFrames)
                                    : sf_readf_double(file.get(), doubles.data(), kChunkFrames);
        if (got <= 0) break;
        for (sf_count_t i = 0; i < got * info.channels; ++i)
            if (bits)
                doubles[static_cast<std::size_t>(i)] =
                    ints[static_cast<std::size_t>(i)] / kInt32Scale;
        for (sf_count_t f = 0; f < got; ++f) {
            data.left.push_back(doubles[static_cast<std::size_t>(f * info.channels)]);
            if (info.channels == 2)
                data.right.push_back(doubles[static_cast<std::size_t>(f * 2 + 1)]);
        }
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
        error = "error reading " + path + ": " + sf_strerror(file.get());
        return false;
    }
    return true;
}

bool writeAudioFile(const std::string& path, const AudioData& data, std::string& error) {
    SF_INFO info{};
    info.samplerate = data.sampleRateHz;
    info.channels = data.channels;
    info.format = data.format;
    if (!sf_format_check(&info)) {
        error = "libsndfile cannot write this format: " + path;
        return false;
    }
    return writeFileWhole(
        path,
        [&](const std::string& temporary) {
            SoundFile file(sf_open(temporary.c_str(), SFM_WRITE, &info));
            if (!file) {
                error = "cannot write " + path + ": " + sf_strerror(nullptr);
                return false;
            }
            const int bits = integerBits(data.format);
            const sf_count_t frames = static_cast<sf_count_t>(data.left.size());
            std::vector<double> doubles(static_cast<std::size_t>(kChunkFrames * data.channels));
            std::vector<int32_t> ints(doubles.size());
            for (sf_count_t start = 0; start < frames; start += kChunkFrames) {
                const sf_count_t count = std::min(kChunkFrames, frames - start);
                for (sf_count_t f = 0; f < count; ++f)
                    for (int c = 0; c < data.channels; ++c) {
                        const double x =
                            (c == 0 ? data.left : data.right)[static_cast<std::size_t>(start + f)];
                        const auto at = static_cast<std::size_t>(f * data.channels + c);
                        if (bits)
                            ints[at] = quantize(x, bits);
                        else
                            doubles[at] = x;
                    }
                const sf_count_t written =
                    bits ? sf_writef_int(file.get(), ints.data(), count)
                         : sf_writef_double(file.get(), doubles.data(), count);
                if (written != count) {
                    error = "error writing " + path + ": " + sf_strerror(file.get());
                    return false;
                }
            }
            return true;
        },
        error);
}

int integerBits(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
        return 8;
    case SF_FORMAT_PCM_16:
        return 16;
    case SF_FORMAT_PCM_24:
        return 24;
    case SF_FORMAT_PCM_32:
        return 32;
    default:
        return 0;
    }
}

std::string processedFileName(const std::string& inputPath) {
    const auto slash = inputPath.find_last_of('/');
    const auto dot = inputPath.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1)
        return inputPath + "-processed";
    return inputPath.substr(0, dot) + "-processed" + inputPath.substr(dot);
}

bool holdsDemoOutput(const std::string& path, int sampleRateHz, double seconds) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return false;
    sf_close(file);
    const auto frames = static_cast<sf_count_t>(seconds * sampleRateHz);
    return info.format == (SF_FORMAT_WAV | SF_FORMAT_FLOAT) && info.channels == 2 &&
           info.samplerate == sampleRateHz && info.frames >= frames &&
           info.frames <= frames + sampleRateHz;
}
