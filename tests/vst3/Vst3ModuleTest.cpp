// The VST 3 edition as a host scans it: factory and class, buses, sample sizes, latency and
// tail, the parameter list with the VST 2 module's names, defaults and texts, the programs.
#include "ExpectedParameterNames.h"
#include "Vst3TestSupport.h"

#include <cmath>
#include <string>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST(Vst3Factory, DescribesOneDynamicsEffectByItsMaker) {
    auto plugin = loadVst3();
    IPluginFactory* factory = plugin->factory();
    PFactoryInfo info{};
    ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "Velmorinth Labs");
    EXPECT_STREQ(info.url, "http://www.velmorinthlabs.com");
    ASSERT_EQ(factory->countClasses(), 1);

    void* asked = nullptr;
    ASSERT_EQ(factory->queryInterface(IPluginFactory3_iid, &asked), kResultOk);
    auto* factory3 = static_cast<IPluginFactory3*>(asked);
    PClassInfo2 info2{};
    ASSERT_EQ(factory3->getClassInfo2(0, &info2), kResultOk);
    EXPECT_STREQ(info2.category, kVstAudioEffectClass);
    EXPECT_STREQ(info2.name, "QVL Feedback Compressor");
    EXPECT_STREQ(info2.subCategories, "Fx|Dynamics");
    EXPECT_STREQ(info2.vendor, "Velmorinth Labs");
    EXPECT_STREQ(info2.version, QVL_EXPECTED_VERSION);
    EXPECT_EQ(std::string(info2.sdkVersion).rfind("VST 3", 0), 0u);
    PClassInfoW wide{};
    ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), kResultOk);
    EXPECT_EQ(asciiText(wide.name), "QVL Feedback Compressor");
    EXPECT_EQ(std::memcmp(wide.cid, info2.cid, sizeof(TUID)), 0);
    // Sessions and presets in every host find the plug-in by this ID.
    const TUID fixed = INLINE_UID(0x5176C1A3, 0x8E2B4F06, 0x9D41E7B2, 0x3C08A95F);
    EXPECT_EQ(std::memcmp(info2.cid, fixed, sizeof(TUID)), 0);

    PClassInfo none{};
    EXPECT_NE(factory->getClassInfo(1, &none), kResultOk);
    EXPECT_NE(factory->getClassInfo(0, nullptr), kResultOk);
    void* made = reinterpret_cast<void*>(1);
    const TUID unknown = INLINE_UID(1, 2, 3, 4);
    EXPECT_NE(factory->createInstance(unknown, IComponent_iid, &made), kResultOk);
    EXPECT_EQ(made, nullptr);
}

