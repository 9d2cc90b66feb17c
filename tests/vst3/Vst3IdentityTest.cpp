// The VST 3 edition sounds exactly like the VST 2 module: every factory program, in 32 and 64
// bits, at the common rates, in place and not, in odd host blocks, with the host's bypass
// switched on and off on the way.
#include "HostBlocks.h"
#include "Vst3TestSupport.h"

namespace {

// Runs `block(in, out, start, count, bypass)` over the odd host blocks; bypass is what the
// schedule asks for at the block's start.
template <typename Sample, typename Block>
Stereo<Sample> renderInBlocks(const Stereo<Sample>& source, const HostSchedule& schedule,
                              Block block) {
    return renderInOddBlocks(source, schedule.inPlace,
                             [&](Stereo<Sample>& in, Stereo<Sample>& out, int start, int count) {
                                 block(in, out, static_cast<std::size_t>(start), count,
                                       schedule.bypassedAt(start));
                             });
}

template <typename Sample>
Stereo<Sample> renderVst2(int program, float rateHz, const Stereo<Sample>& source,
                          const HostSchedule& schedule) {
    auto plugin = loadVst2();
    plugin->setSampleRate(rateHz);
    plugin->setBlockSize(1023);
    plugin->setProgram(program);
    plugin->resume();
    bool bypassed = false;
    return renderInBlocks(
        source, schedule,
        [&](Stereo<Sample>& in, Stereo<Sample>& out, std::size_t start, int count, bool bypass) {
            if (bypass != bypassed) plugin->setParameter(16, bypass ? 1.0f : 0.0f);
            bypassed = bypass;
            processVst2(*plugin, in, out, start, count);
        });
}

// The program is chosen as from a host's preset menu; the host's bypass goes through the
// block's parameter queue whenever it changes.
template <typename Sample>
Stereo<Sample> renderVst3(int program, float rateHz, const Stereo<Sample>& source,
                          const HostSchedule& schedule) {
    auto plugin = loadVst3();
    plugin->controller()->setParamNormalized(kProgramId, program / 6.0);
    EXPECT_EQ(plugin->setup(rateHz, sampleSize<Sample>()), Steinberg::kResultOk);
    plugin->activate(true);
    bool bypassed = false;
    return renderInBlocks(
        source, schedule,
        [&](Stereo<Sample>& in, Stereo<Sample>& out, std::size_t start, int count, bool bypass) {
            std::vector<ParameterPoint> changes;
            if (bypass != bypassed) changes.push_back({kBypassId, 0, bypass ? 1.0 : 0.0});
            bypassed = bypass;
            processVst3(*plugin, in, out, start, count, changes);
        });
}

template <typename Sample> void expectEveryProgramIdentical(float rateHz) {
    const int frames = static_cast<int>(0.6 * rateHz);
    const Stereo<Sample> in = bursts<Sample>(frames, rateHz);
    const HostSchedule schedules[] = {
        {false, -1, -1},
        {true, -1, -1},
        {true, frames / 4, frames / 2},
        {false, frames / 3, -1},
    };
    for (int program = 0; program < 7; ++program) {
        for (const HostSchedule& schedule : schedules) {
            SCOPED_TRACE(testing::Message()
                         << "program " << program << " in place " << schedule.inPlace
                         << " bypass from " << schedule.bypassOnAt);
            EXPECT_TRUE(sameSamples(renderVst2(program, rateHz, in, schedule),
                                    renderVst3(program, rateHz, in, schedule)));
        }
    }
}

class Vst3RenderIdentity : public testing::TestWithParam<float> {};

TEST_P(Vst3RenderIdentity, EveryProgramIn32Bits) {
    expectEveryProgramIdentical<float>(GetParam());
}

TEST_P(Vst3RenderIdentity, EveryProgramIn64Bits) {
    expectEveryProgramIdentical<double>(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Rates, Vst3RenderIdentity, testing::Values(44100.0f, 48000.0f, 96000.0f));

} // namespace
