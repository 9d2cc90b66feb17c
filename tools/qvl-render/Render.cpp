#include "Render.h"

#include "AudioFile.h"
#include "LoadedEdition.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <vector>

namespace {

class ProgressBar {
  public:
    ProgressBar(bool shown, std::size_t total) : shown_(shown), total_(total) {}
    ~ProgressBar() {
        if (shown_ && drawn_ >= 0) std::fputs("\r\033[K", stderr);
    }
    void update(std::size_t done) {
        if (!shown_ || total_ == 0) return;
        const int percent = static_cast<int>(100 * done / total_);
        if (percent == drawn_) return;
        drawn_ = percent;
        char bar[41];
        const int filled = percent * 40 / 100;
        for (int i = 0; i < 40; ++i)
            bar[i] = i < filled ? '#' : '.';
        bar[40] = '\0';
        std::fprintf(stderr, "\r[%s] %3d%%", bar, percent);
        std::fflush(stderr);
    }

  private:
    bool shown_;
    std::size_t total_;
    int drawn_ = -1;
};

template <typename Sample>
void processAll(LoadedEdition& plugin, const AudioData& input, const RenderSettings& settings,
                RenderResult& result) {
    const std::size_t inFrames = input.left.size();
    const std::size_t latency = static_cast<std::size_t>(std::max(result.latencyFrames, 0));
    const std::size_t totalFrames = inFrames + latency;
    const std::size_t skip = settings.keepLatency ? 0 : latency;
    const std::size_t block = static_cast<std::size_t>(settings.blockSize);
    const std::vector<double>& inRight = input.channels == 2 ? input.right : input.left;

    std::vector<Sample> in[2], out[2];
    for (int c = 0; c < 2; ++c) {
        in[c].resize(block);
        out[c].resize(block);
    }
    Sample* inputs[2] = {in[0].data(), in[1].data()};
    Sample* outputs[2] = {out[0].data(), out[1].data()};
    const AudioData* keyData = settings.key;
    std::vector<Sample> key[2];
    for (int c = 0; keyData && c < keyData->channels; ++c)
        key[c].resize(block);
    Sample* keys[2] = {key[0].data(), key[1].data()};
    AudioData& output = result.output;
    output.left.reserve(totalFrames - skip);
    if (output.channels == 2) output.right.reserve(totalFrames - skip);

    const bool readsGain = plugin.gain() >= 0.0;
    double minimumGain = 1.0;
    ProgressBar progress(settings.showProgress, totalFrames);
    for (std::size_t start = 0; start < totalFrames; start += block) {
        const std::size_t count = std::min(block, totalFrames - start);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t n = start + i;
            in[0][i] = static_cast<Sample>(n < inFrames ? input.left[n] : 0.0);
            in[1][i] = static_cast<Sample>(n < inFrames ? inRight[n] : 0.0);
        }
        for (int c = 0; keyData && c < keyData->channels; ++c) {
            const std::vector<double>& source = c == 0 ? keyData->left : keyData->right;
            for (std::size_t i = 0; i < count; ++i)
                key[c][i] =
                    static_cast<Sample>(start + i < source.size() ? source[start + i] : 0.0);
        }
        plugin.process(inputs, outputs, static_cast<int>(count), keyData ? keys : nullptr);
        for (std::size_t i = 0; i < count; ++i) {
            if (start + i < skip) continue;
            output.left.push_back(static_cast<double>(out[0][i]));
            if (output.channels == 2) output.right.push_back(static_cast<double>(out[1][i]));
        }
        if (readsGain) minimumGain = std::min(minimumGain, plugin.gain());
        progress.update(start + count);
    }
    result.hasGainReduction = readsGain;
    // The readout is the gain of each block's last sample; blocks are short enough to catch
    // the reduction's peaks within a fraction of a dB.
    result.maxGainReductionDb =
        readsGain && minimumGain > 0.0 ? -20.0 * std::log10(minimumGain) : 0.0;
}

