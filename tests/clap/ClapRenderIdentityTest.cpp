// The CLAP edition sounds exactly like the VST 2 edition: every factory program (given as a
// saved state), at the common rates, in float and double buffers, in place and not, in odd host
// blocks, with the Bypass parameter switched on and off in the middle of a block. The VST 2
// host splits its blocks where the CLAP host's events fall, which is what sample-accurate
// events must amount to.
#include "ClapTestSupport.h"
#include "HostBlocks.h"
#include "SameSamples.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// The Bypass switches a host schedules inside the block [start, start + count), as (offset, on)
// pairs.
std::vector<std::pair<int, bool>> bypassSwitches(const HostSchedule& schedule, int start,
                                                 int count) {
    std::vector<std::pair<int, bool>> switches;
    for (const auto& [at, on] :
         {std::pair{schedule.bypassOnAt, true}, std::pair{schedule.bypassOffAt, false}})
        if (at >= start && at < start + count) switches.push_back({at - start, on});
    return switches;
}

template <typename Sample>
Stereo<Sample> renderVst2(int program, float rateHz, const Stereo<Sample>& source,
                          const HostSchedule& schedule) {
    HostedPlugin plugin(QVL_MODULE_PATH, HostOptions{vst2::kVstVersion, false});
    plugin.setSampleRate(rateHz);
    plugin.setBlockSize(1023);
    plugin.setProgram(program);
    plugin.resume();
    return renderInOddBlocks(
        source, schedule.inPlace,
        [&](Stereo<Sample>& in, Stereo<Sample>& out, int start, int count) {
            int done = 0;
            for (const auto& [offset, on] : bypassSwitches(schedule, start, count)) {
                const std::size_t at = static_cast<std::size_t>(start + done);
                plugin.process(in.from(at).data(), out.from(at).data(), offset - done);
                plugin.setParameter(16, on ? 1.0f : 0.0f);
                done = offset;
            }
            const std::size_t at = static_cast<std::size_t>(start + done);
            plugin.process(in.from(at).data(), out.from(at).data(), count - done);
        });
}

template <typename Sample>
Stereo<Sample> renderClap(int program, float rateHz, const Stereo<Sample>& source,
                          const HostSchedule& schedule) {
    const auto plugin = loadClap();
    EXPECT_TRUE(plugin->loadState(stateRecord(program, vst2ProgramValues(program))));
    EXPECT_TRUE(plugin->activate(rateHz, 1023));
    return renderInOddBlocks(
        source, schedule.inPlace,
        [&](Stereo<Sample>& in, Stereo<Sample>& out, int start, int count) {
            std::vector<HostedClapPlugin::Change> changes;
            for (const auto& [offset, on] : bypassSwitches(schedule, start, count))
                changes.push_back({static_cast<uint32_t>(offset), kBypassId, on ? 1.0 : 0.0});
            const std::size_t at = static_cast<std::size_t>(start);
            plugin->process(in.from(at).data(), out.from(at).data(), static_cast<uint32_t>(count),
                            changes);
        });
}

class ClapRenderIdentity : public testing::TestWithParam<float> {};

TEST_P(ClapRenderIdentity, EveryProgramInBothPrecisionsInPlaceAndNotWithBypassInsideBlocks) {
    const float rateHz = GetParam();
    const int frames = static_cast<int>(0.5 * rateHz);
    const Stereo<float> single = bursts<float>(frames, rateHz);
    const Stereo<double> twice = bursts<double>(frames, rateHz);
    const HostSchedule schedules[] = {
        {false, -1, -1},
        {true, frames / 4 + 17, frames / 2 + 5},
        {false, frames / 3 + 101, -1},
    };
    for (int program = 0; program < 7; ++program)
        for (const HostSchedule& schedule : schedules) {
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
