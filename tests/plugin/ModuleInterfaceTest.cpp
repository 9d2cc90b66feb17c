// The built module as a host sees it: loaded with dlopen, entered through VSTPluginMain, and
// asked every request of the interface.
#include "ExpectedParameterNames.h"
#include "HostedPlugin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using namespace vst2;

#if QVL_HAS_EDITOR
constexpr bool kHasEditor = true;
#else
constexpr bool kHasEditor = false;
#endif

class ModuleInterface : public testing::Test {
  protected:
    HostedPlugin plugin{QVL_MODULE_PATH};

    void SetUp() override { ASSERT_TRUE(plugin.isLoaded()) << plugin.error(); }
};

TEST(ModuleEntry, MainAndVstPluginMainAreOneFunction) {
    HostedPlugin plugin(QVL_MODULE_PATH);
    ASSERT_TRUE(plugin.isLoaded()) << plugin.error();
    void* entry = plugin.library().symbol("VSTPluginMain");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(plugin.library().symbol("main"), entry);
}

TEST(ModuleEntry, AsksTheHostVersionFirstAndCallsNothingElse) {
    HostedPlugin plugin(QVL_MODULE_PATH);
    ASSERT_TRUE(plugin.isLoaded()) << plugin.error();
    const auto calls = plugin.hostCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].opcode, audioMasterVersion);
    EXPECT_EQ(calls[0].index, 0);
    EXPECT_EQ(calls[0].value, 0);
    EXPECT_EQ(calls[0].opt, 0.0f);
}

TEST(ModuleEntry, AHostAnsweringVersionZeroGetsNoEffect) {
    HostOptions tooOld;
    tooOld.versionAnswer = 0;
    HostedPlugin plugin(QVL_MODULE_PATH, tooOld);
    EXPECT_FALSE(plugin.isLoaded());
    EXPECT_EQ(plugin.hostCalls().size(), 1u);
}

TEST(ModuleEntry, CloseAnswersOne) {
    HostedPlugin plugin(QVL_MODULE_PATH);
    ASSERT_TRUE(plugin.isLoaded()) << plugin.error();
    EXPECT_EQ(plugin.dispatch(effClose), 1);
}

TEST(ModuleEntry, TwoInstancesAreIndependent) {
    HostedPlugin first(QVL_MODULE_PATH);
    HostedPlugin second(QVL_MODULE_PATH);
    ASSERT_TRUE(first.isLoaded() && second.isLoaded());
    first.setParameter(3, 0.25f);
    EXPECT_EQ(first.getParameter(3), 0.25f);
    EXPECT_EQ(second.getParameter(3), 0.0f);
}

TEST_F(ModuleInterface, RecordFields) {
    const AEffect& e = plugin.effect();
    EXPECT_EQ(e.magic, fourCharacters('V', 's', 't', 'P'));
    EXPECT_EQ(e.numPrograms, 7);
    EXPECT_EQ(e.numParams, 21);
    EXPECT_EQ(e.numInputs, 2);
    EXPECT_EQ(e.numOutputs, 2);
    EXPECT_EQ(e.flags, effFlagsCanReplacing | effFlagsCanDoubleReplacing |
                           (kHasEditor ? effFlagsHasEditor : 0));
    EXPECT_EQ(e.initialDelay, 0);
    EXPECT_EQ(e.ioRatio, 1.0f);
    EXPECT_EQ(e.uniqueID, 0x734b6264);
    EXPECT_EQ(e.version, 1);
    EXPECT_EQ(e.realQualities, 0);
    EXPECT_EQ(e.offQualities, 0);
    EXPECT_EQ(e.user, nullptr);
    EXPECT_NE(e.object, nullptr);
    EXPECT_NE(e.process, nullptr);
    EXPECT_NE(e.processReplacing, nullptr);
    EXPECT_NE(e.processDoubleReplacing, nullptr);
}

