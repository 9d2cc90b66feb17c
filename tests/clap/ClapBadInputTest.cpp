// What a careless or broken host may do, and the defined answer to each: calls out of order,
// rates no device runs at, missing buffers, events for unknown IDs, out of time order or past
// the block, NaN and out-of-range values, text that is no value, unknown window APIs and GUI
// calls from a thread the host says is not its main thread. Nothing crashes, nothing is lost.
#include "ClapTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

namespace {

constexpr clap_id kThreshold = 3;

struct Block {
    std::vector<float> l = std::vector<float>(512, 0.25f), r = std::vector<float>(512, -0.25f);
    std::vector<float> outL = std::vector<float>(512, 7.0f), outR = std::vector<float>(512, 7.0f);
    float* in[2] = {l.data(), r.data()};
    float* out[2] = {outL.data(), outR.data()};
};

TEST(ClapBadInput, CallsOutOfOrderAndNonsenseRates) {
    const auto clap = loadClap();
    ASSERT_TRUE(clap->isLoaded()) << clap->error();
    Block b;
    // Before activate nothing is processed and the host hears so.
    EXPECT_EQ(clap->process(b.in, b.out, 512), CLAP_PROCESS_ERROR);
    EXPECT_EQ(b.outL[0], 7.0f);
    for (double rate : {0.0, -48000.0, double(NAN), double(INFINITY), 100.0, 1e9})
        EXPECT_FALSE(clap->activate(rate)) << rate;
    ASSERT_TRUE(clap->activate(48000.0));
    // A second activate is refused; the first stays in force.
    const clap_plugin_t* p = clap->plugin();
    EXPECT_FALSE(p->activate(p, 96000.0, 1, 512));
    EXPECT_EQ(clap->process(b.in, b.out, 512), CLAP_PROCESS_CONTINUE);
    EXPECT_TRUE(std::isfinite(b.outL[511]));
    // Deactivating twice is harmless; processing after it is refused again.
    p->deactivate(p);
    p->deactivate(p);
    EXPECT_EQ(clap->process(b.in, b.out, 512), CLAP_PROCESS_ERROR);
    // A block size no host announces is taken, and longer blocks than announced are processed.
    ASSERT_TRUE(p->activate(p, 44100.0, 0, 0));
    std::vector<float> longL(8192, 0.5f), longR(8192, 0.5f);
    float* io[2] = {longL.data(), longR.data()};
    EXPECT_EQ(clap->process(io, io, 8192), CLAP_PROCESS_CONTINUE);
    EXPECT_TRUE(std::isfinite(longL[8191]));
    p->deactivate(p);
}

TEST(ClapBadInput, MissingBuffersSilenceWhatCanBeWrittenAndKeepTheEvents) {
    const auto clap = loadClap();
    ASSERT_TRUE(clap->activate(48000.0));
    Block b;
    const auto events = HostedClapPlugin::valueEvents({{3, kThreshold, -30.0}});
    // No inputs at all.
    clap_audio_buffer_t out = {b.out, nullptr, 2, 0, 0};
    EXPECT_EQ(clap->processRaw(nullptr, 0, &out, 1, 512, events), CLAP_PROCESS_ERROR);
    EXPECT_EQ(b.outL[100], 0.0f);
    EXPECT_NEAR(clap->paramValue(kThreshold), -30.0, 1e-5);
    // A null channel, a mono port, mixed precisions.
    float* holey[2] = {b.l.data(), nullptr};
    std::vector<double> d(512);
    double* doubles[2] = {d.data(), d.data()};
    const clap_audio_buffer_t badInputs[] = {
        {holey, nullptr, 2, 0, 0}, {b.in, nullptr, 1, 0, 0}, {nullptr, doubles, 2, 0, 0}};
    for (const clap_audio_buffer_t& in : badInputs) {
        b.outL.assign(512, 7.0f);
        EXPECT_EQ(clap->processRaw(&in, 1, &out, 1, 512, {}), CLAP_PROCESS_ERROR);
        EXPECT_EQ(b.outL[0], 0.0f);
    }
    // Zero frames with no buffers is how a host passes events alone.
    EXPECT_EQ(clap->processRaw(nullptr, 0, nullptr, 0, 0,
                               HostedClapPlugin::valueEvents({{0, kThreshold, -10.0}})),
              CLAP_PROCESS_CONTINUE);
    EXPECT_NEAR(clap->paramValue(kThreshold), -10.0, 1e-5);
    EXPECT_EQ(clap->process(b.in, b.out, 512), CLAP_PROCESS_CONTINUE);
}

TEST(ClapBadInput, StrangeEventsAndValues) {
    const auto clap = loadClap();
    ASSERT_TRUE(clap->activate(48000.0));
    Block b;
    const double before = clap->paramValue(kThreshold);
    auto events = HostedClapPlugin::valueEvents({{0, 19, 0.5},
                                                 {0, 20, 0.5},
                                                 {0, 999, 0.5},
                                                 {0, CLAP_INVALID_ID, 0.5},
                                                 {1, kThreshold, NAN},
                                                 {2, kThreshold, -20.0}});
    events[5].header.size = 8; // too short to be a value event
    events[1].header.space_id = 77;
    EXPECT_EQ(clap->processRaw(nullptr, 0, nullptr, 0, 0, events), CLAP_PROCESS_CONTINUE);
    EXPECT_EQ(clap->paramValue(kThreshold), before);
    EXPECT_TRUE(clap->outputEvents.empty());

    // Out of range values are held to the range; events out of time order apply at once, and
    // events past the block at its end.
    clap->process(b.in, b.out, 512, {{100, kThreshold, 30.0}, {50, 4, 99.0}, {9000, 9, -500.0}});
    EXPECT_EQ(clap->paramValue(kThreshold), 0.0);
    EXPECT_EQ(clap->paramValue(4), 20.0);
    EXPECT_EQ(clap->paramValue(9), -100.0);
    for (float x : b.outL)
        ASSERT_TRUE(std::isfinite(x));

    double value = 0.0;
    const auto* params = clap->extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    EXPECT_FALSE(params->get_value(clap->plugin(), 19, &value));
    EXPECT_FALSE(params->get_value(clap->plugin(), kThreshold, nullptr));
    EXPECT_FALSE(params->text_to_value(clap->plugin(), kThreshold, "loud", &value));
    EXPECT_FALSE(params->text_to_value(clap->plugin(), kThreshold, "-80 dB", &value));
    EXPECT_FALSE(params->text_to_value(clap->plugin(), kThreshold, nullptr, &value));
    EXPECT_FALSE(params->text_to_value(clap->plugin(), 19, "0.5", &value));
    EXPECT_FALSE(params->text_to_value(clap->plugin(), kThreshold, "-12 dB", nullptr));
    char text[4] = {'x', 'x', 'x', 'x'};
    EXPECT_FALSE(params->value_to_text(clap->plugin(), kThreshold, -12.0, nullptr, 16));
    EXPECT_FALSE(params->value_to_text(clap->plugin(), kThreshold, NAN, text, sizeof text));
    EXPECT_FALSE(params->value_to_text(clap->plugin(), 999, 0.0, text, sizeof text));
    ASSERT_TRUE(params->value_to_text(clap->plugin(), kThreshold, -12.0, text, sizeof text));
    EXPECT_STREQ(text, "-12") << "cut to the buffer, and ended";
}

TEST(ClapBadInput, UnknownWindowApisFloatingWindowsAndTheWrongThread) {
    const auto clap = loadClap();
    ASSERT_TRUE(clap->isLoaded()) << clap->error();
    const auto* gui = clap->extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
    const clap_plugin_t* p = clap->plugin();
    EXPECT_FALSE(gui->is_api_supported(p, "cocoa", false));
    EXPECT_FALSE(gui->is_api_supported(p, kNativeWindowApi, true));
    EXPECT_FALSE(gui->is_api_supported(p, nullptr, false));
    EXPECT_FALSE(gui->create(p, CLAP_WINDOW_API_WAYLAND, false));
    EXPECT_FALSE(gui->create(p, kNativeWindowApi, true));
    uint32_t w = 0, h = 0;
    EXPECT_FALSE(gui->get_size(p, &w, &h)) << "no size before create";
    const clap_window_t none = {kNativeWindowApi, {nullptr}};
    EXPECT_FALSE(gui->set_parent(p, &none));

    // The host says this thread is not its main thread: GUI and state calls are refused.
    bool created = true, saved = true;
    std::thread([&] {
        created = gui->create(p, kNativeWindowApi, false);
        saved = !clap->saveState().empty();
    }).join();
    EXPECT_FALSE(created);
    EXPECT_FALSE(saved);
    EXPECT_EQ(clap->timerPeriodMs, 0u);

    ASSERT_TRUE(gui->create(p, kNativeWindowApi, false));
    EXPECT_FALSE(gui->create(p, kNativeWindowApi, false)) << "one editor at a time";
    const clap_window_t cocoa = {"cocoa", {nullptr}};
    EXPECT_FALSE(gui->set_parent(p, &cocoa));
    EXPECT_FALSE(gui->set_parent(p, nullptr));
    gui->destroy(p);
    gui->destroy(p);
    EXPECT_EQ(clap->timerPeriodMs, 0u) << "the timer goes with the editor";
}

} // namespace
