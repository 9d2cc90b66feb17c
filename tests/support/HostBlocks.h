#pragma once

#include "StereoSignal.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

// Host block lengths, odd and uneven, repeated: they catch overruns and any dependence of the
// sound on where blocks end.
constexpr int kOddHostBlocks[] = {511, 1, 127, 1023, 3, 333, 64};

// How a host runs a signal: in place or into separate buffers, its bypass on from one frame
// and off again from another (-1: never).
struct HostSchedule {
    bool inPlace = false;
    int bypassOnAt = -1;
    int bypassOffAt = -1;

    bool bypassedAt(int frame) const {
        return bypassOnAt >= 0 && frame >= bypassOnAt && (bypassOffAt < 0 || frame < bypassOffAt);
    }
};

// Runs `block(in, out, start, count)` over the odd host blocks. `in` is a copy of the source;
// in place, `out` is that same copy, as a host that reuses its buffers hands it over.
template <typename Sample, typename Block>
Stereo<Sample> renderInOddBlocks(const Stereo<Sample>& source, bool inPlace, Block block) {
    Stereo<Sample> in = source, out(source.frames());
    const int frames = static_cast<int>(source.frames());
    for (int start = 0, b = 0; start < frames; ++b) {
        const int count =
            std::min(kOddHostBlocks[static_cast<std::size_t>(b) % std::size(kOddHostBlocks)],
                     frames - start);
        block(in, inPlace ? in : out, start, count);
        start += count;
    }
    return inPlace ? in : out;
}