TEST_F(ModuleInterface, NumericAnswersOfTheDispatcher) {
    struct Answer {
        int32_t opcode;
        int32_t index;
        intptr_t value;
        intptr_t expected;
    };
    // clang-format off
    const Answer answers[] = {
        {effOpen, 0, 0, 0},
        {effGetProgram, 0, 0, 0},
        {effIdentify, 0, 0, fourCharacters('N', 'v', 'E', 'f')},
        {effGetChunk, 0, 0, 0},
        {effSetChunk, 0, 0, 0},
        {effCanBeAutomated, 0, 0, 1},
        {effCanBeAutomated, 20, 0, 1},
        {effCanBeAutomated, 300, 0, 1},
        {effString2Parameter, 0, 0, 0},
        {effGetOutputProperties, 0, 0, 0},
        {effGetOutputProperties, 1, 0, 0},
        {effGetPlugCategory, 0, 0, 4},
        {effSetSpeakerArrangement, 0, 0, 0},
        {effSetBypass, 0, 1, 0},
        {effGetVendorVersion, 0, 0, 1000},
        {effVendorSpecific, 0, 0, 0},
        {effGetTailSize, 0, 0, 0},
        {effGetParameterProperties, 0, 0, 0},
        {effGetVstVersion, 0, 0, 2400},
        {effGetCurrentMidiProgram, 0, 0, -1},
        {effBeginSetProgram, 0, 0, 0},
        {effEndSetProgram, 0, 0, 0},
        {effStartProcess, 0, 0, 0},
        {effStopProcess, 0, 0, 0},
        {effSetTotalSampleToProcess, 0, 12345, 12345},
        {effSetPanLaw, 0, 0, 0},
        {effBeginLoadBank, 0, 0, 0},
        {effBeginLoadProgram, 0, 0, 0},
        {effSetProcessPrecision, 0, 1, 0},
        {effGetNumMidiInputChannels, 0, 0, 0},
        {effGetNumMidiOutputChannels, 0, 0, 0},
        {effSetProgram, 0, 0, 0},
        {effMainsChanged, 0, 0, 0},
        {effSetBlockSize, 0, 256, 0},
        // Requests this plug-in does not know, deprecated and offline ones among them.
        {9, 0, 0, 0}, {16, 0, 0, 0}, {20, 0, 0, 0}, {21, 0, 0, 0}, {30, 0, 0, 0},
        {38, 0, 0, 0}, {53, 0, 0, 0}, {62, 0, 0, 0}, {70, 0, 0, 0}, {80, 0, 0, 0},
        {1000, 0, 0, 0}, {-1, 0, 0, 0},
    };
    // clang-format on
    for (const Answer& a : answers)
        EXPECT_EQ(plugin.dispatch(a.opcode, a.index, a.value), a.expected) << "opcode " << a.opcode;
}

TEST_F(ModuleInterface, EventsAreAcceptedUnread) {
    VstEvents events{};
    EXPECT_EQ(plugin.dispatch(effProcessEvents, 0, 0, &events), 1);
}

TEST_F(ModuleInterface, IdentityTextsEndWithTheirZero) {
    struct TextAnswer {
        int32_t opcode;
        const char* expected;
    };
    for (const TextAnswer& t : {TextAnswer{effGetEffectName, "QVL Feedback Compressor"},
                                TextAnswer{effGetVendorString, "Velmorinth Labs"},
                                TextAnswer{effGetProductString, "QVL Feedback Compressor"}}) {
        char buffer[80];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(plugin.dispatch(t.opcode, 0, 0, buffer), 1);
        const std::size_t length = std::strlen(t.expected);
        EXPECT_EQ(std::string(buffer, length + 1), std::string(t.expected, length + 1));
        EXPECT_EQ(buffer[length + 1], 'x') << "wrote past the terminating zero";
    }
}

