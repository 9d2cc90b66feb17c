// The LV2 edition sounds exactly like the VST2 edition: every factory program (program 0 as the
// port defaults, the others as presets), at the common rates, in place and not, in odd host
// blocks, with the host's bypass switched on and off on the way.
#include "HostBlocks.h"
#include "HostedPlugin.h"
#include "Lv2TestSupport.h"
#include "SameSamples.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Runs `runBlock(inputs, outputs, count)` over the odd host blocks, the host's bypass set before
// each block as the schedule has it at the block's start.
template <typename RunBlock, typename SetBypass>
Stereo<float> renderInBlocks(const Stereo<float>& source, const HostSchedule& schedule,
                             RunBlock runBlock, SetBypass setBypass) {
    return renderInOddBlocks(source, schedule.inPlace,
                             [&](Stereo<float>& in, Stereo<float>& out, int start, int count) {
                                 setBypass(schedule.bypassedAt(start));
                                 const std::size_t at = static_cast<std::size_t>(start);
                                 runBlock(in.from(at).data(), out.from(at).data(), count);
                             });
}

Stereo<float> renderVst2(int program, float rateHz, const Stereo<float>& in,
                         const HostSchedule& schedule) {
    HostedPlugin plugin(QVL_MODULE_PATH, HostOptions{vst2::kVstVersion, false});
    EXPECT_TRUE(plugin.isLoaded()) << plugin.error();
    plugin.setSampleRate(rateHz);
    plugin.setBlockSize(1023);
    plugin.setProgram(program);
    plugin.resume();
    bool bypassed = false;
    return renderInBlocks(
        in, schedule,
        [&](float** inputs, float** outputs, int count) { plugin.process(inputs, outputs, count); },
        [&](bool on) {
            if (on != bypassed) plugin.setParameter(16, on ? 1.0f : 0.0f);
            bypassed = on;
        });
}

Stereo<float> renderLv2(const std::string& preset, float rateHz, const Stereo<float>& in,
                        const HostSchedule& schedule) {
    const auto plugin = loadLv2(rateHz);
    EXPECT_TRUE(plugin->isLoaded()) << plugin->error();
    if (!preset.empty()) {
        EXPECT_TRUE(plugin->applyPreset(preset)) << preset;
    }
    plugin->activate();
    return renderInBlocks(
        in, schedule,
        [&](float** inputs, float** outputs, int count) {
            plugin->run(inputs, outputs, static_cast<uint32_t>(count));
        },
        [&](bool on) { plugin->setControl("enabled", on ? 0.0f : 1.0f); });
}

class Lv2RenderIdentity : public testing::TestWithParam<float> {};

TEST_P(Lv2RenderIdentity, EveryProgramInPlaceAndNotWithTheHostBypass) {
    const float rateHz = GetParam();
    const int frames = static_cast<int>(0.6 * rateHz);
    const Stereo<float> in = bursts<float>(frames, rateHz);
    HostedPlugin names(QVL_MODULE_PATH);
    ASSERT_TRUE(names.isLoaded()) << names.error();
    const HostSchedule schedules[] = {
        {false, -1, -1},
        {true, -1, -1},
        {true, frames / 4, frames / 2},
        {false, frames / 3, -1},
    };
    for (int program = 0; program < 7; ++program) {
        // Program 0 is what a fresh instance holds: the port defaults, no preset.
        const std::string preset = program == 0 ? "" : names.programNameIndexed(program);
        for (const HostSchedule& schedule : schedules) {
            SCOPED_TRACE(testing::Message()
                         << "program " << program << " in place " << schedule.inPlace
                         << " bypass from " << schedule.bypassOnAt);
            const Stereo<float> vst2 = renderVst2(program, rateHz, in, schedule);
            const Stereo<float> lv2 = renderLv2(preset, rateHz, in, schedule);
            EXPECT_TRUE(sameSamples(vst2, lv2));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, Lv2RenderIdentity, testing::Values(44100.0f, 48000.0f, 96000.0f));

TEST(Lv2RenderIdentityPresets, ProgramZeroAsPresetEqualsTheDefaults) {
    HostedPlugin names(QVL_MODULE_PATH);
    ASSERT_TRUE(names.isLoaded());
    const Stereo<float> in = bursts<float>(20000, 44100.0);
    EXPECT_TRUE(sameSamples(renderLv2("", 44100.0f, in, {}),
                            renderLv2(names.programNameIndexed(0), 44100.0f, in, {})));
    // And a preset is really applied: another program sounds different.
    EXPECT_FALSE(sameSamples(renderLv2("", 44100.0f, in, {}),
                             renderLv2(names.programNameIndexed(2), 44100.0f, in, {})));
}

} // namespace
