#pragma once

#include "HostedPlugin.h"
#include "HostedVst3Plugin.h"
#include "SameSamples.h"
#include "StereoSignal.h"
#include "Vst3ParameterIds.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

inline std::unique_ptr<HostedVst3Plugin> loadVst3() {
    auto plugin = std::make_unique<HostedVst3Plugin>(QVL_VST3_BUNDLE);
    EXPECT_TRUE(plugin->isLoaded()) << plugin->error();
    return plugin;
}

inline std::unique_ptr<HostedPlugin> loadVst2() {
    auto plugin =
        std::make_unique<HostedPlugin>(QVL_MODULE_PATH, HostOptions{vst2::kVstVersion, false});
    EXPECT_TRUE(plugin->isLoaded()) << plugin->error();
    return plugin;
}

template <typename Sample> constexpr Steinberg::int32 sampleSize() {
    return sizeof(Sample) == sizeof(float) ? Steinberg::Vst::kSample32 : Steinberg::Vst::kSample64;
}

// One block of the VST 3 edition over frames [start, start + count) of `in` into `out`.
template <typename Sample>
Steinberg::tresult processVst3(HostedVst3Plugin& plugin, Stereo<Sample>& in, Stereo<Sample>& out,
                               std::size_t start, int count,
                               const std::vector<ParameterPoint>& changes = {}) {
    return plugin.process(in.from(start).data(), out.from(start).data(), count, changes);
}

template <typename Sample>
void processVst2(HostedPlugin& plugin, Stereo<Sample>& in, Stereo<Sample>& out, std::size_t start,
                 int count) {
    plugin.process(in.from(start).data(), out.from(start).data(), count);
}
