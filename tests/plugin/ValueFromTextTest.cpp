// Values as users type them (qvl-render --param, qvl-snapshot, a host's text field): a number in
// the control's unit or a named position in, the stored value or a refusal with its reason out.
#include "plugin/ValueFromText.h"
#include "plugin/FactoryPrograms.h"
#include "plugin/ParameterTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string hostText(int index, float value) {
    return kParameters[static_cast<std::size_t>(index)].hostText(value).text;
}

struct ExactCase {
    int index;
    const char* typed;
    float normalized;
};

// Expected values from the curves as the manual gives them: Make Up Gain falls as a square
// from 0 dB at the middle to -60 dB and rises linearly to +12 dB; Threshold 0 ... -50 dB,
// Knee 0 ... 20 dB, Dry Mix -100 ... 0 dB and Harmonics 0 ... 200 % are linear; Ratio 1:1 ...
// 3:1 is linear over the first 0.8 of the travel.
TEST(ValueFromText, NumbersInTheControlsUnitAreTheExactInverseOfItsCurve) {
    const ExactCase cases[] = {
        {kMakeUpGain, "0", 0.5f},
        {kMakeUpGain, "0 dB", 0.5f},
        {kMakeUpGain, "0dB", 0.5f},
        {kMakeUpGain, " 0  DB ", 0.5f},
        {kMakeUpGain, "-60 dB", 0.0f},
        {kMakeUpGain, "-15dB", 0.25f},
        {kMakeUpGain, "+6 dB", 0.75f},
        {kMakeUpGain, "12", 1.0f},
        {kThreshold, "-25", 0.5f},
        {kThreshold, "-24.5dB", 0.49f},
        {kThreshold, "-50 dB", 1.0f},
        {kThreshold, "0", 0.0f},
        {kKnee, "10 dB", 0.5f},
        {kRatio, "2:1", 0.4f},
        {kRatio, "1", 0.0f},
        {kRatio, "3 : 1", 0.8f},
        {kDryMix, "-50 dB", 0.5f},
        {kDryMix, "0", 1.0f},
        {kHfHarmonicsAmount, "50 %", 0.25f},
        {kLfHarmonicsAmount, "200%", 1.0f},
        {kAttack, "0.1 ms", 0.0f},
        {kAttack, "500ms", 1.0f},
        {kRelease, "2000 ms", 1.0f},
        {kReleaseSlow, "0.1", 0.0f},
        {kScFilterFreq, "30 Hz", 0.0f},
        {kScFilterFreq, "300hz", 1.0f},
        {kScFilterFreq, "0.03 kHz", 0.0f},
        {kRelease, "2 s", 1.0f},
        {kAttack, "0.5s", 1.0f},
        {kDetection, "0.06 s", 0.9f},
        {kDetection, "0.1 ms", 0.1f},
        {kDetection, "60", 0.9f},
        {kUnused19, "0.25", 0.25f},
    };
    for (const ExactCase& c : cases) {
        SCOPED_TRACE(testing::Message() << kParameters[c.index].name << " = \"" << c.typed << '"');
        const ParsedValue value = valueFromText(c.index, c.typed);
        ASSERT_TRUE(value.ok) << value.refusal;
        EXPECT_EQ(value.normalized, c.normalized);
        // Stored as the programs store it: a zero is never a negative one.
        EXPECT_FALSE(std::signbit(value.normalized));
    }
}

struct ShownCase {
    int index;
    const char* typed;
    const char* shown; // the host text of the stored value
};

