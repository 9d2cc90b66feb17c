// The parameter table itself: order, names and kinds as hosts and the editor see them, and
// the plain values that formats showing units describe their controls with.
#include "plugin/ParameterTable.h"

#include "ExpectedParameterNames.h"
#include "plugin/CompressorEffect.h"
#include "plugin/FactoryPrograms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <regex>
#include <set>
#include <string>

namespace {

TEST(ParameterTable, RowsAreInIndexOrderWithTheirFullNames) {
    ASSERT_EQ(kParameters.size(), 21u);
    for (int i = 0; i < kNumParameters; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(kParameters[static_cast<std::size_t>(i)].index, i);
        EXPECT_EQ(std::string(kParameters[static_cast<std::size_t>(i)].name),
                  kExpectedParameterNames[i]);
    }
}

TEST(ParameterTable, KindsOfTheSwitchesAndUnusedSlots) {
    for (int i : {kHfHarmonics, kLfHarmonics, kDelta, kBypass, kScPreview})
        EXPECT_EQ(kParameters[static_cast<std::size_t>(i)].kind, ParameterKind::onOff) << i;
    EXPECT_EQ(kParameters[kScFilterType].kind, ParameterKind::threeWaySwitch);
    EXPECT_EQ(kParameters[kMeterScale].kind, ParameterKind::fourWaySwitch);
    EXPECT_EQ(kParameters[kUnused19].kind, ParameterKind::noFunction);
    EXPECT_EQ(kParameters[kUnused20].kind, ParameterKind::noFunction);
}

TEST(ParameterTable, IndexRange) {
    EXPECT_TRUE(isParameterIndex(0));
    EXPECT_TRUE(isParameterIndex(20));
    EXPECT_FALSE(isParameterIndex(21));
    EXPECT_FALSE(isParameterIndex(-1));
    EXPECT_FALSE(isParameterIndex(500));
}

} // namespace

namespace {

const ParameterInfo& row(int index) {
    return kParameters[static_cast<std::size_t>(index)];
}

// A plain value as a description file carries it, and read back.
double throughText(double plain) {
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", plain);
    return std::strtod(text, nullptr);
}

TEST(PlainValues, EveryFactoryProgramValueSurvivesTheTripThroughPrintedPlainValues) {
    for (int program = 0; program < kNumPrograms; ++program) {
        for (int i = 0; i < kNumParameters; ++i) {
            SCOPED_TRACE(testing::Message() << "program " << program << ", " << row(i).name);
            const float v = factoryProgramValue(program, i);
            const double plain = row(i).plain.toPlain(v);
            EXPECT_GE(plain, row(i).plain.min);
            EXPECT_LE(plain, row(i).plain.max);
            EXPECT_EQ(row(i).plain.toNormalized(throughText(plain)), v);
        }
    }
}

// Continuous ranges: every float step from 0 to 1 keeps its value through the trip, in the
// middle of the travel where a host's automation lane spends most of its time.
TEST(PlainValues, ContinuousCurvesRoundTripEveryFloatAroundTheMiddle) {
    for (int i : {kScFilterFreq, kThreshold, kKnee, kAttack, kRelease, kDryMix, kMakeUpGain,
                  kHfHarmonicsAmount}) {
        float v = 0.45f;
        for (int step = 0; step < 20000; ++step, v = std::nextafter(v, 1.0f))
            ASSERT_EQ(row(i).plain.toNormalized(throughText(row(i).plain.toPlain(v))), v)
                << row(i).name << " " << v;
    }
}

// The number a host shows in its own text is the plain value, rounded as printed.
TEST(PlainValues, AgreeWithTheHostTextsNumbers) {
    for (int i : {kScFilterFreq, kThreshold, kKnee, kAttack, kRelease, kDryMix, kMakeUpGain,
                  kHfHarmonicsAmount, kDetection, kRatio}) {
        for (float v = 0.01f; v < 1.0f; v += 0.01f) {
            const std::string text = row(i).hostText(v).text;
            const std::size_t start = text.find_first_of("-0123456789");
            if (start == std::string::npos) continue; // a named setting, checked below
            const double shown = std::strtod(text.c_str() + start, nullptr);
            EXPECT_NEAR(shown, row(i).plain.toPlain(v), 0.51 + 0.001 * std::fabs(shown))
                << row(i).name << " at " << v << ": " << text;
        }
    }
}

// Switches and named settings: the label of the point a value lands on is its host text.
TEST(PlainValues, ScalePointLabelsAreTheHostTextsOfTheirSettings) {
    for (int i = 0; i < kNumParameters; ++i) {
        const PlainScale& scale = row(i).plain;
        for (int p = 0; p < scale.numPoints; ++p) {
            const ScalePoint& point = scale.points[p];
            const float v = scale.toNormalized(point.plain);
            EXPECT_EQ(scale.toPlain(v), point.plain) << row(i).name << " " << point.label;
            EXPECT_EQ(std::string(row(i).hostText(v).text), point.label) << row(i).name;
        }
        const bool isSwitch = scale.hints & (kHintToggled | kHintEnumeration);
        if (isSwitch) {
            EXPECT_EQ(scale.numPoints, static_cast<int>(scale.max - scale.min) + 1) << row(i).name;
        }
    }
    EXPECT_EQ(row(kScFilterType).plain.numPoints, 3);
    EXPECT_EQ(row(kMeterScale).plain.numPoints, 4);
}

TEST(PlainValues, OutOfRangeAndNonNumbersAreLimitedToTheRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int i = 0; i < kNumParameters; ++i) {
        const PlainScale& scale = row(i).plain;
        SCOPED_TRACE(row(i).name);
        EXPECT_EQ(scale.toNormalized(scale.max + 1000.0), scale.toNormalized(scale.max));
        EXPECT_EQ(scale.toNormalized(scale.min - 1000.0), scale.toNormalized(scale.min));
        EXPECT_EQ(scale.toNormalized(nan), scale.toNormalized(scale.min));
        EXPECT_EQ(scale.toNormalized(std::numeric_limits<double>::infinity()),
                  scale.toNormalized(scale.max));
        EXPECT_GE(scale.toNormalized(scale.min), 0.0f);
        EXPECT_LE(scale.toNormalized(scale.max), 1.0f);
    }
}

