// Host value texts, parameter by parameter, with the printed widths and roundings that hosts
// show and saved sessions display.
#include "plugin/ParameterTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

struct TextCase {
    int index;
    float value;
    const char* expected;
};

std::string hostText(int index, float value) {
    return kParameters[static_cast<std::size_t>(index)].hostText(value).text;
}

void expectTexts(std::initializer_list<TextCase> cases) {
    for (const TextCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "index " << c.index << ", value " << c.value);
        EXPECT_EQ(hostText(c.index, c.value), c.expected);
    }
}

const float kJustAbove08 = std::nextafter(0.8f, 1.0f);
const float kJustAbove09 = std::nextafter(0.9f, 1.0f);
const float kSmallestPositive = std::numeric_limits<float>::denorm_min();

TEST(HostValueText, DetectionZonesAndRmsTimes) {
    expectTexts({
        {kDetection, 0.0f, "Peak"},
        {kDetection, 0.0999f, "Peak"},
        // 0.1f lies just above 0.1 in double precision, so it is already RMS.
        {kDetection, 0.1f, "RMS 0.1"},
        {kDetection, 0.3f, "RMS 1.0"},
        {kDetection, 0.447f, "RMS 5.0"},
        {kDetection, 0.5f, "RMS 7.6"},
        {kDetection, 0.54f, "RMS  10"},
        {kDetection, 0.7f, "RMS  25"},
        {kDetection, 0.9f, "RMS  60"},
        {kDetection, kJustAbove09, "Dyn RMS"},
        {kDetection, 1.0f, "Dyn RMS"},
    });
}

TEST(HostValueText, SidechainFilterTypeAndFrequency) {
    expectTexts({
        {kScFilterType, 0.0f, "off"},
        {kScFilterType, 0.29f, "off"},
        {kScFilterType, 0.3f, "3 dB/oct"},
        {kScFilterType, 0.5f, "3 dB/oct"},
        {kScFilterType, 0.69f, "3 dB/oct"},
        {kScFilterType, 0.7f, "6 dB/oct"},
        {kScFilterType, 1.0f, "6 dB/oct"},
        {kScFilterFreq, 0.0f, " 30 Hz"},
        {kScFilterFreq, 0.475f, " 90 Hz"},
        {kScFilterFreq, 0.52f, " 99 Hz"},
        {kScFilterFreq, 1.0f, "300 Hz"},
        // Outside 0..1 the frequency stays within 30..300 Hz.
        {kScFilterFreq, -1.0f, " 30 Hz"},
        {kScFilterFreq, 2.0f, "300 Hz"},
    });
}

TEST(HostValueText, ThresholdKneeAndRatio) {
    expectTexts({
        {kThreshold, 0.0f, "-0.0 dB"},
        {kThreshold, 0.49f, "-24.5 dB"},
        {kThreshold, 1.0f, "-50.0 dB"},
        {kKnee, 0.0f, "0.0 dB"},
        {kKnee, 0.16f, "3.2 dB"},
        {kKnee, 1.0f, "20.0 dB"},
        {kRatio, 0.0f, "1.0:1"},
        {kRatio, 0.4f, "2.0:1"},
        {kRatio, 0.8f, "3.0:1"},
        {kRatio, kJustAbove08, "4:1"},
        {kRatio, 0.9f, "4:1"},
        {kRatio, kJustAbove09, "8:1"},
        {kRatio, 1.0f, "8:1"},
    });
}

TEST(HostValueText, TimesSwitchFromOneDecimalToNoneAt20Ms) {
    expectTexts({
        {kAttack, 0.0f, "0.1 ms"},
        {kAttack, 0.31f, "15.0 ms"},
        {kAttack, 0.5f, " 63 ms"},
        {kAttack, 1.0f, "500 ms"},
        {kRelease, 0.0f, "0.1 ms"},
        {kRelease, 0.29f, " 49 ms"},
        {kRelease, 0.425f, "154 ms"},
        {kRelease, 1.0f, "2000 ms"},
        {kReleaseSlow, 0.5f, "250 ms"},
        {kReleaseSlow, 0.91f, "1507 ms"},
    });
}

TEST(HostValueText, DryMixAndMakeUpGain) {
    expectTexts({
        {kDryMix, 0.0f, "Out"},
        {kDryMix, kSmallestPositive, "-100.0 dB"},
        {kDryMix, 0.5f, "-50.0 dB"},
        {kDryMix, 1.0f, "0.0 dB"},
        {kMakeUpGain, 0.0f, "-60.0 dB"},
        {kMakeUpGain, 0.37f, "-4.1 dB"},
        // The two segments meet at 0 dB; just below it a tiny negative value rounds to -0.0.
        {kMakeUpGain, 0.499f, "-0.0 dB"},
        {kMakeUpGain, 0.5f, "0.0 dB"},
        {kMakeUpGain, 0.58f, "1.9 dB"},
        {kMakeUpGain, 1.0f, "12.0 dB"},
    });
}

TEST(HostValueText, SwitchesAreOnOnlyAtExactlyOne) {
    for (int index : {kHfHarmonics, kLfHarmonics, kDelta, kBypass, kScPreview}) {
        expectTexts({
            {index, 1.0f, "on"},
            {index, 0.999f, "off"},
            {index, 0.7f, "off"},
            {index, 0.0f, "off"},
            {index, 1.5f, "off"},
        });
    }
}

TEST(HostValueText, HarmonicsAmountMeterScaleAndUnusedSlots) {
    expectTexts({
        {kHfHarmonicsAmount, 0.25f, "50.0%"},
        {kLfHarmonicsAmount, 0.5f, "100.0%"},
        {kHfHarmonicsAmount, 1.0f, "200.0%"},
        {kMeterScale, 0.0f, "6 dB"},
        {kMeterScale, 0.2499f, "6 dB"},
        {kMeterScale, 0.25f, "12 dB"},
        {kMeterScale, 0.5f, "24 dB"},
        {kMeterScale, 0.75f, "48 dB"},
        {kMeterScale, 1.0f, "48 dB"},
        {kUnused19, 0.0f, "-"},
        {kUnused20, 0.8f, "-"},
    });
}

} // namespace
