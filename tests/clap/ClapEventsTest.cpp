// When one parameter change turns others off by itself (Delta, Bypass and SC Preview exclude
// one another; the last change wins, as in the VST 2 edition), the host hears of it through
// output events at the time of the change, so its controls and automation stay true.
#include "ClapTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr clap_id kDelta = 15, kScPreview = 17, kThreshold = 3;

std::vector<ClapOutputEvent> valuesOf(const HostedClapPlugin& plugin, clap_id id) {
    std::vector<ClapOutputEvent> out;
    for (const ClapOutputEvent& e : plugin.outputEvents)
        if (e.type == CLAP_EVENT_PARAM_VALUE && e.id == id) out.push_back(e);
    return out;
}

TEST(ClapOutputEvents, FlushTellsTheHostOfTheSwitchesTheLastChangeTurnedOff) {
    const auto clap = loadClap();
    ASSERT_TRUE(clap->isLoaded()) << clap->error();
    clap->flush({{0, kDelta, 1.0}});
    EXPECT_TRUE(clap->outputEvents.empty());
    clap->flush({{0, kBypassId, 1.0}});
    ASSERT_EQ(clap->outputEvents.size(), 1u);
    EXPECT_EQ(clap->outputEvents[0].id, kDelta);
    EXPECT_EQ(clap->outputEvents[0].value, 0.0);
    EXPECT_EQ(clap->paramValue(kDelta), 0.0);
    EXPECT_EQ(clap->paramValue(kBypassId), 1.0);

    clap->outputEvents.clear();
    clap->flush({{0, kScPreview, 1.0}});
    ASSERT_EQ(valuesOf(*clap, kBypassId).size(), 1u);
    EXPECT_EQ(valuesOf(*clap, kBypassId)[0].value, 0.0);
    EXPECT_TRUE(valuesOf(*clap, kScPreview).empty()) << "the host's own change is not echoed";
}

TEST(ClapOutputEvents, ProcessReportsThemAtTheSampleOfTheChange) {
    const auto clap = loadClap();
    ASSERT_TRUE(clap->activate(44100.0));
    std::vector<float> l(256), r(256);
    float* io[2] = {l.data(), r.data()};
    clap->process(io, io, 256, {{10, kDelta, 1.0}, {40, kThreshold, -20.0}, {100, kBypassId, 1.0}});
    const auto delta = valuesOf(*clap, kDelta);
    ASSERT_EQ(delta.size(), 1u);
    EXPECT_EQ(delta[0].time, 100u);
    EXPECT_EQ(delta[0].value, 0.0);
    EXPECT_EQ(clap->outputEvents.size(), 1u);

    // Both on in one call: the later one wins, the earlier one is reported off.
    clap->outputEvents.clear();
    clap->process(io, io, 256, {{5, kScPreview, 1.0}, {6, kDelta, 1.0}});
    EXPECT_EQ(clap->paramValue(kDelta), 1.0);
    EXPECT_EQ(clap->paramValue(kScPreview), 0.0);
    const auto preview = valuesOf(*clap, kScPreview);
    ASSERT_EQ(preview.size(), 1u);
    EXPECT_EQ(preview[0].time, 6u);
    EXPECT_EQ(valuesOf(*clap, kBypassId).size(), 1u) << "Bypass went off with the preview";
}

TEST(ClapOutputEvents, AStateLoadReachesTheHostAsValues) {
    const auto clap = loadClap();
    ASSERT_TRUE(clap->activate(48000.0));
    std::vector<float> values = vst2ProgramValues(0);
    values[3] = 0.5f; // Threshold -25 dB
    ASSERT_TRUE(clap->loadState(stateRecord(0, values)));
    std::vector<float> l(64), r(64);
    float* io[2] = {l.data(), r.data()};
    clap->process(io, io, 64);
    const auto threshold = valuesOf(*clap, kThreshold);
    ASSERT_EQ(threshold.size(), 1u);
    EXPECT_DOUBLE_EQ(threshold[0].value, -25.0);
}

} // namespace
