// The CLAP edition sounds exactly like the VST 2 edition: every factory program (given as a
// saved state), at the common rates, in float and double buffers, in place and not, in odd host
// blocks, with the Bypass parameter switched on and off in the middle of a block. The VST 2
// host splits its blocks where the CLAP host's events fall, which is what sample-accurate
// events must amount to.
#include "ClapTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

namespace {

template <typename Sample> struct Stereo { std::vector<Sample> left, right; };

// Tone bursts from -40 to -1 dBFS every 100 ms with seeded noise, the right channel a
// different mix: loud enough for every program to compress, quiet enough to release.
template <typename Sample> Stereo<Sample> bursts(int frames, double rateHz) {
    Stereo<Sample> s{std::vector<Sample>(static_cast<std::size_t>(frames)),
                     std::vector<Sample>(static_cast<std::size_t>(frames))};
    uint32_t seed = 11u;
    const int burst = static_cast<int>(0.1 * rateHz);
    for (int n = 0; n < frames; ++n) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 0.02;
        const double level = std::pow(10.0, (-40.0 + 13.0 * ((n / burst) % 4)) / 20.0);
        const double decay = std::exp(-static_cast<double>(n % burst) / (0.03 * rateHz));
        const double tone = std::sin(2.0 * 3.141592653589793 * 110.0 * n / rateHz);
        s.left[static_cast<std::size_t>(n)] = static_cast<Sample>(level * decay * tone + noise);
        s.right[static_cast<std::size_t>(n)] =
            static_cast<Sample>(level * decay * 0.8 * tone - noise);
    }
    return s;
}

constexpr int kBlocks[] = {511, 1, 127, 1023, 3, 333, 64};

struct Schedule {
    bool inPlace = false;
    int bypassOnAt = -1; // frames where Bypass goes on and off again (-1: never)
    int bypassOffAt = -1;
};

// Renders `in` in the odd host blocks. Each block goes to `run` with the Bypass switches that
// fall inside it, as (offset, on) pairs.
template <typename Sample, typename Run>
Stereo<Sample> render(const Stereo<Sample>& in, const Schedule& schedule, Run run) {
    Stereo<Sample> out{std::vector<Sample>(in.left.size()), std::vector<Sample>(in.left.size())};
    Stereo<Sample> work = in;
    const int frames = static_cast<int>(in.left.size());
    for (int start = 0, b = 0; start < frames; ++b) {
        const int count = std::min(kBlocks[b % 7], frames - start);
        std::vector<std::pair<int, bool>> switches;
        for (const auto& [at, on] :
             {std::pair{schedule.bypassOnAt, true}, std::pair{schedule.bypassOffAt, false}})
            if (at >= start && at < start + count) switches.push_back({at - start, on});
        const std::size_t at = static_cast<std::size_t>(start);
        Sample* inputs[2] = {work.left.data() + at, work.right.data() + at};
        Sample* separate[2] = {out.left.data() + at, out.right.data() + at};
        run(inputs, schedule.inPlace ? inputs : separate, count, switches);
        start += count;
    }
    return schedule.inPlace ? work : out;
}

template <typename Sample>
Stereo<Sample> renderVst2(int program, float rateHz, const Stereo<Sample>& in,
                          const Schedule& schedule) {
    HostedPlugin plugin(QVL_MODULE_PATH, HostOptions{vst2::kVstVersion, false});
    plugin.setSampleRate(rateHz);
    plugin.setBlockSize(1023);
    plugin.setProgram(program);
    plugin.resume();
    return render(in, schedule,
                  [&](Sample** inputs, Sample** outputs, int count,
                      const std::vector<std::pair<int, bool>>& switches) {
                      int done = 0;
                      for (const auto& [offset, on] : switches) {
                          Sample* i[2] = {inputs[0] + done, inputs[1] + done};
                          Sample* o[2] = {outputs[0] + done, outputs[1] + done};
                          plugin.process(i, o, offset - done);
                          plugin.setParameter(16, on ? 1.0f : 0.0f);
                          done = offset;
                      }
                      Sample* i[2] = {inputs[0] + done, inputs[1] + done};
                      Sample* o[2] = {outputs[0] + done, outputs[1] + done};
                      plugin.process(i, o, count - done);
                  });
}

