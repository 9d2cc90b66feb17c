#include "OutputFormat.h"

#include "AudioFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

namespace {

struct Container {
    std::string extension;
    int format; // major format, and a subtype where the extension names one
};

// Read before libsndfile's own list, the first match winning: Microsoft's WAV for ".wav" (NIST
// Sphere and WAVEX share it), and common spellings the list lacks; Opus and MP3 name their codec.
const Container kPreferredExtensions[] = {
    {"wav", SF_FORMAT_WAV},
    {"aif", SF_FORMAT_AIFF},
    {"ogg", SF_FORMAT_OGG},
    {"opus", SF_FORMAT_OGG | SF_FORMAT_OPUS},
    {"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
};

std::string lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string extensionOf(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? std::string() : lowered(name.substr(dot + 1));
}

std::vector<Container> containers() {
    std::vector<Container> list(std::begin(kPreferredExtensions), std::end(kPreferredExtensions));
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof count);
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO info{};
        info.format = i;
        sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof info);
        if (info.extension) list.push_back({lowered(info.extension), info.format});
    }
    return list;
}

bool writable(int format, int channels, int sampleRateHz) {
    SF_INFO info{};
    info.format = format;
    info.channels = channels;
    info.samplerate = sampleRateHz;
    return sf_format_check(&info) != 0;
}

// Encodings to try for an input's encoding, nearest first: its own, then integers with more
// bits, float, integers with fewer bits, and the lossy codecs for containers that hold only
// those. Float input and compressed encodings go to float or 24-bit integers first.
std::vector<int> encodingsFor(int inputSubtype) {
    static const int kIntegers[] = {SF_FORMAT_PCM_S8, SF_FORMAT_PCM_16, SF_FORMAT_PCM_24,
                                    SF_FORMAT_PCM_32};
    const int bits = integerBits(inputSubtype);
    std::vector<int> order{inputSubtype};
    if (bits) {
        for (int i = bits / 8; i < 4; ++i)
            order.push_back(kIntegers[i]);
        order.insert(order.end(), {SF_FORMAT_FLOAT, SF_FORMAT_DOUBLE});
        for (int i = bits / 8 - 2; i >= 0; --i)
            order.push_back(kIntegers[i]);
    } else if (inputSubtype == SF_FORMAT_FLOAT || inputSubtype == SF_FORMAT_DOUBLE) {
        order.insert(order.end(), {SF_FORMAT_FLOAT, SF_FORMAT_DOUBLE, SF_FORMAT_PCM_24,
                                   SF_FORMAT_PCM_32, SF_FORMAT_PCM_16, SF_FORMAT_PCM_S8});
    } else {
        order.insert(order.end(), {SF_FORMAT_PCM_24, SF_FORMAT_FLOAT, SF_FORMAT_PCM_32,
                                   SF_FORMAT_DOUBLE, SF_FORMAT_PCM_16, SF_FORMAT_PCM_S8});
    }
    order.insert(order.end(), {SF_FORMAT_VORBIS, SF_FORMAT_OPUS, SF_FORMAT_MPEG_LAYER_III});
    return order;
}

// Whether this libsndfile writes the container (with the encoding it names, if any) at all:
// some containers hold only mono, some codecs only certain rates.
bool anyEncodingFits(int containerFormat) {
    const int named = containerFormat & SF_FORMAT_SUBMASK;
    const std::vector<int> encodings =
        named ? std::vector<int>{named} : encodingsFor(SF_FORMAT_FLOAT);
    for (const int encoding : encodings)
        for (const int channels : {1, 2})
            for (const int rateHz : {44100, 48000})
                if (writable((containerFormat & SF_FORMAT_TYPEMASK) | encoding, channels, rateHz))
                    return true;
    return false;
}

} // namespace

bool chooseOutputFormat(const std::string& outputPath, const std::string& inputPath,
                        int inputFormat, int channels, int sampleRateHz, bool floatSamples,
                        int& format, std::string& error) {
    const std::string extension = extensionOf(outputPath);
    int container = inputFormat & (SF_FORMAT_TYPEMASK | SF_FORMAT_ENDMASK);
    int named = 0; // an encoding the extension itself names
    if (!extension.empty() && extension != extensionOf(inputPath)) {
        const std::vector<Container> list = containers();
        const auto found = std::find_if(
            list.begin(), list.end(), [&](const Container& c) { return c.extension == extension; });
        if (found == list.end() || !anyEncodingFits(found->format)) {
            error = "cannot write ." + extension + " files; the output's extension may be " +
                    writableExtensions();
            return false;
        }
        container = found->format & SF_FORMAT_TYPEMASK;
        named = found->format & SF_FORMAT_SUBMASK;
    }
    const std::vector<int> encodings = named ? std::vector<int>{named}
                                       : floatSamples
                                           ? std::vector<int>{SF_FORMAT_FLOAT}
                                           : encodingsFor(inputFormat & SF_FORMAT_SUBMASK);
    for (const int encoding : encodings)
        if (writable(container | encoding, channels, sampleRateHz)) {
            format = container | encoding;
            return true;
        }
    const std::string name = extension.empty() ? outputPath : "." + extension + " files";
    error = floatSamples ? "cannot write float samples in " + name
                         : "cannot write " + std::to_string(channels) + " channels at " +
                               std::to_string(sampleRateHz) + " Hz in " + name;
    return false;
}

std::string writableExtensions() {
    std::vector<std::string> extensions;
    for (const Container& c : containers())
        if (anyEncodingFits(c.format) &&
            std::find(extensions.begin(), extensions.end(), c.extension) == extensions.end())
            extensions.push_back(c.extension);
    std::sort(extensions.begin(), extensions.end());
    std::string text;
    for (const std::string& e : extensions)
        text += (text.empty() ? "" : ", ") + e;
    return text;
}

std::string formatName(int format) {
    SF_FORMAT_INFO major{}, encoding{};
    major.format = format & SF_FORMAT_TYPEMASK;
    encoding.format = format & SF_FORMAT_SUBMASK;
    sf_command(nullptr, SFC_GET_FORMAT_INFO, &major, sizeof major);
    sf_command(nullptr, SFC_GET_FORMAT_INFO, &encoding, sizeof encoding);
    // "WAV (Microsoft)" is shown as "WAV".
    std::string container = major.name ? major.name : "?";
    container = container.substr(0, container.find(" ("));
    return container + ", " + (encoding.name ? encoding.name : "?");
}
