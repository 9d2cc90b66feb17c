// The module's process allocates nothing, whatever the host sends: every parameter
// over its range and beyond, NaN, switches that turn one another off (and so output events),
// events at every offset, both precisions, and a key that comes with one channel, two or none
// while SC Source changes.
#include "AllocationCounter.h"
#include "HostedClapPlugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(ClapAllocation, TheCounterSeesTheModulesAllocations) {
    int seen = 0;
    {
        CountingScope scope;
        HostedClapPlugin clap(QVL_CLAP_MODULE_PATH);
        seen = scope.seen();
    }
    EXPECT_GT(seen, 0);
}

TEST(ClapAllocation, NoneInProcessWhateverTheEvents) {
    HostedClapPlugin clap(QVL_CLAP_MODULE_PATH);
    ASSERT_TRUE(clap.isLoaded()) << clap.error();
    ASSERT_TRUE(clap.activate(48000.0, 512));
    std::vector<HostedClapPlugin::Change> changes;
    for (clap_id id = 0; id < 22; ++id)
        for (double value : {-1e9, -50.0, 0.0, 0.4, 1.0, 2.5, 12.0, 300.0, 600.0, 1e9, double(NAN)})
            changes.push_back({static_cast<uint32_t>(changes.size() % 512), id, value});
    for (clap_id id : {15u, 16u, 17u, 15u, 17u, 16u})
        changes.push_back({511, id, 1.0});
    const auto events = HostedClapPlugin::valueEvents(changes);
    std::vector<float> l(512, 0.5f), r(512, -0.5f);
    std::vector<double> dl(512, 0.5), dr(512, -0.5);
    float* io[2] = {l.data(), r.data()};
    double* dio[2] = {dl.data(), dr.data()};
    const clap_audio_buffer_t single = {io, nullptr, 2, 0, 0};
    clap_audio_buffer_t singleOut = single;
    const clap_audio_buffer_t twice = {nullptr, dio, 2, 0, 0};
    clap_audio_buffer_t twiceOut = twice;
    std::vector<float> key(512, 0.9f);
    std::vector<double> doubleKey(512, 0.9);
    float* keyChannels[2] = {key.data(), key.data()};
    double* doubleKeyChannels[2] = {doubleKey.data(), doubleKey.data()};
    const clap_audio_buffer_t keyed[2] = {single, {keyChannels, nullptr, 2, 0, 0}};
    const clap_audio_buffer_t monoKeyed[2] = {single, {keyChannels, nullptr, 1, 0, 0}};
    const clap_audio_buffer_t twiceKeyed[2] = {twice, {nullptr, doubleKeyChannels, 2, 0, 0}};
    const clap_audio_buffer_t keyWithoutBuffers[2] = {single, {nullptr, nullptr, 2, 0, 0}};
    clap.outputEvents.reserve(4096);

    int seen = 0;
    {
        CountingScope scope;
        clap.processRaw(&single, 1, &singleOut, 1, 512, events);
        clap.processRaw(&twice, 1, &twiceOut, 1, 512, events);
        clap.processRaw(&single, 1, &singleOut, 1, 0, events);
        clap.processRaw(nullptr, 0, nullptr, 0, 512, events);
        clap.processRaw(keyed, 2, &singleOut, 1, 512, events);
        clap.processRaw(monoKeyed, 2, &singleOut, 1, 512, events);
        clap.processRaw(twiceKeyed, 2, &twiceOut, 1, 512, events);
        clap.processRaw(keyWithoutBuffers, 2, &singleOut, 1, 512, events);
        clap.processRaw(keyed, 1, &singleOut, 1, 512, events);
        seen = scope.seen();
    }
    EXPECT_EQ(seen, 0);
    EXPECT_FALSE(clap.outputEvents.empty()) << "the switches turned one another off";
    EXPECT_LE(clap.outputEvents.size(), 4096u);
}

} // namespace
