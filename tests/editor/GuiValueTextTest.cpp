// The readout texts, value by value. Expected strings are worked out from each curve and the
// printf field rules ("%3.0f" pads to three characters), not taken from the functions.
#include "editor/GuiValueText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>

namespace {

using TextFunction = void (*)(float, char*);

struct TextCase {
    const char* function;
    TextFunction write;
    float value;
    const char* expected;
};

std::ostream& operator<<(std::ostream& out, const TextCase& c) {
    return out << c.function << "(" << c.value << ")";
}

std::string textOf(TextFunction write, float value) {
    // A display hands over a larger buffer than the text needs; fill it with a marker to see
    // exactly what was written.
    char buffer[256];
    std::memset(buffer, '#', sizeof buffer);
    write(value, buffer);
    return std::string(buffer);
}

class GuiValueText : public testing::TestWithParam<TextCase> {};

TEST_P(GuiValueText, ShowsTheValueInItsUnit) {
    EXPECT_EQ(textOf(GetParam().write, GetParam().value), GetParam().expected);
}

#define TEXT(f) #f, f

// clang-format off
// The documented edge cases of the panel's readouts.
const TextCase kEdgeCases[] = {
    {TEXT(detectionText), 0.0f, "Peak"},
    // A float 0.1 lies just above the double 0.1: RMS at its shortest time, 0.1 ms.
    {TEXT(detectionText), 0.1f, "RMS 0.1"},
    // (0.4 x 1.25)^3 x 59.9 + 0.1 = 7.5875.
    {TEXT(detectionText), 0.5f, "RMS 7.6"},
    // 0.625^3 x 59.9 + 0.1 = 14.72, no decimals from 10 on, padded to three characters.
    {TEXT(detectionText), 0.6f, "RMS  15"},
    // A float 0.9 lies just below the double 0.9: still RMS, at 60 ms.
    {TEXT(detectionText), 0.9f, "RMS  60"},
    {TEXT(detectionText), 0.91f, "Dyn RMS"},
    {TEXT(scFreqText), 0.0f, " 30 Hz"},
    {TEXT(scFreqText), 0.5f, " 95 Hz"},
    {TEXT(scFreqText), 1.0f, "300 Hz"},
    {TEXT(thresholdText), 0.0f, "0 dB"},
    {TEXT(thresholdText), 0.1f, " -5 dB"},
    {TEXT(thresholdText), 1.0f, "-50 dB"},
    {TEXT(kneeText), 0.0f, "  0 dB"},
    {TEXT(ratioText), 0.0f, "1.0:1"},
    {TEXT(ratioText), 0.4f, "2.0:1"},
    // A float 0.8 lies just above the double 0.8.
    {TEXT(ratioText), 0.8f, "4:1"},
    {TEXT(ratioText), 0.95f, "8:1"},
    {TEXT(attackText), 0.0f, "0.1 ms"},
    // 0.31^3 x 499.9 + 0.1 = 14.99.
    {TEXT(attackText), 0.31f, " 15 ms"},
    {TEXT(attackText), 1.0f, "500 ms"},
    {TEXT(releaseText), 0.1f, "2.1 ms"},
    {TEXT(releaseText), 0.5f, "250 ms"},
    // 0.793^3 x 1999.9 + 0.1 = 997.4, and 0.7937^3 x 1999.9 + 0.1 = 1000.05.
    {TEXT(releaseText), 0.793f, "997 ms"},
    {TEXT(releaseText), 0.7937f, "1.0 s"},
    {TEXT(releaseText), 1.0f, "2.0 s"},
    {TEXT(dryMixText), 0.0f, "Out"},
    {TEXT(dryMixText), 0.5f, "-50.0 dB"},
    {TEXT(dryMixText), 1.0f, "0.0 dB"},
    {TEXT(makeUpText), 0.0f, "-60.0 dB"},
    {TEXT(makeUpText), 0.25f, "-15.0 dB"},
    {TEXT(makeUpText), 0.5f, "0.0 dB"},
    {TEXT(makeUpText), 1.0f, "12.0 dB"},
    {TEXT(percentText), 0.25f, " 50%"},
    {TEXT(percentText), 1.0f, "200%"},
    {TEXT(versionText), 0.0f, "version 0.9.03 beta [?]"},
    {TEXT(versionText), 0.73f, "version 0.9.03 beta [?]"},
};

// Values between the edge cases, and the points where a text changes its form.
const TextCase kCurvesAndSwitchPoints[] = {
    {TEXT(detectionText), 0.0999f, "Peak"},
    // Above 0.9 the float is past the double: dynamic RMS.
    {TEXT(detectionText), 0.9000001f, "Dyn RMS"},
    {TEXT(detectionText), 1.0f, "Dyn RMS"},
    // 30 x 10^0.25 = 53.3 Hz.
    {TEXT(scFreqText), 0.25f, " 53 Hz"},
    // Below 0 the curve is limited to 30 Hz, above 1 to 300 Hz.
    {TEXT(scFreqText), -1.0f, " 30 Hz"},
    {TEXT(scFreqText), 2.0f, "300 Hz"},
    {TEXT(thresholdText), 0.5f, "-25 dB"},
    {TEXT(thresholdText), -0.0f, "0 dB"},
    {TEXT(kneeText), 0.5f, " 10 dB"},
    {TEXT(kneeText), 1.0f, " 20 dB"},
    // 1 + 0.2 x 2.5 = 1.5; a float 0.9 is below the double 0.9, so still 4:1.
    {TEXT(ratioText), 0.2f, "1.5:1"},
    {TEXT(ratioText), 0.9f, "4:1"},
    {TEXT(ratioText), 0.7999f, "3.0:1"},
    // 0.3^3 x 499.9 + 0.1 = 13.6; 0.2^3 x 499.9 + 0.1 = 4.1.
    {TEXT(attackText), 0.3f, " 14 ms"},
    {TEXT(attackText), 0.2f, "4.1 ms"},
    // Around 10 ms: 0.17^3 x 1999.9 + 0.1 = 9.93, 0.171^3 x 1999.9 + 0.1 = 10.10.
    {TEXT(releaseText), 0.17f, "9.9 ms"},
    {TEXT(releaseText), 0.171f, " 10 ms"},
    {TEXT(releaseText), 0.0f, "0.1 ms"},
    {TEXT(releaseText), 0.9f, "1.5 s"},
    {TEXT(dryMixText), 0.25f, "-75.0 dB"},
    // The smallest positive amount is already a level: 100 dB down.
    {TEXT(dryMixText), 0.000001f, "-100.0 dB"},
    {TEXT(dryMixText), -0.5f, "Out"},
    {TEXT(makeUpText), 0.75f, "6.0 dB"},
    // (1 - 0.8)^2 x -60 = -2.4.
    {TEXT(makeUpText), 0.4f, "-2.4 dB"},
    {TEXT(percentText), 0.0f, "  0%"},
    {TEXT(percentText), 0.5f, "100%"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(EdgeCases, GuiValueText, testing::ValuesIn(kEdgeCases));
INSTANTIATE_TEST_SUITE_P(CurvesAndSwitchPoints, GuiValueText,
                         testing::ValuesIn(kCurvesAndSwitchPoints));

#undef TEXT

const TextFunction kAllFunctions[] = {versionText, detectionText, scFreqText, thresholdText,
                                      kneeText,    ratioText,     attackText, releaseText,
                                      dryMixText,  makeUpText,    percentText};

TEST(GuiValueTextBounds, EveryTextFitsItsCapacityForAnyValue) {
    const float values[] = {0.0f,
                            1.0f,
                            -1.0f,
                            1e30f,
                            -1e30f,
                            std::numeric_limits<float>::max(),
                            -std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::denorm_min()};
    for (TextFunction write : kAllFunctions)
        for (float value : values) {
            const std::string text = textOf(write, value);
            EXPECT_LT(text.size(), kGuiValueTextCapacity) << "value " << value;
            EXPECT_FALSE(text.empty()) << "value " << value;
        }
}

TEST(GuiValueTextBounds, NullBufferIsIgnored) {
    // Nothing to write into: a crash here fails the test.
    for (TextFunction write : kAllFunctions)
        write(0.5f, nullptr);
}

TEST(GuiValueTextBounds, NotANumberMeansNoDryPath) {
    EXPECT_EQ(textOf(dryMixText, std::numeric_limits<float>::quiet_NaN()), "Out");
}

} // namespace