TEST_F(ModuleInterface, StringRequestsWithoutBufferAnswerZero) {
    for (int32_t opcode : {effGetEffectName, effGetVendorString, effGetProductString,
                           effGetProgramName, effSetProgramName, effGetParamLabel,
                           effGetParamDisplay, effGetParamName, effGetProgramNameIndexed, effCanDo,
                           effGetInputProperties, effGetSpeakerArrangement, effEditGetRect})
        EXPECT_EQ(plugin.dispatch(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
}

TEST_F(ModuleInterface, ParameterNamesAreWholeAndLabelsEmpty) {
    for (int i = 0; i < 21; ++i) {
        EXPECT_EQ(plugin.parameterName(i), kExpectedParameterNames[i]);
        EXPECT_EQ(plugin.parameterLabel(i), "");
    }
    char label[8] = "keep";
    plugin.dispatch(effGetParamLabel, 99, 0, label);
    EXPECT_STREQ(label, "");
}

TEST_F(ModuleInterface, ParametersAndTextsThroughTheRecord) {
    plugin.setParameter(3, 0.49f);
    EXPECT_EQ(plugin.getParameter(3), 0.49f);
    EXPECT_EQ(plugin.parameterDisplay(3), "-24.5 dB");
    EXPECT_EQ(plugin.parameterDisplay(0), "RMS  10");
    EXPECT_EQ(plugin.getParameter(501), 1.0f);
    EXPECT_EQ(plugin.getParameter(503), -70.0f);
}

TEST_F(ModuleInterface, HostBypassRequestLeavesTheBypassParameter) {
    plugin.setParameter(16, 0.0f);
    EXPECT_EQ(plugin.dispatch(effSetBypass, 0, 1), 0);
    EXPECT_EQ(plugin.getParameter(16), 0.0f);
}

TEST_F(ModuleInterface, CapabilitiesAreExactAndCaseSensitive) {
    struct Capability {
        const char* text;
        bool answer;
    };
    for (const Capability& c :
         {Capability{"receiveVstTimeInfo", true}, Capability{"receiveVstMidiEvent", true},
          Capability{"sendVstMidiEvent", true}, Capability{"receiveVstTimeinfo", false},
          Capability{"ReceiveVstMidiEvent", false}, Capability{"receiveVstTimeInfo ", false},
          Capability{"receiveVstMidiEvents", false}, Capability{"sendVstEvents", false},
          Capability{"receiveVstEvents", false}, Capability{"plugAsChannelInsert", false},
          Capability{"bypass", false}, Capability{"", false}})
        EXPECT_EQ(plugin.canDo(c.text), c.answer) << '"' << c.text << '"';
}

TEST_F(ModuleInterface, InputPinsCarryLabelsAndLeaveTheRestAlone) {
    const char* const labels[] = {"Input Left (1)", "Input Right (2)"};
    for (int index = 0; index < 2; ++index) {
        VstPinProperties pin{};
        std::strcpy(pin.shortLabel, "host");
        pin.arrangementType = 7;
        EXPECT_EQ(plugin.dispatch(effGetInputProperties, index, 0, &pin), 1);
        EXPECT_STREQ(pin.label, labels[index]);
        EXPECT_EQ(pin.flags, kVstPinIsActive | kVstPinIsStereo);
        EXPECT_STREQ(pin.shortLabel, "host");
        EXPECT_EQ(pin.arrangementType, 7);
    }
    for (int index : {2, -1}) {
        VstPinProperties pin;
        std::memset(&pin, 0x5a, sizeof pin);
        VstPinProperties untouched = pin;
        EXPECT_EQ(plugin.dispatch(effGetInputProperties, index, 0, &pin), 0);
        EXPECT_EQ(std::memcmp(&pin, &untouched, sizeof pin), 0) << index;
    }
}

TEST_F(ModuleInterface, SpeakerArrangementRequestNullsBothPointers) {
    int inputDummy = 0, outputDummy = 0;
    auto* input = reinterpret_cast<VstSpeakerArrangement*>(&inputDummy);
    auto* output = reinterpret_cast<VstSpeakerArrangement*>(&outputDummy);
    EXPECT_EQ(
        plugin.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&input), &output),
        0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
}

TEST_F(ModuleInterface, EditorRequestsMatchTheEditorFlag) {
    ERect* rect = nullptr;
    EXPECT_EQ(plugin.dispatch(effEditGetRect, 0, 0, &rect), kHasEditor ? 1 : 0);
    if (kHasEditor) {
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->right - rect->left, 690);
        EXPECT_EQ(rect->bottom - rect->top, 270);
    } else {
        EXPECT_EQ(rect, nullptr);
        EXPECT_EQ(plugin.dispatch(effEditIdle), 0);
        EXPECT_EQ(plugin.dispatch(effEditOpen, 0, 0, nullptr), 0);
    }
}

class ModuleLatency : public testing::TestWithParam<float> {};

TEST_P(ModuleLatency, ZeroUntilTheFirstResumeThen151) {
    HostedPlugin plugin(QVL_MODULE_PATH);
    ASSERT_TRUE(plugin.isLoaded()) << plugin.error();
    plugin.setSampleRate(GetParam());
    EXPECT_EQ(plugin.effect().initialDelay, 0);
    plugin.resume();
    EXPECT_EQ(plugin.effect().initialDelay, 151);
    EXPECT_EQ(plugin.getParameter(506), 1.0f);
    plugin.suspend();
    EXPECT_EQ(plugin.effect().initialDelay, 151);
    EXPECT_EQ(plugin.getParameter(506), 0.0f);
}

INSTANTIATE_TEST_SUITE_P(SampleRates, ModuleLatency, testing::Values(44100.0f, 48000.0f, 96000.0f));

} // namespace
