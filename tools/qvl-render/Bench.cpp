#include "Bench.h"

#include "DemoSignal.h"
#include "LoadedEdition.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <ostream>
#include <vector>

namespace {

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

class TimedPlugin {
  public:
    TimedPlugin(LoadedEdition& plugin, const AudioData& signal, const BenchSettings& settings)
        : plugin_(plugin), block_(static_cast<std::size_t>(settings.blockSize)) {
        for (int c = 0; c < 2; ++c) {
            const std::vector<double>& source = c == 0 ? signal.left : signal.right;
            in_[c].assign(source.begin(), source.end());
            out_[c].resize(in_[c].size());
        }
        plugin_.start(settings.sampleRateHz, settings.blockSize, false);
    }
    ~TimedPlugin() { plugin_.stop(); }

    // Processor seconds of this thread for one pass over the signal: on a shared machine the
    // wall clock also counts the time other programs hold the processor.
    double round() {
        const std::size_t frames = in_[0].size();
        const double begin = threadSeconds();
        for (std::size_t start = 0; start < frames; start += block_) {
            const std::size_t count = std::min(block_, frames - start);
            float* inputs[2] = {in_[0].data() + start, in_[1].data() + start};
            float* outputs[2] = {out_[0].data() + start, out_[1].data() + start};
            plugin_.process(inputs, outputs, static_cast<int>(count));
        }
        return threadSeconds() - begin;
    }

  private:
    LoadedEdition& plugin_;
    std::size_t block_;
    std::vector<float> in_[2], out_[2];
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

void printLine(const char* label, double secondsPerRound, const BenchSettings& settings,
               std::ostream& out) {
    const double frames = settings.seconds * settings.sampleRateHz;
    char text[160];
    std::snprintf(text, sizeof text, "%-10s %8.1f ns per stereo sample, realtime factor %7.1f\n",
                  label, 1e9 * secondsPerRound / frames, settings.seconds / secondsPerRound);
    out << text;
}

} // namespace

void runBench(LoadedEdition& plugin, LoadedEdition* yardstick, const BenchSettings& settings,
              std::ostream& out) {
    const AudioData signal =
        makeDemoSignal(static_cast<int>(settings.sampleRateHz), settings.seconds);
    TimedPlugin measured(plugin, signal, settings);
    std::vector<double> ours, theirs;
    std::unique_ptr<TimedPlugin> other;
    if (yardstick) other = std::make_unique<TimedPlugin>(*yardstick, signal, settings);
    // One untimed pass each warms caches and lets both settle on their parameters.
    measured.round();
    if (other) other->round();
    for (int r = 0; r < settings.rounds; ++r) {
        ours.push_back(measured.round());
        if (other) theirs.push_back(other->round());
    }
    char header[160];
    std::snprintf(header, sizeof header,
                  "%g Hz, blocks of %d, %g s per round, median of %d rounds:\n",
                  settings.sampleRateHz, settings.blockSize, settings.seconds, settings.rounds);
    out << header;
    printLine("plug-in", median(ours), settings, out);
    if (!other) return;
    printLine("yardstick", median(theirs), settings, out);
    char ratio[96];
    std::snprintf(ratio, sizeof ratio, "ratio plug-in / yardstick: %.3f\n",
                  median(ours) / median(theirs));
    out << ratio;
}