// A stereo main bus each way, whatever is asked, and beside the main input an aux bus for the
// key, "Sidechain", inactive until the host routes a key to it, stereo or mono as arranged.
TEST(Vst3Buses, StereoMainBusesAndASidechainBusTheHostSwitchesOn) {
    auto plugin = loadVst3();
    IComponent* component = plugin->component();
    EXPECT_EQ(component->getBusCount(kAudio, kInput), 2);
    EXPECT_EQ(component->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(component->getBusCount(kEvent, kInput), 0);
    BusInfo bus{};
    for (BusDirection direction : {kInput, kOutput}) {
        ASSERT_EQ(component->getBusInfo(kAudio, direction, 0, bus), kResultOk);
        EXPECT_EQ(bus.channelCount, 2);
        EXPECT_EQ(bus.busType, kMain);
        EXPECT_TRUE(bus.flags & BusInfo::kDefaultActive);
    }
    ASSERT_EQ(component->getBusInfo(kAudio, kInput, 1, bus), kResultOk);
    EXPECT_EQ(asciiText(bus.name), "Sidechain");
    EXPECT_EQ(bus.busType, kAux);
    EXPECT_EQ(bus.mediaType, kAudio);
    EXPECT_EQ(bus.direction, kInput);
    EXPECT_EQ(bus.channelCount, 2);
    EXPECT_FALSE(bus.flags & BusInfo::kDefaultActive);
    EXPECT_NE(component->getBusInfo(kAudio, kInput, 2, bus), kResultOk);
    EXPECT_NE(component->getBusInfo(kAudio, kOutput, 1, bus), kResultOk);
    EXPECT_NE(component->getBusInfo(kEvent, kInput, 0, bus), kResultOk);
    EXPECT_EQ(component->activateBus(kAudio, kInput, 1, true), kResultOk);
    EXPECT_EQ(component->activateBus(kAudio, kInput, 1, false), kResultOk);
    EXPECT_NE(component->activateBus(kAudio, kInput, 2, true), kResultOk);
    EXPECT_NE(component->activateBus(kAudio, kOutput, 1, true), kResultOk);

    IAudioProcessor* processor = plugin->processor();
    SpeakerArrangement mono = SpeakerArr::kMono, stereo = SpeakerArr::kStereo,
                       surround = SpeakerArr::k51;
    for (auto [in, out] : {std::pair{mono, mono}, std::pair{mono, stereo},
                           std::pair{surround, surround}, std::pair{stereo, mono}}) {
        EXPECT_EQ(processor->setBusArrangements(&in, 1, &out, 1), kResultFalse);
        SpeakerArrangement answer = 0;
        ASSERT_EQ(processor->getBusArrangement(kInput, 0, answer), kResultOk);
        EXPECT_EQ(answer, SpeakerArr::kStereo);
        ASSERT_EQ(processor->getBusArrangement(kOutput, 0, answer), kResultOk);
        EXPECT_EQ(answer, SpeakerArr::kStereo);
    }
    EXPECT_EQ(processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultTrue);
    EXPECT_EQ(processor->setBusArrangements(nullptr, 0, &stereo, 1), kResultFalse);

    // The key takes a mono arrangement too, and keeps the last one taken.
    SpeakerArrangement answer = 0;
    SpeakerArrangement keyed[2] = {stereo, mono};
    EXPECT_EQ(processor->setBusArrangements(keyed, 2, &stereo, 1), kResultTrue);
    ASSERT_EQ(processor->getBusArrangement(kInput, 1, answer), kResultOk);
    EXPECT_EQ(answer, SpeakerArr::kMono);
    ASSERT_EQ(component->getBusInfo(kAudio, kInput, 1, bus), kResultOk);
    EXPECT_EQ(bus.channelCount, 1);
    for (auto [main, key] :
         {std::pair{stereo, surround}, std::pair{mono, stereo}, std::pair{mono, mono}}) {
        SpeakerArrangement refused[2] = {main, key};
        EXPECT_EQ(processor->setBusArrangements(refused, 2, &stereo, 1), kResultFalse);
        ASSERT_EQ(processor->getBusArrangement(kInput, 1, answer), kResultOk);
        EXPECT_EQ(answer, SpeakerArr::kMono);
    }
    keyed[1] = stereo;
    EXPECT_EQ(processor->setBusArrangements(keyed, 2, &stereo, 1), kResultTrue);
    ASSERT_EQ(processor->getBusArrangement(kInput, 1, answer), kResultOk);
    EXPECT_EQ(answer, SpeakerArr::kStereo);
    SpeakerArrangement tooMany[3] = {stereo, stereo, stereo};
    EXPECT_EQ(processor->setBusArrangements(tooMany, 3, &stereo, 1), kResultFalse);
}

TEST(Vst3Processing, BothSampleSizesAndTheLatency) {
    auto plugin = loadVst3();
    IAudioProcessor* processor = plugin->processor();
    EXPECT_EQ(processor->canProcessSampleSize(kSample32), kResultTrue);
    EXPECT_EQ(processor->canProcessSampleSize(kSample64), kResultTrue);
    EXPECT_EQ(processor->canProcessSampleSize(7), kResultFalse);
    EXPECT_EQ(processor->getLatencySamples(), 151u);
}

// The engine's output noise never stops, so the tail is how long the input is still heard in
// it: loud bursts, then silence, must come within -160 dBFS of silence alone from the tail's
// end on, for every program.
TEST(Vst3Processing, TheTailCoversWhereTheInputIsStillHeard) {
    for (double rate : {44100.0, 96000.0, 192000.0}) {
        for (int program = 0; program < 7; ++program) {
            Stereo<float> heard[2];
            uint32 tail = 0;
            const int silentFrom = static_cast<int>(rate / 4), frames = silentFrom * 2;
            for (int run = 0; run < 2; ++run) {
                auto plugin = loadVst3();
                plugin->controller()->setParamNormalized(kProgramId, program / 6.0);
                plugin->setup(rate, kSample32);
                plugin->activate(true);
                tail = plugin->processor()->getTailSamples();
                Stereo<float> in = bursts<float>(frames, rate);
                const int silence = run == 0 ? silentFrom : 0;
                std::fill(in.left.begin() + silence, in.left.end(), 0.0f);
                std::fill(in.right.begin() + silence, in.right.end(), 0.0f);
                heard[run] = Stereo<float>(static_cast<std::size_t>(frames));
                processVst3(*plugin, in, heard[run], 0, frames);
            }
            EXPECT_GT(tail, 151u);
            EXPECT_LT(tail, static_cast<uint32>(151 + rate / 50));
            for (std::size_t n = static_cast<std::size_t>(silentFrom) + tail; n < heard[0].frames();
                 ++n) {
                ASSERT_NEAR(heard[0].left[n], heard[1].left[n], 1e-8)
                    << rate << " Hz, program " << program << ", frame " << n;
                ASSERT_NEAR(heard[0].right[n], heard[1].right[n], 1e-8);
            }
        }
    }
}

TEST(Vst3Parameters, TheVst2IndicesWithNamesStepsAndDefaultsThenScSourceThenTheProgram) {
    auto plugin = loadVst3();
    auto vst2 = loadVst2();
    IEditController* controller = plugin->controller();
    ASSERT_EQ(controller->getParameterCount(), 21);
    for (int i = 0; i < 19; ++i) {
        SCOPED_TRACE(kExpectedParameterNames[i]);
        ParameterInfo info{};
        ASSERT_EQ(controller->getParameterInfo(i, info), kResultOk);
        EXPECT_EQ(info.id, static_cast<ParamID>(i));
        EXPECT_EQ(asciiText(info.title), kExpectedParameterNames[i]);
        EXPECT_FALSE(asciiText(info.shortTitle).empty());
        EXPECT_LE(asciiText(info.shortTitle).size(), 8u);
        EXPECT_EQ(info.defaultNormalizedValue, vst3Value(info.id, vst2->getParameter(i)));
        EXPECT_EQ(controller->getParamNormalized(info.id),
                  vst3Value(info.id, vst2->getParameter(i)));
        EXPECT_TRUE(info.flags & ParameterInfo::kCanAutomate);
        EXPECT_EQ(info.unitId, kRootUnitId);
        // One bypass: the effect's own, which the host's bypass button then drives.
        EXPECT_EQ((info.flags & ParameterInfo::kIsBypass) != 0, info.id == kBypassId);
        EXPECT_FALSE(info.flags & ParameterInfo::kIsProgramChange);
    }
    const std::pair<int, int32> steps[] = {{1, 2},  {18, 3}, {11, 1}, {12, 1}, {15, 1},
                                           {16, 1}, {17, 1}, {3, 0},  {0, 0},  {5, 0}};
    for (auto [index, count] : steps) {
        ParameterInfo info{};
        controller->getParameterInfo(index, info);
        EXPECT_EQ(info.stepCount, count) << kExpectedParameterNames[index];
    }
    const std::pair<int, const char*> units[] = {{3, "dB"}, {6, "ms"}, {2, "Hz"}, {13, "%"}};
    for (auto [index, unit] : units) {
        ParameterInfo info{};
        controller->getParameterInfo(index, info);
        EXPECT_EQ(asciiText(info.units), unit);
    }

    // SC Source, which the VST 2 module has not: an ID past its slots, a list of two settings
    // that starts at Internal.
    ParameterInfo source{};
    ASSERT_EQ(controller->getParameterInfo(19, source), kResultOk);
    EXPECT_EQ(source.id, 21u);
    EXPECT_EQ(asciiText(source.title), "SC Source");
    EXPECT_EQ(source.stepCount, 1);
    EXPECT_TRUE(source.flags & ParameterInfo::kIsList);
    EXPECT_TRUE(source.flags & ParameterInfo::kCanAutomate);
    EXPECT_EQ(source.defaultNormalizedValue, 0.0);
    EXPECT_EQ(plugin->text(source.id, 0.0), "Internal");
    EXPECT_EQ(plugin->text(source.id, 1.0), "External");

    ParameterInfo program{};
    ASSERT_EQ(controller->getParameterInfo(20, program), kResultOk);
    EXPECT_EQ(program.id, kProgramId);
    EXPECT_TRUE(program.flags & ParameterInfo::kIsProgramChange);
    EXPECT_FALSE(program.flags & ParameterInfo::kIsBypass);
    EXPECT_EQ(program.stepCount, 6);
    EXPECT_NE(controller->getParameterInfo(21, program), kResultOk);
    EXPECT_NE(controller->getParameterInfo(-1, program), kResultOk);
}

// Wherever a host's value moves up, the value in the control's own unit moves up or stays, and
// every value the host reads back lies in the range from the bottom to the top of the travel:
// for every parameter listed, after values in range, past either end and not a number.
TEST(Vst3Parameters, PlainValuesRiseWithTheNormalizedValuesAndStayInTheirRange) {
    auto plugin = loadVst3();
    IEditController* c = plugin->controller();
    const int32 count = c->getParameterCount();
    for (int32 listIndex = 0; listIndex < count; ++listIndex) {
        ParameterInfo info{};
        ASSERT_EQ(c->getParameterInfo(listIndex, info), kResultOk);
        SCOPED_TRACE(asciiText(info.title));
        const ParamValue lowest = c->normalizedParamToPlain(info.id, 0.0);
        const ParamValue highest = c->normalizedParamToPlain(info.id, 1.0);
        EXPECT_LT(lowest, highest);
        EXPECT_FALSE(std::signbit(highest)) << "a top of -0 reads as \"-0.0\" in a host";
        ParamValue previous = lowest;
        for (int step = 0; step <= 2000; ++step) {
            const ParamValue plain = c->normalizedParamToPlain(info.id, step / 2000.0);
            ASSERT_GE(plain, previous) << step / 2000.0;
            previous = plain;
        }
        const auto inRange = [&](const char* after) {
            const ParamValue normalized = c->getParamNormalized(info.id);
            EXPECT_GE(normalized, 0.0) << after;
            EXPECT_LE(normalized, 1.0) << after;
            const ParamValue plain = c->normalizedParamToPlain(info.id, normalized);
            EXPECT_GE(plain, lowest) << after;
            EXPECT_LE(plain, highest) << after;
            EXPECT_GE(c->plainParamToNormalized(info.id, plain), 0.0) << after;
            EXPECT_LE(c->plainParamToNormalized(info.id, plain), 1.0) << after;
        };
        inRange("the default");
        for (ParamValue sent : {0.0, 0.3, 1.0, -0.5, 1.5, std::nan(""), 1e300}) {
            c->setParamNormalized(info.id, sent);
            inRange(std::to_string(sent).c_str());
        }
        for (ParamValue plain : {lowest - 1000.0, highest + 1000.0, -1e300, std::nan("")}) {
            c->setParamNormalized(info.id, c->plainParamToNormalized(info.id, plain));
            inRange(std::to_string(plain).c_str());
        }
        Stereo<float> in(16), out(16);
        plugin->setup(44100.0, kSample32);
        plugin->activate(true);
        processVst3(*plugin, in, out, 0, 16, {{info.id, 0, 7.0}, {info.id, 8, -7.0}});
        inRange("values past the ends through the queue");
        plugin->activate(false);
    }
}

TEST(Vst3Parameters, TextsAreTheVst2HostTextsForEveryParameter) {
    auto plugin = loadVst3();
    auto vst2 = loadVst2();
    for (int i = 0; i < 19; ++i) {
        const auto id = static_cast<ParamID>(i);
        for (int step = 0; step <= 40; ++step) {
            const float v = static_cast<float>(step) / 40.0f;
            vst2->setParameter(i, v);
            EXPECT_EQ(plugin->text(id, vst3Value(id, v)), vst2->parameterDisplay(i))
                << kExpectedParameterNames[i] << " at " << v;
        }
    }
    EXPECT_EQ(plugin->text(kBypassId, 1.0), "on");
    EXPECT_EQ(plugin->text(kBypassId, 0.0), "off");
    // Threshold's top is 0 dB.
    EXPECT_EQ(plugin->text(3, 1.0), "-0.0 dB");
    EXPECT_EQ(plugin->text(3, 0.0), "-50.0 dB");
    for (int p = 0; p < 7; ++p)
        EXPECT_EQ(plugin->text(kProgramId, p / 6.0), vst2->programNameIndexed(p));
}

// A host's text field: what a user types from what the host showed, or in the control's unit.
TEST(Vst3Parameters, WhatAUserTypesIsReadAsTheControlsOwnValue) {
    auto plugin = loadVst3();
    IEditController* c = plugin->controller();
    const auto typed = [c](ParamID id, const char* text) {
        TChar wide[128] = {};
        for (int i = 0; text[i] != '\0'; ++i)
            wide[i] = static_cast<TChar>(text[i]);
        ParamValue value = -1.0;
        return c->getParamValueByString(id, wide, value) == kResultOk ? value : -1.0;
    };
    for (int i = 0; i < 19; ++i)
        for (int step = 0; step <= 40; ++step) {
            const std::string shown = plugin->text(static_cast<ParamID>(i), step / 40.0);
            EXPECT_EQ(plugin->text(static_cast<ParamID>(i), typed(i, shown.c_str())), shown)
                << kExpectedParameterNames[i];
        }
    EXPECT_EQ(typed(3, "-25 dB"), 0.5);
    EXPECT_EQ(typed(3, "-25"), 0.5);
    EXPECT_EQ(typed(10, "0dB"), 0.5);
    EXPECT_FLOAT_EQ(typed(5, "4:1"), 0.85f);
    EXPECT_EQ(typed(0, "Peak"), 0.0);
    EXPECT_EQ(typed(1, "6dB HP"), 1.0);
    EXPECT_EQ(typed(kBypassId, "on"), 1.0);
    EXPECT_EQ(typed(3, "-37.5 dB"), 0.25);
    EXPECT_EQ(typed(kProgramId, plugin->text(kProgramId, 0.5).c_str()), 0.5);
    for (const char* nonsense : {"6:1", "-80 dB", "", "norm:", "loud"})
        EXPECT_EQ(typed(5, nonsense), -1.0) << nonsense;
}

TEST(Vst3Parameters, PlainValuesInTheControlsOwnUnits) {
    auto plugin = loadVst3();
    IEditController* c = plugin->controller();
    const struct {
        ParamID id;
        double normalized, plain;
    } cases[] = {{3, 0.0, -50.0},       {3, 1.0, 0.0},         {3, 0.25, -37.5}, {2, 0.0, 30.0},
                 {2, 1.0, 300.0},       {10, 1.0, 12.0},       {4, 0.5, 10.0},   {1, 1.0, 2.0},
                 {kBypassId, 1.0, 1.0}, {kProgramId, 0.5, 3.0}};
    for (const auto& k : cases) {
        EXPECT_NEAR(c->normalizedParamToPlain(k.id, k.normalized), k.plain, 1e-9) << k.id;
        EXPECT_NEAR(c->plainParamToNormalized(k.id, k.plain), k.normalized, 1e-6) << k.id;
    }
}

TEST(Vst3Programs, TheFactoryProgramsAsTheRootUnitsProgramList) {
    auto plugin = loadVst3();
    auto vst2 = loadVst2();
    IUnitInfo* units = plugin->unitInfo();
    ASSERT_NE(units, nullptr);
    ASSERT_EQ(units->getUnitCount(), 1);
    UnitInfo unit{};
    ASSERT_EQ(units->getUnitInfo(0, unit), kResultOk);
    EXPECT_EQ(unit.id, kRootUnitId);
    ASSERT_EQ(units->getProgramListCount(), 1);
    ProgramListInfo list{};
    ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(unit.programListId, list.id);
    ASSERT_EQ(list.programCount, 7);
    for (int p = 0; p < 7; ++p) {
        String128 name{};
        ASSERT_EQ(units->getProgramName(list.id, p, name), kResultOk);
        EXPECT_EQ(asciiText(name), vst2->programNameIndexed(p));
    }
    String128 name{};
    EXPECT_NE(units->getProgramName(list.id, 7, name), kResultOk);
    EXPECT_NE(units->getProgramName(list.id + 1, 0, name), kResultOk);

    // Choosing a program loads its values and tells the host to read them all again.
    IEditController* controller = plugin->controller();
    ASSERT_EQ(controller->setParamNormalized(kProgramId, 4.0 / 6.0), kResultOk);
    vst2->setProgram(4);
    for (int i = 0; i < 19; ++i)
        EXPECT_EQ(controller->getParamNormalized(static_cast<ParamID>(i)),
                  vst3Value(static_cast<ParamID>(i), vst2->getParameter(i)))
            << kExpectedParameterNames[i];
    EXPECT_EQ(controller->getParamNormalized(kProgramId), 4.0 / 6.0);
    const auto calls = plugin->handler().calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "restart " + std::to_string(kParamValuesChanged));
}

} // namespace
