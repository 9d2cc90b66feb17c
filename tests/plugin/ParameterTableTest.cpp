// The parameter table itself: order, names, steps and what each parameter designates, as
// hosts and the editor see them, and the plain values that formats showing units describe
// their controls with.
#include "plugin/ParameterTable.h"

#include "ExpectedParameterNames.h"
#include "plugin/CompressorEffect.h"
#include "plugin/FactoryPrograms.h"
#include "plugin/ListeningSwitches.h"
#include "plugin/ParameterCurves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <regex>
#include <set>
#include <string>

namespace {

const ParameterInfo& row(int index) {
    return kParameters[static_cast<std::size_t>(index)];
}

TEST(ParameterTable, RowsAreInIndexOrderWithTheirFullNames) {
    ASSERT_EQ(kParameters.size(), 22u);
    for (int i = 0; i < kNumParameters; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(kParameters[static_cast<std::size_t>(i)].index, i);
        EXPECT_EQ(std::string(kParameters[static_cast<std::size_t>(i)].name),
                  kExpectedParameterNames[i]);
    }
}

TEST(ParameterTable, SwitchesAndTheSlotsThatDoNothing) {
    for (int i : {kHfHarmonics, kLfHarmonics, kDelta, kBypass, kScPreview}) {
        EXPECT_TRUE(kParameters[static_cast<std::size_t>(i)].plain.hints & kHintToggled) << i;
        EXPECT_EQ(stepCount(kParameters[static_cast<std::size_t>(i)].plain), 1) << i;
    }
    EXPECT_EQ(stepCount(kParameters[kScFilterType].plain), 2);
    EXPECT_EQ(stepCount(kParameters[kMeterScale].plain), 3);
    EXPECT_EQ(stepCount(kParameters[kScSource].plain), 1);
    EXPECT_TRUE(isList(kParameters[kScSource].plain));
    EXPECT_EQ(stepCount(kParameters[kThreshold].plain), 0);
    EXPECT_FALSE(hasFunction(kUnused19));
    EXPECT_FALSE(hasFunction(kUnused20));
    EXPECT_EQ(kParameters[kBypass].designation, Designation::bypass);
}

TEST(ParameterTable, IndexRange) {
    EXPECT_TRUE(isParameterIndex(0));
    EXPECT_TRUE(isParameterIndex(20));
    EXPECT_TRUE(isParameterIndex(21));
    EXPECT_FALSE(isParameterIndex(22));
    EXPECT_FALSE(isParameterIndex(-1));
    EXPECT_FALSE(isParameterIndex(500));
    EXPECT_TRUE(isVst2Slot(20));
    EXPECT_FALSE(isVst2Slot(21));
}

// What the newer editions' hosts list: every parameter that does something, in the table's
// order, so a parameter added to the table reaches them all. The VST 2 module keeps its slots.
TEST(ParameterTable, TheNewerEditionsListEveryParameterThatDoesSomething) {
    for (ListedIn edition : {kInVst3, kInClap, kInLv2}) {
        SCOPED_TRACE(edition);
        int position = 0;
        for (int i = 0; i < kNumParameters; ++i) {
            EXPECT_EQ(isListedIn(edition, i), hasFunction(i)) << i;
            if (hasFunction(i)) {
                EXPECT_EQ(listedAt(edition, position++), i);
            }
        }
        EXPECT_EQ(listedCount(edition), position);
        EXPECT_EQ(listedCount(edition), 20);
        EXPECT_EQ(listedAt(edition, position), -1);
        EXPECT_EQ(listedAt(edition, -1), -1);
    }
}

// Short names for narrow strips: each says which parameter it is within 8 characters.
TEST(ParameterTable, ShortNamesFitEightCharactersAndTellTheParametersApart) {
    std::set<std::string> shortNames;
    for (int i = 0; i < kNumParameters; ++i) {
        if (!hasFunction(i)) continue;
        const std::string shortName = row(i).shortName;
        EXPECT_FALSE(shortName.empty()) << row(i).name;
        EXPECT_LE(shortName.size(), 8u) << row(i).name;
        EXPECT_TRUE(shortNames.insert(shortName).second) << shortName;
    }
}

// The three switches that replace what is heard are the ones the exclusion rule covers.
TEST(ParameterTable, TheListeningSwitchesAreTheBypassAndTheParametersThatListen) {
    std::set<int> designated;
    for (int i = 0; i < kNumParameters; ++i)
        if (row(i).designation == Designation::bypass ||
            row(i).designation == Designation::listening)
            designated.insert(i);
    EXPECT_EQ(designated,
              std::set<int>(std::begin(listening::kSwitches), std::end(listening::kSwitches)));
    EXPECT_EQ(designated, (std::set<int>{kDelta, kBypass, kScPreview}));
    for (int i = 0; i < kNumParameters; ++i)
        EXPECT_EQ(listening::isSwitch(i), designated.count(i) == 1) << i;
}

// Meter Scale's positions are named for the reduction the strip spans, each twice the last.
TEST(ParameterTable, MeterScalePositionsAreNamedForTheirSpans) {
    const PlainScale& scale = row(kMeterScale).plain;
    ASSERT_EQ(scale.numPoints, 4);
    for (int p = 0; p < scale.numPoints; ++p) {
        const int spanDb = curve::kMeterScaleSettings[p].spanDb;
        EXPECT_EQ(std::string(scale.points[p].label), std::to_string(spanDb) + " dB");
        EXPECT_EQ(spanDb, 6 << p);
        EXPECT_EQ(scale.toNormalized(p), 0.25f * static_cast<float>(p));
    }
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
    EXPECT_EQ(row(kScSource).plain.numPoints, 2);
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

// For the editions whose normalized values are their own: every plain value rises with them
// over the whole travel and stays in its range, and the effect's values come back unchanged.
TEST(PlainValues, RisingNormalizedValuesRaiseEveryPlainValue) {
    for (int i = 0; i < kNumParameters; ++i) {
        const PlainScale& scale = row(i).plain;
        SCOPED_TRACE(row(i).name);
        double previous = -std::numeric_limits<double>::infinity();
        for (int step = 0; step <= 1000; ++step) {
            const double plain = scale.toPlain(valueFromRising(scale, step / 1000.0));
            EXPECT_GE(plain, previous) << step;
            EXPECT_GE(plain, scale.min) << step;
            EXPECT_LE(plain, scale.max) << step;
            previous = plain;
        }
        for (int program = 0; program < kNumPrograms; ++program) {
            const float v = factoryProgramValue(program, i);
            EXPECT_EQ(valueFromRising(scale, risingNormalized(scale, v)), v);
        }
    }
    // Threshold's 0 dB is the top of a rising travel; Knee's travel is the effect's.
    EXPECT_EQ(risingNormalized(row(kThreshold).plain, 0.0f), 1.0);
    EXPECT_EQ(risingNormalized(row(kKnee).plain, 0.25f), 0.25);
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
