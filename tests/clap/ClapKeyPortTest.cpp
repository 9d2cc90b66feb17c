// The key port as CLAP hosts feed it: a mono key in one channel sounds as the same key in both,
// in either precision, and an event inside a block cuts the key where it cuts the main signal.
#include "ClapTestSupport.h"
#include "SameSamples.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

constexpr int kFrames = 16384;
constexpr uint32_t kBlock = 512;
constexpr clap_id kScSourceId = 21;

template <typename Sample> Stereo<Sample> keyOfBursts() {
    Stereo<Sample> key(kFrames);
    for (int n = 0; n < kFrames; ++n)
        key.left[n] = key.right[n] =
            (n / 2000) % 2 == 1 ? Sample(0.9 * std::sin(0.07 * n)) : Sample(0);
    return key;
}

// An external source that ducks a loud main signal hard, rendered in host blocks; each block
// hands the key with `keyChannels` channels and the events `eventsAt(start)` queues, or is cut
// by the host at `cut` with the events after the cut.
template <typename Sample>
Stereo<Sample>
render(const Stereo<Sample>& key, uint32_t keyChannels,
       const std::function<std::vector<HostedClapPlugin::Change>(int)>& eventsAt = {},
       uint32_t cut = 0) {
    const auto clap = loadClap();
    clap->flush({{0, kScSourceId, 1.0}, {0, 3, -30.0}, {0, 5, 8.0}});
    EXPECT_TRUE(clap->activate(48000.0, kBlock));
    Stereo<Sample> in = bursts<Sample>(kFrames, 48000.0), out(kFrames);
    Stereo<Sample> keyCopy = key;
    const auto run = [&](int start, uint32_t count,
                         const std::vector<HostedClapPlugin::Change>& changes) {
        const auto at = static_cast<std::size_t>(start);
        auto inputs = in.from(at), outputs = out.from(at), keys = keyCopy.from(at);
        clap_audio_buffer_t buffers[2] = {}, output{};
        buffers[0].channel_count = output.channel_count = 2;
        buffers[1].channel_count = keyChannels;
        if constexpr (sizeof(Sample) == sizeof(float)) {
            buffers[0].data32 = inputs.data();
            buffers[1].data32 = keys.data();
            output.data32 = outputs.data();
        } else {
            buffers[0].data64 = inputs.data();
            buffers[1].data64 = keys.data();
            output.data64 = outputs.data();
        }
        clap->processRaw(buffers, 2, &output, 1, count, HostedClapPlugin::valueEvents(changes));
    };
    for (int start = 0; start < kFrames; start += static_cast<int>(kBlock)) {
        std::vector<HostedClapPlugin::Change> changes =
            eventsAt ? eventsAt(start) : std::vector<HostedClapPlugin::Change>{};
        if (cut > 0) {
            run(start, cut, {});
            for (HostedClapPlugin::Change& c : changes)
                c.time -= cut;
            run(start + static_cast<int>(cut), kBlock - cut, changes);
        } else {
            run(start, kBlock, changes);
        }
    }
    return out;
}

template <typename Sample> void expectAMonoKeyAsTheSameKeyInBothChannels() {
    const Stereo<Sample> key = keyOfBursts<Sample>();
    const Stereo<Sample> stereo = render(key, 2);
    EXPECT_TRUE(sameSamples(render(key, 1), stereo));
    EXPECT_FALSE(sameSamples(render(Stereo<Sample>(kFrames), 2), stereo)) << "the key is heard";
}

TEST(ClapKeyPort, AMonoKeyInOneChannelSoundsAsTheSameKeyInBoth) {
    expectAMonoKeyAsTheSameKeyInBothChannels<float>();
    expectAMonoKeyAsTheSameKeyInBothChannels<double>();
}

TEST(ClapKeyPort, AnEventInsideABlockCutsTheKeyWhereItCutsTheMainSignal) {
    constexpr uint32_t kCut = 200;
    const auto events = [](int start) {
        return std::vector<HostedClapPlugin::Change>{
            {kCut, 10, (start / static_cast<int>(kBlock)) % 2 ? 1.0 : 0.0}};
    };
    const Stereo<float> key = keyOfBursts<float>();
    EXPECT_TRUE(sameSamples(render(key, 2, events), render(key, 2, events, kCut)));
}

} // namespace