TEST(ValueFromText, WhatAUserTypesIsWhatTheHostThenShows) {
    const ShownCase cases[] = {
        {kDetection, "Peak", "Peak"},
        {kDetection, "dyn rms", "Dyn RMS"},
        {kDetection, "DynRMS", "Dyn RMS"},
        {kDetection, "600 ms", "Dyn RMS"},
        {kDetection, "0", "Peak"},
        {kDetection, "15 ms", "RMS  15"},
        {kDetection, "RMS 15", "RMS  15"},
        {kDetection, "rms 5 ms", "RMS 5.0"},
        {kScFilterType, "off", "off"},
        {kScFilterType, "Off", "off"},
        {kScFilterType, "3 dB/oct", "3 dB/oct"},
        {kScFilterType, "3dB HP", "3 dB/oct"},
        {kScFilterType, "6db hp", "6 dB/oct"},
        {kScFilterType, "6dB/oct", "6 dB/oct"},
        {kScFilterType, "1", "3 dB/oct"},
        {kScFilterFreq, "120Hz", "120 Hz"},
        {kRatio, "4:1", "4:1"},
        {kRatio, "4", "4:1"},
        {kRatio, "8:1", "8:1"},
        {kRatio, "2.5:1", "2.5:1"},
        {kAttack, "15 ms", "15.0 ms"},
        {kRelease, "250ms", "250 ms"},
        {kDryMix, "Out", "Out"},
        {kDryMix, "-100 dB", "Out"},
        {kDryMix, "-6 dB", "-6.0 dB"},
        {kMakeUpGain, "0.6", "0.6 dB"},
        {kBypass, "on", "on"},
        {kBypass, "ON", "on"},
        {kBypass, "1", "on"},
        {kDelta, "off", "off"},
        {kDelta, "0", "off"},
        {kMeterScale, "24 dB", "24 dB"},
        {kMeterScale, "48", "48 dB"},
        {kMeterScale, "6dB", "6 dB"},
    };
    for (const ShownCase& c : cases) {
        SCOPED_TRACE(testing::Message() << kParameters[c.index].name << " = \"" << c.typed << '"');
        const ParsedValue value = valueFromText(c.index, c.typed);
        ASSERT_TRUE(value.ok) << value.refusal;
        EXPECT_EQ(hostText(c.index, value.normalized), c.shown);
    }
}

struct BetweenCase {
    int index;
    const char* typed;
    const char* lower;
    const char* upper;
};

// Nothing is moved to a setting the user did not name: they learn the two nearest ones.
TEST(ValueFromText, ValuesBetweenZonesOrPositionsAreRefusedNamingTheNearestSettings) {
    const BetweenCase cases[] = {
        {kRatio, "6:1", "4:1", "8:1"},
        {kRatio, "3.5", "3:1", "4:1"},
        {kDetection, "100 ms", "60 ms", "Dyn RMS"},
        {kDetection, "0.05", "Peak", "0.1 ms"},
        {kScFilterType, "1.5", "3 dB/oct", "6 dB/oct"},
        {kMeterScale, "18 dB", "12 dB", "24 dB"},
        {kBypass, "0.5", "off", "on"},
    };
    for (const BetweenCase& c : cases) {
        SCOPED_TRACE(testing::Message() << kParameters[c.index].name << " = \"" << c.typed << '"');
        const ParsedValue value = valueFromText(c.index, c.typed);
        ASSERT_FALSE(value.ok);
        const std::string expected = std::string(kParameters[c.index].name) + ": \"" + c.typed +
                                     "\" lies between the settings " + c.lower + " and " + c.upper;
        EXPECT_EQ(value.refusal.substr(0, expected.size()), expected) << value.refusal;
    }
}

struct RefusalCase {
    int index;
    const char* typed;
    const char* reason; // a part of the refusal
};

