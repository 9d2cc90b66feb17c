// A parameter named as a user would: by its host name loosely, by its number, or by the caption
// printed over its control on the editor's panel; and a name that is none gets the list.
#include "ParameterInput.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(ParameterInput, ParametersByHostNameLooselyByNumberOrByPanelCaption) {
    const std::pair<const char*, int> names[] = {
        {"Make Up Gain", 10}, {"makeupgain", 10}, {"SC_FILTER-freq", 2}, {"18", 18},
        {"Threshold", 3},     {"-", -1},          {"Nope", -1},          {"22", -1},
        {"19", 19},           {"Makeup", 10},     {"LO COLOR", 12},      {"hi color", 11},
        {"Detector", 0},      {"SC Filter", 1},   {"Release Fast", 7},   {"SC PREV", 17},
        {"sc source", 21},    {"21", 21}};
    for (const auto& [name, index] : names) {
        SCOPED_TRACE(name);
        const ParameterChoice choice = ourParameterNamed(name);
        EXPECT_EQ(choice.ok ? choice.index : -1, index);
    }
}

TEST(ParameterInput, AnUnknownNameListsTheNamesAndANumberOutOfRangeTheNumbers) {
    const ParameterChoice unknown = ourParameterNamed("Loudness");
    ASSERT_FALSE(unknown.ok);
    EXPECT_NE(unknown.refusal.find("no parameter named \"Loudness\""), std::string::npos);
    EXPECT_NE(unknown.refusal.find("Make Up Gain"), std::string::npos) << unknown.refusal;
    EXPECT_EQ(unknown.refusal.find('\n'), std::string::npos) << "one line";
    const ParameterChoice number = ourParameterNamed("99");
    ASSERT_FALSE(number.ok);
    EXPECT_NE(number.refusal.find("numbered 0 to 21"), std::string::npos) << number.refusal;
}

// The same assignment by number, name and caption sets the same value; units the editor shows
// are read, and a refusal names the parameter.
TEST(ParameterInput, AssignmentsByAnyNameAndInTheUnitsTheEditorShows) {
    const ParameterAssignment byNumber = readOurAssignment("3=-20");
    const ParameterAssignment byName = readOurAssignment("threshold=-20 dB");
    ASSERT_TRUE(byNumber.ok) << byNumber.refusal;
    ASSERT_TRUE(byName.ok) << byName.refusal;
    EXPECT_EQ(byNumber.index, 3);
    EXPECT_EQ(byNumber.normalized, byName.normalized);

    const ParameterAssignment seconds = readOurAssignment("Release Slow=1.5s");
    const ParameterAssignment milliseconds = readOurAssignment("Release Slow=1500 ms");
    ASSERT_TRUE(seconds.ok) << seconds.refusal;
    EXPECT_EQ(seconds.normalized, milliseconds.normalized);
    const ParameterAssignment makeup = readOurAssignment("Makeup=3");
    ASSERT_TRUE(makeup.ok) << makeup.refusal;
    EXPECT_EQ(makeup.index, 10);

    EXPECT_FALSE(readOurAssignment("Threshold").ok);
    const ParameterAssignment wrongUnit = readOurAssignment("Attack=2 kHz");
    EXPECT_FALSE(wrongUnit.ok);
    EXPECT_EQ(wrongUnit.refusal.rfind("Attack: ", 0), 0u) << wrongUnit.refusal;
}

} // namespace
