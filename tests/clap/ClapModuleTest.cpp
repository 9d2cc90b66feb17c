// The CLAP module as a host meets it: the factory's one plug-in and its identity, the
// extensions, the audio ports and latency, the parameters and their texts (which must agree
// with what the VST 2 edition shows for every factory program), and the saved state.
#include "ClapTestSupport.h"
#include "ExpectedParameterNames.h"

#include <clap/ext/audio-ports.h>
#include <clap/ext/latency.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

namespace {

TEST(ClapModule, TheFactoryMakesOnePluginWithTheProductsIdentity) {
    const auto clap = loadClap();
    ASSERT_TRUE(clap->isLoaded()) << clap->error();
    const clap_plugin_factory_t* factory = clap->factory();
    EXPECT_EQ(factory->get_plugin_count(factory), 1u);
    EXPECT_EQ(factory->get_plugin_descriptor(factory, 1), nullptr);
    EXPECT_EQ(clap->entry()->get_factory("clap.preset-discovery-factory"), nullptr);
    EXPECT_EQ(clap->entry()->get_factory(nullptr), nullptr);

    const clap_plugin_descriptor_t* d = clap->descriptor();
    // Sessions in every host find the plug-in by this ID.
    EXPECT_STREQ(d->id, "com.velmorinthlabs.qvl-feedback-compressor");
    EXPECT_STREQ(d->name, "QVL Feedback Compressor");
    EXPECT_STREQ(d->vendor, "Velmorinth Labs");
    EXPECT_STREQ(d->version, QVL_VERSION_TEXT);
    EXPECT_EQ(std::string(d->url).rfind("http://www.velmorinthlabs.com/", 0), 0u);
    EXPECT_NE(std::string(d->description), "");
    std::set<std::string> features;
    for (const char* const* f = d->features; *f; ++f)
        features.insert(*f);
    EXPECT_EQ(features,
              (std::set<std::string>{"audio-effect", "compressor", "mastering", "stereo"}));

    HostedClapPlugin wrongId(QVL_CLAP_MODULE_PATH, "com.velmorinthlabs.other");
    EXPECT_FALSE(wrongId.isLoaded());
}

// A stereo main pair in either precision, and beside the main input the key's port,
// "Sidechain": not main, stereo, in the main pair's precision, never processed in place.
TEST(ClapModule, OffersItsExtensionsAStereoPairInEitherPrecisionAndASidechainPort) {
    const auto clap = loadClap();
    ASSERT_TRUE(clap->isLoaded()) << clap->error();
    for (const char* id : {CLAP_EXT_AUDIO_PORTS, CLAP_EXT_LATENCY, CLAP_EXT_PARAMS, CLAP_EXT_STATE,
                           CLAP_EXT_GUI, CLAP_EXT_TIMER_SUPPORT})
        EXPECT_NE(clap->extension<void>(id), nullptr) << id;
    EXPECT_EQ(clap->extension<void>("clap.note-ports"), nullptr);
    EXPECT_EQ(clap->extension<void>(nullptr), nullptr);

    const auto* ports = clap->extension<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
    for (bool isInput : {true, false}) {
        ASSERT_EQ(ports->count(clap->plugin(), isInput), isInput ? 2u : 1u);
        clap_audio_port_info_t info{};
        ASSERT_TRUE(ports->get(clap->plugin(), 0, isInput, &info));
        EXPECT_EQ(info.channel_count, 2u);
        EXPECT_STREQ(info.port_type, CLAP_PORT_STEREO);
        EXPECT_TRUE(info.flags & CLAP_AUDIO_PORT_IS_MAIN);
        EXPECT_TRUE(info.flags & CLAP_AUDIO_PORT_SUPPORTS_64BITS);
        EXPECT_EQ(info.in_place_pair, info.id);
        EXPECT_FALSE(ports->get(clap->plugin(), isInput ? 2 : 1, isInput, &info));
        EXPECT_FALSE(ports->get(clap->plugin(), 0, isInput, nullptr));
    }
    clap_audio_port_info_t key{};
    ASSERT_TRUE(ports->get(clap->plugin(), 1, true, &key));
    EXPECT_STREQ(key.name, "Sidechain");
    EXPECT_NE(key.id, 0u);
    EXPECT_FALSE(key.flags & CLAP_AUDIO_PORT_IS_MAIN);
    EXPECT_TRUE(key.flags & CLAP_AUDIO_PORT_SUPPORTS_64BITS);
    EXPECT_TRUE(key.flags & CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE);
    EXPECT_EQ(key.channel_count, 2u);
    EXPECT_STREQ(key.port_type, CLAP_PORT_STEREO);
    EXPECT_EQ(key.in_place_pair, CLAP_INVALID_ID);

    ASSERT_TRUE(clap->activate(48000.0));
    const auto* latency = clap->extension<clap_plugin_latency_t>(CLAP_EXT_LATENCY);
    EXPECT_EQ(latency->get(clap->plugin()), 151u);
}

TEST(ClapModuleParameters, TheVst2ParametersWithTheirNamesThenScSourceAllAutomatable) {
    const auto clap = loadClap();
    ASSERT_TRUE(clap->isLoaded()) << clap->error();
    const auto* params = clap->extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    ASSERT_EQ(params->count(clap->plugin()), 20u);
    const std::set<clap_id> stepped = {1, 11, 12, 15, 16, 17, 18};
    for (uint32_t i = 0; i < 19; ++i) {
        clap_param_info_t info{};
        ASSERT_TRUE(params->get_info(clap->plugin(), i, &info));
        EXPECT_EQ(info.id, i);
        EXPECT_STREQ(info.name, kExpectedParameterNames[i]);
        EXPECT_TRUE(info.flags & CLAP_PARAM_IS_AUTOMATABLE) << i;
        EXPECT_EQ((info.flags & CLAP_PARAM_IS_BYPASS) != 0, i == kBypassId) << i;
        EXPECT_EQ((info.flags & CLAP_PARAM_IS_STEPPED) != 0, stepped.count(i) == 1) << i;
        EXPECT_LT(info.min_value, info.max_value);
        EXPECT_EQ(info.default_value, clap->paramValue(i)) << "a fresh instance holds defaults";
    }
    // SC Source, which the VST 2 module has not: an ID past its slots, stepped, Internal first.
    clap_param_info_t info{};
    ASSERT_TRUE(params->get_info(clap->plugin(), 19, &info));
    EXPECT_EQ(info.id, 21u);
    EXPECT_STREQ(info.name, "SC Source");
    EXPECT_TRUE(info.flags & CLAP_PARAM_IS_AUTOMATABLE);
    EXPECT_TRUE(info.flags & CLAP_PARAM_IS_STEPPED);
    EXPECT_EQ(info.min_value, 0.0);
    EXPECT_EQ(info.max_value, 1.0);
    EXPECT_EQ(info.default_value, 0.0);
    EXPECT_EQ(clap->valueText(21, 0.0), "Internal");
    EXPECT_EQ(clap->valueText(21, 1.0), "External");
    EXPECT_FALSE(params->get_info(clap->plugin(), 20, &info));
    EXPECT_FALSE(params->get_info(clap->plugin(), 0, nullptr));
}

// The number a VST 2 display text shows ("RMS 5.0", "-24.0 dB", "2.0:1", " 63 ms"), or NaN.
double shownNumber(const std::string& text) {
    if (text == "Peak") return 0.0;
    if (text == "Dyn RMS") return 600.0;
    if (text == "Out") return -100.0;
    const std::size_t start = text.find_first_of("-0123456789");
    if (start == std::string::npos) return NAN;
    return std::strtod(text.c_str() + start, nullptr);
}

// Half a unit of the last printed digit, and a little more: some texts are printed from single
// precision, so a value just above a rounding tie may print below it.
double printedStep(const std::string& text) {
    const std::size_t dot = text.find('.');
    return (dot == std::string::npos ? 0.5 : 0.05) * 1.0001;
}

TEST(ClapModuleParameters, EveryProgramShowsTheVst2TextsWhichReadBackAsTheSameSetting) {
    const std::set<clap_id> continuous = {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14};
    for (int program = 0; program < 7; ++program) {
        SCOPED_TRACE(program);
        HostedPlugin vst2(QVL_MODULE_PATH);
        vst2.setProgram(program);
        const auto clap = loadClap();
        ASSERT_TRUE(clap->loadState(stateRecord(program, vst2ProgramValues(program))));
        const auto* params = clap->extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
        for (clap_id id = 0; id < 19; ++id) {
            const std::string shown = vst2.parameterDisplay(static_cast<int>(id));
            const double plain = clap->paramValue(id);
            EXPECT_EQ(clap->valueText(id, plain), shown) << "parameter " << id;
            // What a user types from that text comes back as the same text.
            double typed = NAN;
            ASSERT_TRUE(params->text_to_value(clap->plugin(), id, shown.c_str(), &typed)) << shown;
            EXPECT_EQ(clap->valueText(id, typed), shown);
            if (continuous.count(id)) {
                EXPECT_NEAR(plain, shownNumber(shown), printedStep(shown)) << shown;
            }
        }
    }
}

// Hosts that restore a session, or play automation, send plain values back: every program's
// values must come back exactly as the effect held them, so the sound is the program's.
TEST(ClapModuleParameters, PlainValuesSentBackRestoreEveryProgramExactly) {
    for (int program = 0; program < 7; ++program) {
        SCOPED_TRACE(program);
        const auto source = loadClap();
        ASSERT_TRUE(source->loadState(stateRecord(program, vst2ProgramValues(program))));
        std::vector<HostedClapPlugin::Change> changes;
        for (clap_id id = 0; id < 19; ++id)
            changes.push_back({0, id, source->paramValue(id)});
        const auto copy = loadClap();
        ASSERT_TRUE(copy->loadState(stateRecord(program, vst2ProgramValues(0))));
        copy->flush(changes);
        const std::vector<uint8_t> expected = source->saveState(), restored = copy->saveState();
        ASSERT_EQ(restored.size(), expected.size());
        // The values of the 19 shown parameters, after magic, version and program.
        EXPECT_TRUE(std::equal(expected.begin() + 12, expected.begin() + 12 + 4 * 19,
                               restored.begin() + 12));
    }
}

TEST(ClapModuleParameters, SwitchesTakeTheirPositionsAndOutOfRangeValuesAreHeldToTheRange) {
    const auto clap = loadClap();
    ASSERT_TRUE(clap->isLoaded()) << clap->error();
    clap->flush({{0, 1, 2.0}, {0, 18, 0.0}, {0, 11, 1.0}, {0, 3, 10.0}, {0, 9, -500.0}});
    EXPECT_EQ(clap->valueText(1, clap->paramValue(1)), "6 dB/oct");
    EXPECT_EQ(clap->valueText(18, clap->paramValue(18)), "6 dB");
    EXPECT_EQ(clap->valueText(11, clap->paramValue(11)), "on");
    EXPECT_EQ(clap->paramValue(3), 0.0);
    EXPECT_EQ(clap->valueText(9, clap->paramValue(9)), "Out");
    EXPECT_TRUE(clap->outputEvents.empty()) << "the host's own changes are not echoed";
}

// A host's slider runs from the declared minimum to the maximum: every value the host reads
// back lies between them, whatever it sent, for every parameter listed, and every text it is
// shown reads back inside them too.
TEST(ClapModuleParameters, EveryValueAHostReadsBackLiesInTheDeclaredRange) {
    const auto clap = loadClap();
    ASSERT_TRUE(clap->activate(48000.0));
    const auto* params = clap->extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    std::vector<clap_param_info_t> infos(params->count(clap->plugin()));
    for (uint32_t i = 0; i < infos.size(); ++i)
        ASSERT_TRUE(params->get_info(clap->plugin(), i, &infos[i]));
    const auto expectInRange = [&](const std::string& after) {
        for (const clap_param_info_t& info : infos) {
            SCOPED_TRACE(testing::Message() << info.name << " after " << after);
            ASSERT_LT(info.min_value, info.max_value);
            const double value = clap->paramValue(info.id);
            EXPECT_GE(value, info.min_value);
            EXPECT_LE(value, info.max_value);
            double typed = NAN;
            ASSERT_TRUE(params->text_to_value(clap->plugin(), info.id,
                                              clap->valueText(info.id, value).c_str(), &typed));
            EXPECT_GE(typed, info.min_value);
            EXPECT_LE(typed, info.max_value);
        }
    };
    expectInRange("nothing");
    for (const clap_param_info_t& info : infos) {
        EXPECT_GE(info.default_value, info.min_value) << info.name;
        EXPECT_LE(info.default_value, info.max_value) << info.name;
    }
    // Every saved value over the whole travel, as the state record holds the effect's values.
    for (int step = 0; step <= 40; ++step) {
        ASSERT_TRUE(clap->loadState(
            stateRecord(0, std::vector<float>(21, static_cast<float>(step) / 40.0f))));
        expectInRange("a record holding " + std::to_string(step / 40.0));
    }
    float left[64] = {}, right[64] = {};
    float* io[2] = {left, right};
    for (double sent : {-1e300, -1000.0, -0.5, 0.5, 1000.0, 1e300, double(INFINITY), double(NAN)}) {
        std::vector<HostedClapPlugin::Change> changes;
        for (const clap_param_info_t& info : infos)
            changes.push_back({0, info.id, sent});
        clap->flush(changes);
        expectInRange("a flush of " + std::to_string(sent));
        for (HostedClapPlugin::Change& change : changes)
            change.value = -sent;
        clap->process(io, io, 64, changes);
        expectInRange("a block of " + std::to_string(-sent));
    }
}

TEST(ClapModuleState, SavedStateComesBackWholeInAnotherInstance) {
    const auto first = loadClap();
    ASSERT_TRUE(first->loadState(stateRecord(5, vst2ProgramValues(5))));
    first->flush({{0, 3, -31.5}, {0, 15, 1.0}, {0, 21, 1.0}});
    const std::vector<uint8_t> saved = first->saveState();
    ASSERT_EQ(saved.size(), 100u);
    EXPECT_EQ(std::string(saved.begin(), saved.begin() + 4), "QVLS");
    EXPECT_EQ(saved[8], 5) << "the program travels with the values";

    const auto second = loadClap();
    // A host may hand the bytes over a few at a time.
    ASSERT_TRUE(second->loadState(saved, 7));
    for (clap_id id = 0; id < 19; ++id)
        EXPECT_EQ(second->paramValue(id), first->paramValue(id)) << id;
    EXPECT_EQ(second->paramValue(21), 1.0) << "the external key";
    EXPECT_EQ(second->saveState(), saved);
    EXPECT_GE(second->valueRescans, 1) << "the host is told to read the values again";
}

} // namespace