// Whether `output` is `input` unchanged: equal once written in an integer format, and within
// the noise the effect adds far below hearing (-100 dBFS) in any format.
bool unchanged(const AudioData& input, const AudioData& output) {
    const int bits = integerBits(output.format);
    const double tolerance = std::max(1e-5, bits ? std::ldexp(0.5, 1 - bits) : 0.0);
    const auto same = [&](const std::vector<double>& a, const std::vector<double>& b) {
        if (a.size() != b.size()) return false;
        for (std::size_t n = 0; n < a.size(); ++n)
            if (!(std::fabs(a[n] - b[n]) <= tolerance)) return false;
        return true;
    };
    return same(input.left, output.left) && same(input.right, output.right);
}

double peakOf(const std::vector<double>& x) {
    double p = 0.0;
    for (const double v : x)
        p = std::max(p, std::fabs(v));
    return p;
}

double rmsOf(const std::vector<double>& x) {
    double sum = 0.0;
    for (const double v : x)
        sum += v * v;
    return x.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(x.size()));
}

std::string dbfs(double linear) {
    char text[32];
    if (linear <= 0.0)
        std::snprintf(text, sizeof text, "  -inf dBFS");
    else
        std::snprintf(text, sizeof text, "%6.1f dBFS", 20.0 * std::log10(linear));
    return text;
}

void printLevels(const char* label, const AudioData& data, std::ostream& out) {
    double peak = peakOf(data.left), sumSquares = rmsOf(data.left) * rmsOf(data.left);
    if (data.channels == 2) {
        peak = std::max(peak, peakOf(data.right));
        sumSquares = 0.5 * (sumSquares + rmsOf(data.right) * rmsOf(data.right));
    }
    out << label << " peak " << dbfs(peak) << ", RMS " << dbfs(std::sqrt(sumSquares)) << '\n';
}

} // namespace

RenderResult renderAudio(LoadedEdition& plugin, const AudioData& input, int outputFormat,
                         const RenderSettings& settings) {
    RenderResult result;
    result.output.sampleRateHz = input.sampleRateHz;
    result.output.channels = input.channels;
    result.output.format = outputFormat;
    const bool twice = !settings.singlePrecision && plugin.processesDouble();
    plugin.start(input.sampleRateHz, settings.blockSize, twice);
    result.latencyFrames = plugin.latency();
    if (twice)
        processAll<double>(plugin, input, settings, result);
    else
        processAll<float>(plugin, input, settings, result);
    plugin.stop();
    result.equalsInput = !settings.keepLatency && unchanged(input, result.output);
    return result;
}

void printSummary(const AudioData& input, const RenderResult& result, std::ostream& out) {
    printLevels("Input: ", input, out);
    printLevels("Output:", result.output, out);
    if (result.hasGainReduction) {
        char text[64];
        // Adding 0.0 turns a negative zero into a positive one for printing.
        std::snprintf(text, sizeof text, "Maximum gain reduction: %.1f dB\n",
                      result.maxGainReductionDb + 0.0);
        out << text;
    }
    const double peak = std::max(peakOf(result.output.left), peakOf(result.output.right));
    if (peak <= 1.0) return;
    // Rounded up, so that lowering the gain by the amount shown brings the peak to 0 dBFS.
    const double excessDb = std::ceil(200.0 * std::log10(peak)) / 10.0;
    const int subtype = result.output.format & SF_FORMAT_SUBMASK;
    const bool floating = subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE;
    char text[320];
    if (floating)
        std::snprintf(text, sizeof text,
                      "Note: the output peaks %.1f dB above 0 dBFS. The float file keeps those "
                      "peaks, but playback and integer formats clip them: lower Make Up Gain by "
                      "%.1f dB (more with Dry Mix in) for a peak at 0 dBFS.\n",
                      excessDb, excessDb);
    else
        std::snprintf(text, sizeof text,
                      "Warning: the output peaks %.1f dB above 0 dBFS and is clipped in this "
                      "file's format. Lower Make Up Gain by %.1f dB (more with Dry Mix in), or "
                      "write float samples (--float).\n",
                      excessDb, excessDb);
    out << text;
}