TEST(PlainValues, RangesRunUpwardsFromTheKnobsStart) {
    for (int i = 0; i < kNumParameters; ++i) {
        const PlainScale& scale = row(i).plain;
        double previous = scale.toPlain(0.0f);
        EXPECT_EQ(previous, i == kThreshold ? 0.0 : scale.min) << row(i).name;
        for (float v = 0.05f; v <= 1.0f; v += 0.05f) {
            const double plain = scale.toPlain(v);
            if (i == kThreshold)
                EXPECT_LT(plain, previous) << v; // the threshold sinks as the knob turns
            else
                EXPECT_GE(plain, previous) << row(i).name << " " << v;
            previous = plain;
        }
    }
}

TEST(ParameterFacts, SymbolsAreDistinctIdentifiersAndDefaultsAreTheFreshEffectsValues) {
    CompressorEffect effect(nullptr);
    std::set<std::string> symbols;
    for (int i = 0; i < kNumParameters; ++i) {
        const std::string symbol = row(i).symbol;
        EXPECT_TRUE(std::regex_match(symbol, std::regex("[a-z_][a-z0-9_]*"))) << symbol;
        EXPECT_TRUE(symbols.insert(symbol).second) << symbol;
        EXPECT_EQ(defaultValue(i), effect.getParameter(i)) << symbol;
    }
    EXPECT_STREQ(unitSymbol(row(kThreshold).plain.unit), "dB");
    EXPECT_STREQ(unitSymbol(row(kScFilterFreq).plain.unit), "Hz");
    EXPECT_STREQ(unitSymbol(row(kAttack).plain.unit), "ms");
    EXPECT_STREQ(unitSymbol(row(kHfHarmonicsAmount).plain.unit), "%");
    EXPECT_TRUE(row(kScFilterFreq).plain.hints & kHintLogarithmic);
    EXPECT_TRUE(row(kBypass).plain.hints & kHintToggled);
}

} // namespace