template <typename Sample>
Stereo<Sample> renderClap(int program, float rateHz, const Stereo<Sample>& in,
                          const Schedule& schedule) {
    const auto plugin = loadClap();
    EXPECT_TRUE(plugin->loadState(stateRecord(program, vst2ProgramValues(program))));
    EXPECT_TRUE(plugin->activate(rateHz, 1023));
    return render(
        in, schedule,
        [&](Sample** inputs, Sample** outputs, int count,
            const std::vector<std::pair<int, bool>>& switches) {
            std::vector<HostedClapPlugin::Change> changes;
            for (const auto& [offset, on] : switches)
                changes.push_back({static_cast<uint32_t>(offset), kBypassId, on ? 1.0 : 0.0});
            plugin->process(inputs, outputs, static_cast<uint32_t>(count), changes);
        });
}

template <typename Sample>
::testing::AssertionResult sameSamples(const Stereo<Sample>& a, const Stereo<Sample>& b) {
    for (const auto& [x, y] : {std::pair{&a.left, &b.left}, std::pair{&a.right, &b.right}}) {
        if (x->size() != y->size()) return ::testing::AssertionFailure() << "lengths differ";
        for (std::size_t n = 0; n < x->size(); ++n)
            if (std::memcmp(&(*x)[n], &(*y)[n], sizeof(Sample)) != 0)
                return ::testing::AssertionFailure()
                       << "first difference at frame " << n << ": " << (*x)[n] << " vs " << (*y)[n];
    }
    return ::testing::AssertionSuccess();
}

class ClapRenderIdentity : public testing::TestWithParam<float> {};

TEST_P(ClapRenderIdentity, EveryProgramInBothPrecisionsInPlaceAndNotWithBypassInsideBlocks) {
    const float rateHz = GetParam();
    const int frames = static_cast<int>(0.5 * rateHz);
    const Stereo<float> single = bursts<float>(frames, rateHz);
    const Stereo<double> twice = bursts<double>(frames, rateHz);
    const Schedule schedules[] = {
        {false, -1, -1},
        {true, frames / 4 + 17, frames / 2 + 5},
        {false, frames / 3 + 101, -1},
    };
    for (int program = 0; program < 7; ++program)
        for (const Schedule& schedule : schedules) {
            SCOPED_TRACE(testing::Message()
                         << "program " << program << " in place " << schedule.inPlace
                         << " bypass from " << schedule.bypassOnAt);
            EXPECT_TRUE(sameSamples(renderVst2(program, rateHz, single, schedule),
                                    renderClap(program, rateHz, single, schedule)));
            EXPECT_TRUE(sameSamples(renderVst2(program, rateHz, twice, schedule),
                                    renderClap(program, rateHz, twice, schedule)));
        }
}

INSTANTIATE_TEST_SUITE_P(Rates, ClapRenderIdentity, testing::Values(44100.0f, 48000.0f, 96000.0f));

// Bypass swaps in the input delayed by the latency, so from the event's sample on the output
// is the input 151 samples earlier, and not before it.
TEST(ClapEventsAtOffsets, BypassLandsOnTheSampleOfItsEvent) {
    const auto plugin = loadClap();
    ASSERT_TRUE(plugin->activate(48000.0));
    const Stereo<float> in = bursts<float>(2048, 48000.0);
    Stereo<float> out{std::vector<float>(2048), std::vector<float>(2048)};
    float* inputs[2] = {const_cast<float*>(in.left.data()), const_cast<float*>(in.right.data())};
    float* outputs[2] = {out.left.data(), out.right.data()};
    plugin->process(inputs, outputs, 1024);
    float* secondIn[2] = {inputs[0] + 1024, inputs[1] + 1024};
    float* secondOut[2] = {outputs[0] + 1024, outputs[1] + 1024};
    constexpr uint32_t kAt = 300;
    plugin->process(secondIn, secondOut, 1024, {{kAt, kBypassId, 1.0}});
    for (std::size_t n = 1024 + kAt; n < 2048; ++n)
        ASSERT_EQ(out.left[n], in.left[n - 151]) << n;
    EXPECT_NE(out.left[1024 + kAt - 1], in.left[1024 + kAt - 1 - 151]);
}

} // namespace