TEST(ValueFromText, OtherBadValuesAreRefusedWithAOneLineReason) {
    const RefusalCase cases[] = {
        {kThreshold, "-80 dB", "out of range, -50 dB to 0 dB"},
        {kThreshold, "2", "out of range, -50 dB to 0 dB"},
        {kMakeUpGain, "13dB", "out of range, -60 dB to 12 dB"},
        {kKnee, "40dB", "out of range, 0 dB to 20 dB"},
        {kDetection, "700 ms", "out of range, 0 ms to 600 ms"},
        {kRatio, "0.5:1", "out of range, 1:1 to 8:1"},
        {kThreshold, "loud", "it takes a number in dB"},
        {kThreshold, "-24 ms", "it takes a number in dB"},
        {kThreshold, "-24 dB extra", "cannot read"},
        {kThreshold, "--5", "cannot read"},
        {kThreshold, "0,5", "cannot read"},
        {kThreshold, "Peak", "cannot read"},
        {kDetection, "Fast", "a time in ms or s, Peak or Dyn RMS"},
        {kDetection, "Peak 15", "cannot read"},
        {kScFilterType, "3", "off (0), 3 dB/oct (1) or 6 dB/oct (2)"},
        {kScFilterType, "3 dB", "cannot read"},
        {kMeterScale, "2", "6 dB, 12 dB, 24 dB or 48 dB"},
        {kBypass, "yes", "off (0) or on (1)"},
        {kThreshold, "", "no value given"},
        {kThreshold, "   ", "no value given"},
        {kThreshold, "nan", "cannot read"},
        {kThreshold, "inf", "cannot read"},
        {kThreshold, "-1e999", "not a finite number"},
        {kThreshold, "0x10", "cannot read"},
        {kThreshold, "norm:1.5", "out of range, norm:0 to norm:1"},
        {kThreshold, "norm:-0.1", "out of range"},
        {kThreshold, "norm:", "cannot read the normalized value"},
        {kThreshold, "norm:half", "cannot read the normalized value"},
        {kThreshold, "norm:nan", "cannot read the normalized value"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(testing::Message() << kParameters[c.index].name << " = \"" << c.typed << '"');
        const ParsedValue value = valueFromText(c.index, c.typed);
        ASSERT_FALSE(value.ok);
        EXPECT_NE(value.refusal.find(c.reason), std::string::npos) << value.refusal;
        EXPECT_EQ(value.refusal.rfind(kParameters[c.index].name, 0), 0u) << value.refusal;
        EXPECT_EQ(value.refusal.find('\n'), std::string::npos) << value.refusal;
    }
    for (const int index : {-1, static_cast<int>(kNumParameters), 1 << 30})
        EXPECT_FALSE(valueFromText(index, "0").ok) << index;
}

TEST(ValueFromText, ANormalizedValueNeedsItsOwnSpelling) {
    const ParsedValue threshold = valueFromText(kThreshold, "norm:0.52");
    ASSERT_TRUE(threshold.ok) << threshold.refusal;
    EXPECT_EQ(threshold.normalized, 0.52f);
    EXPECT_EQ(valueFromText(kMakeUpGain, " NORM: 0.25 ").normalized, 0.25f);
    // A switch takes any normalized value, as a host may set it.
    EXPECT_EQ(valueFromText(kScFilterType, "norm:0.3").normalized, 0.3f);
    EXPECT_EQ(valueFromText(kBypass, "norm:1").normalized, 1.0f);

    EXPECT_EQ(normalizedFromText("norm:0.75").normalized, 0.75f);
    EXPECT_FALSE(normalizedFromText("0.75").ok);
    EXPECT_FALSE(normalizedFromText("norm:0.75 dB").ok);
    EXPECT_FALSE(normalizedFromText("").ok);
}

// Each program's values printed as their plain numbers (nine digits, as the plain scale
// promises) or, for switches, as their positions' names come back bit for bit.
TEST(ValueFromText, FactoryProgramsComeBackExactlyFromTheirPrintedPlainValues) {
    for (int program = 0; program < kNumPrograms; ++program)
        for (const ParameterInfo& info : kParameters) {
            const float stored = factoryProgramValue(program, info.index);
            const PlainScale& scale = info.plain;
            const double plain = scale.toPlain(stored);
            std::vector<std::string> texts;
            char text[64];
            if (scale.hints & (kHintToggled | kHintEnumeration)) {
                for (int i = 0; i < scale.numPoints; ++i)
                    if (scale.points[i].plain == plain) texts.push_back(scale.points[i].label);
            } else {
                std::snprintf(text, sizeof text, "%.9g", plain);
                texts.push_back(text);
                std::snprintf(text, sizeof text, "%.9g %s", plain, unitSymbol(scale.unit));
                texts.push_back(text);
            }
            ASSERT_FALSE(texts.empty()) << info.name;
            for (const std::string& typed : texts) {
                SCOPED_TRACE(testing::Message()
                             << "program " << program << ", " << info.name << " = " << typed);
                const ParsedValue value = valueFromText(info.index, typed);
                ASSERT_TRUE(value.ok) << value.refusal;
                EXPECT_EQ(value.normalized, stored);
            }
        }
}

// Over the whole travel of every control, a setting's plain value typed back is accepted and
// gives the same setting: no stretch of a range is mistaken for a gap between zones.
TEST(ValueFromText, EverySettingsPlainValueIsAcceptedBack) {
    for (const ParameterInfo& info : kParameters) {
        if (info.plain.hints & (kHintToggled | kHintEnumeration)) continue;
        for (int step = 0; step <= 1000; ++step) {
            const float v = static_cast<float>(step) / 1000.0f;
            char typed[32];
            std::snprintf(typed, sizeof typed, "%.9g", info.plain.toPlain(v));
            SCOPED_TRACE(testing::Message() << info.name << " = " << typed << " (" << v << ")");
            const ParsedValue value = valueFromText(info.index, typed);
            ASSERT_TRUE(value.ok) << value.refusal;
            EXPECT_EQ(hostText(info.index, value.normalized), hostText(info.index, v));
            // A named setting stands for its whole zone; anything else for its own value.
            const double plain = info.plain.toPlain(v);
            const bool named =
                std::any_of(info.plain.points, info.plain.points + info.plain.numPoints,
                            [plain](const ScalePoint& point) { return point.plain == plain; });
            if (!named) {
                EXPECT_NEAR(value.normalized, v, 1e-6);
            }
        }
    }
}

} // namespace
