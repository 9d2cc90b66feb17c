// Factory programs, program switching and program names.
#include "EffectTestSupport.h"
#include "plugin/EffectHost.h"
#include "plugin/HostValueText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

namespace {

using namespace vst2;

const char* const kFactoryNames[kNumPrograms] = {
    "Downward Comp. Reset",  "Upward Comp. Reset", "Mastering: Smooth", "Mastering: Tight",
    "Mastering: Aggressive", "Mastering: Upward",  "Leveller"};

// What a host shows for every parameter of every factory program, leading blanks included.
// clang-format off
const char* const kFactoryTexts[kNumParameters][kNumPrograms] = {
    {"RMS  10", "RMS  10", "RMS  10", "Dyn RMS", "RMS 5.0", "Dyn RMS", "RMS  25"},
    {"off", "off", "3 dB/oct", "6 dB/oct", "6 dB/oct", "3 dB/oct", "3 dB/oct"},
    {" 90 Hz", " 90 Hz", " 99 Hz", "119 Hz", "119 Hz", " 99 Hz", "114 Hz"},
    {"-0.0 dB", "-40.0 dB", "-24.5 dB", "-24.5 dB", "-24.5 dB", "-50.0 dB", "-35.0 dB"},
    {"3.2 dB", "3.2 dB", "5.8 dB", "1.8 dB", "1.2 dB", "5.6 dB", "0.0 dB"},
    {"2.0:1", "2.0:1", "1.5:1", "2.0:1", "2.8:1", "2.3:1", "2.0:1"},
    {"15.0 ms", "15.0 ms", " 40 ms", "15.0 ms", "7.9 ms", "9.9 ms", "203 ms"},
    {"154 ms", "154 ms", "195 ms", "101 ms", " 49 ms", "148 ms", "154 ms"},
    {"250 ms", "250 ms", "500 ms", "250 ms", "195 ms", "250 ms", "1507 ms"},
    {"Out", "0.0 dB", "Out", "Out", "Out", "0.0 dB", "Out"},
    {"0.0 dB", "-60.0 dB", "1.9 dB", "3.1 dB", "4.1 dB", "-4.1 dB", "4.1 dB"},
    {"off", "off", "on", "on", "on", "on", "off"},
    {"off", "off", "on", "on", "on", "on", "off"},
    {"100.0%", "100.0%", "50.0%", "50.0%", "100.0%", "50.0%", "100.0%"},
    {"100.0%", "100.0%", "50.0%", "50.0%", "100.0%", "50.0%", "100.0%"},
    {"off", "off", "off", "off", "off", "off", "off"},
    {"off", "off", "off", "off", "off", "off", "off"},
    {"off", "off", "off", "off", "off", "off", "off"},
    {"12 dB", "24 dB", "12 dB", "12 dB", "12 dB", "48 dB", "12 dB"},
    {"-", "-", "-", "-", "-", "-", "-"},
    {"-", "-", "-", "-", "-", "-", "-"},
    {"Internal", "Internal", "Internal", "Internal", "Internal", "Internal", "Internal"},
};
// clang-format on

const float kProgramZeroValues[kNumParameters] = {
    0.54f, 0.0f, 0.475f, 0.0f, 0.16f, 0.4f, 0.31f, 0.425f, 0.5f, 0.0f, 0.5f,
    0.0f,  0.0f, 0.5f,   0.5f, 0.0f,  0.0f, 0.0f,  0.25f,  0.0f, 0.0f, 0.0f};

TEST(FactoryPrograms, ConstructionSelectsProgramZero) {
    EffectHarness h;
    EXPECT_EQ(h.effect.getProgram(), 0);
    EXPECT_EQ(h.text(effGetProgramName, 0), "Downward Comp. Reset");
    for (int i = 0; i < kNumParameters; ++i)
        EXPECT_EQ(h.effect.getParameter(i), kProgramZeroValues[i]) << "parameter " << i;
    // The editor is created after program 0 is applied, so it hears nothing during construction.
    EXPECT_TRUE(h.log.empty());
}

TEST(FactoryPrograms, EveryProgramShowsItsValueTexts) {
    EffectHarness h;
    for (int p = 0; p < kNumPrograms; ++p) {
        h.dispatch(effSetProgram, 0, p);
        ASSERT_EQ(h.effect.getProgram(), p);
        EXPECT_EQ(h.text(effGetProgramName, 0), kFactoryNames[p]);
        for (int i = 0; i < kNumVst2Slots; ++i)
            EXPECT_EQ(h.text(effGetParamDisplay, i), kFactoryTexts[i][p])
                << "program " << p << ", parameter " << i;
    }
}

TEST(FactoryPrograms, NamesByIndexLeaveOtherIndicesAlone) {
    EffectHarness h;
    for (int p = 0; p < kNumPrograms; ++p) {
        char name[64];
        std::memset(name, 'x', sizeof name);
        EXPECT_EQ(h.dispatch(effGetProgramNameIndexed, p, 0, name), 1);
        EXPECT_STREQ(name, kFactoryNames[p]);
    }
    for (int index : {7, -1, 1000}) {
        char name[8] = "keep";
        EXPECT_EQ(h.dispatch(effGetProgramNameIndexed, index, 0, name), 0);
        EXPECT_STREQ(name, "keep");
    }
    EXPECT_EQ(h.dispatch(effGetProgramNameIndexed, 0, 0, nullptr), 0);
}

TEST(ProgramSwitching, OutOfRangeProgramsChangeNothing) {
    EffectHarness h;
    h.dispatch(effSetProgram, 0, 2);
    h.log.clear();
    for (intptr_t index : {intptr_t{7}, intptr_t{-1}, std::numeric_limits<intptr_t>::max()}) {
        EXPECT_EQ(h.dispatch(effSetProgram, 0, index), 0);
        EXPECT_EQ(h.effect.getProgram(), 2);
    }
    EXPECT_EQ(h.effect.getParameter(kThreshold), 0.49f);
    EXPECT_TRUE(h.log.empty());
}

TEST(ProgramSwitching, ReappliesAllValuesInIndexOrderWithoutTellingTheHost) {
    EffectHarness h;
    h.log.clear();
    h.dispatch(effSetProgram, 0, 3);
    ASSERT_EQ(h.log.size(), static_cast<std::size_t>(kNumParameters));
    for (int i = 0; i < kNumParameters; ++i)
        EXPECT_EQ(h.log[static_cast<std::size_t>(i)], editorEvent(i, h.effect.getParameter(i)));
    EXPECT_EQ(h.log[kDetection].value, 1.0f);
    EXPECT_EQ(h.log[kMeterScale].value, 0.25f);
}

TEST(ProgramSwitching, ReselectingAProgramAppliesItsValuesAgain) {
    EffectHarness h;
    h.log.clear();
    h.dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(h.log.size(), static_cast<std::size_t>(kNumParameters));
}

TEST(ProgramSwitching, EditsStayWithTheirProgram) {
    EffectHarness h;
    h.dispatch(effSetProgram, 0, 2);
    h.effect.setParameter(kThreshold, 0.1f);
    h.effect.setParameter(kBypass, 1.0f);
    h.dispatch(effSetProgram, 0, 4);
    EXPECT_EQ(h.effect.getParameter(kThreshold), 0.49f);
    EXPECT_FALSE(h.effect.bypassOn());
    h.dispatch(effSetProgram, 0, 2);
    EXPECT_EQ(h.effect.getParameter(kThreshold), 0.1f);
    EXPECT_EQ(h.effect.getParameter(kBypass), 1.0f);
    EXPECT_TRUE(h.effect.bypassOn());
}

TEST(ProgramNames, RenamingKeepsAtMost24Characters) {
    EffectHarness h;
    char longName[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"; // 30 characters
    h.dispatch(effSetProgramName, 0, 0, longName);
    EXPECT_EQ(h.text(effGetProgramName, 0), "ABCDEFGHIJKLMNOPQRSTUVWX");

    char shortName[] = "Short";
    h.dispatch(effSetProgramName, 0, 0, shortName);
    EXPECT_EQ(h.text(effGetProgramName, 0), "Short");
    EXPECT_EQ(h.text(effGetProgramNameIndexed, 0), "Short");
    // Only the current program is renamed.
    EXPECT_EQ(h.text(effGetProgramNameIndexed, 1), "Upward Comp. Reset");
}

TEST(ProgramNames, NullTextsAreIgnored) {
    EffectHarness h;
    EXPECT_EQ(h.dispatch(effSetProgramName, 0, 0, nullptr), 0);
    EXPECT_EQ(h.dispatch(effGetProgramName, 0, 0, nullptr), 0);
    EXPECT_EQ(h.text(effGetProgramName, 0), "Downward Comp. Reset");
}

// A host that keeps no list of programs, as in CLAP: it hears the user's changes and gestures.
struct ValuesOnlyHost final : EffectHost {
    std::string calls; // 'b' begin, 'a' automate, 'e' end, one letter per call
    void automate(int, float) override { calls += 'a'; }
    void beginEdit(int) override { calls += 'b'; }
    void endEdit(int) override { calls += 'e'; }
};

TEST(ProgramsFromTheEditor, WithoutAHostListAProgramIsItsValuesInOneGesture) {
    ValuesOnlyHost host;
    CompressorEffect effect(&host);
    EXPECT_EQ(effect.checkedProgram(), 0);
    effect.setParameter(kThreshold, 0.3f); // edited: the current program holds it
    EXPECT_EQ(effect.checkedProgram(), -1);

    effect.chooseProgram(4);
    EXPECT_EQ(host.calls, std::string(kNumParameters, 'b') + std::string(kNumParameters, 'a') +
                              std::string(kNumParameters, 'e'));
    for (int i = 0; i < kNumParameters; ++i)
        EXPECT_EQ(std::string(kParameters[i].hostText(effect.getParameter(i)).text),
                  kFactoryTexts[i][4])
            << "parameter " << i;
    EXPECT_EQ(effect.checkedProgram(), 4);
    // The host sees no program, so the one kept for it stays.
    EXPECT_EQ(effect.getProgram(), 0);
    // The slots without a function do not count.
    effect.setParameter(19, 0.7f);
    EXPECT_EQ(effect.checkedProgram(), 4);

    // The edited first program comes back as the factory made it.
    effect.chooseProgram(0);
    for (int i = 0; i < kNumParameters; ++i)
        EXPECT_EQ(effect.getParameter(i), kProgramZeroValues[i]) << "parameter " << i;

    host.calls.clear();
    for (int program : {-1, kNumPrograms, 1000})
        effect.chooseProgram(program);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(effect.checkedProgram(), 0);
}

TEST(ProgramsFromTheEditor, InVst2AProgramIsAProgramChangeTheHostIsToldOf) {
    EffectHarness h;
    h.dispatch(effSetProgram, 0, 1);
    EXPECT_EQ(h.effect.checkedProgram(), 1);
    h.effect.setParameter(kThreshold, 0.3f); // an edited program stays the current one
    EXPECT_EQ(h.effect.checkedProgram(), 1);
    h.log.clear();
    h.effect.chooseProgram(5);
    EXPECT_EQ(h.effect.getProgram(), 5);
    EXPECT_EQ(h.effect.checkedProgram(), 5);
    int updates = 0;
    for (const Event& e : h.log) {
        if (e.source != Event::host) continue;
        EXPECT_EQ(e.opcodeOrZero, audioMasterUpdateDisplay) << "nothing recorded as automation";
        ++updates;
    }
    EXPECT_EQ(updates, 1);
}

} // namespace
