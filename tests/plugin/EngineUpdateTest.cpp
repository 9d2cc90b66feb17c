// Every parameter reaches the engine with its curve: the numbers below come from the knobs'
// printed ranges (dB, ms, ratio zones), not from the update code.
#include "EffectTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using Settings = DynamicsEngine::Settings;

struct UpdateCase {
    const char* what;
    int index;
    float value;
    double (*read)(const Settings&);
    double expected;
    double relativeTolerance; // 0: exact
};

double detectionMs(const Settings& s) {
    return s.detectionMs;
}
double scFilterType(const Settings& s) {
    return s.scFilterType;
}
double scFrequencyHz(const Settings& s) {
    return s.scFrequencyHz;
}
double thresholdDb(const Settings& s) {
    return s.thresholdDb;
}
double kneeDb(const Settings& s) {
    return s.kneeDb;
}
double slope(const Settings& s) {
    return s.slope;
}
double attackMs(const Settings& s) {
    return s.attackMs;
}
double releaseMs(const Settings& s) {
    return s.releaseMs;
}
double releaseSlowMs(const Settings& s) {
    return s.releaseSlowMs;
}
double dryGain(const Settings& s) {
    return s.dryGain;
}
double makeUpGain(const Settings& s) {
    return s.makeUpGain;
}
double hfOn(const Settings& s) {
    return s.hfOn;
}
double lfOn(const Settings& s) {
    return s.lfOn;
}
double hfAmount(const Settings& s) {
    return s.hfAmount;
}
double lfAmount(const Settings& s) {
    return s.lfAmount;
}
double deltaOn(const Settings& s) {
    return s.deltaOn;
}
double scPreviewOn(const Settings& s) {
    return s.scPreviewOn;
}
double keyed(const Settings& s) {
    return s.scSource == ScSource::external;
}

double dbToGain(double db) {
    return std::pow(10.0, db / 20.0);
}

// clang-format off
const UpdateCase kCases[] = {
    // what                          index              value    read           expected           tolerance
    {"peak below 0.1",               kDetection,         0.05f,  detectionMs,   0.0,               0},
    {"dyn RMS above 0.9",            kDetection,         0.95f,  detectionMs,   600.0,             0},
    {"RMS at 0.5: 7.5875 ms",        kDetection,         0.5f,   detectionMs,   7.5875,            1e-12},
    {"RMS from 0.1 on: 0.1 ms",      kDetection,         0.1f,   detectionMs,   0.1,               1e-9},
    {"RMS up to 0.9: 60 ms",         kDetection,         0.9f,   detectionMs,   60.0,              1e-6},
    {"filter off",                   kScFilterType,      0.0f,   scFilterType,  0,                 0},
    {"3 dB/oct from 0.3",            kScFilterType,      0.3f,   scFilterType,  1,                 0},
    {"3 dB/oct at the middle",       kScFilterType,      0.5f,   scFilterType,  1,                 0},
    {"6 dB/oct from 0.7",            kScFilterType,      0.7f,   scFilterType,  2,                 0},
    {"30 Hz at the bottom",          kScFilterFreq,      0.0f,   scFrequencyHz, 30.0,              1e-5},
    {"decade sweep at 0.475",        kScFilterFreq,      0.475f, scFrequencyHz, 30.0 * std::pow(10.0, 0.475), 1e-5},
    {"300 Hz at the top",            kScFilterFreq,      1.0f,   scFrequencyHz, 300.0,             0},
    {"threshold -24.5 dB",           kThreshold,         0.49f,  thresholdDb,   -24.5,             1e-6},
    {"threshold -50 dB",             kThreshold,         1.0f,   thresholdDb,   -50.0,             0},
    {"knee 3.2 dB",                  kKnee,              0.16f,  kneeDb,        3.2,               1e-6},
    {"ratio 1:1 is slope 1",         kRatio,             0.0f,   slope,         1.0,               0},
    {"ratio 2:1 is slope 0.5",       kRatio,             0.4f,   slope,         0.5,               1e-6},
    {"ratio zone end 0.8: slope 0",  kRatio,             0.8f,   slope,         0.0,               0},
    {"4:1 zone",                     kRatio,             0.85f,  slope,         -1.0,              0},
    {"0.9 still 4:1 zone",           kRatio,             0.9f,   slope,         -1.0,              0},
    {"8:1 zone",                     kRatio,             1.0f,   slope,         -4.0,              0},
    {"attack 15.1 ms",               kAttack,            0.31f,  attackMs,      0.31 * 0.31 * 0.31 * 500.0 + 0.1, 1e-6},
    {"attack 0.1 ms",                kAttack,            0.0f,   attackMs,      0.1,               0},
    {"attack 500.1 ms",              kAttack,            1.0f,   attackMs,      500.1,             1e-12},
    {"release 2000.1 ms",            kRelease,           1.0f,   releaseMs,     2000.1,            1e-12},
    {"slow release 250.1 ms",        kReleaseSlow,       0.5f,   releaseSlowMs, 250.1,             1e-12},
    {"dry out",                      kDryMix,            0.0f,   dryGain,       0.0,               0},
    {"dry -50 dB",                   kDryMix,            0.5f,   dryGain,       dbToGain(-50.0),   1e-6},
    {"dry 0 dB",                     kDryMix,            1.0f,   dryGain,       1.0,               1e-7},
    {"make-up -60 dB",               kMakeUpGain,        0.0f,   makeUpGain,    0.001,             1e-12},
    {"make-up -15 dB",               kMakeUpGain,        0.25f,  makeUpGain,    dbToGain(-15.0),   1e-12},
    {"make-up 0 dB",                 kMakeUpGain,        0.5f,   makeUpGain,    1.0,               0},
    {"make-up +12 dB",               kMakeUpGain,        1.0f,   makeUpGain,    dbToGain(12.0),    1e-12},
    {"HF harmonics on at 1",         kHfHarmonics,       1.0f,   hfOn,          1.0,               0},
    {"HF harmonics off at 0.999",    kHfHarmonics,       0.999f, hfOn,          0.0,               0},
    {"LF harmonics on at 1",         kLfHarmonics,       1.0f,   lfOn,          1.0,               0},
    {"HF amount is squared",         kHfHarmonicsAmount, 0.5f,   hfAmount,      0.25,              0},
    {"LF amount full",               kLfHarmonicsAmount, 1.0f,   lfAmount,      1.0,               0},
    {"delta on at 1",                kDelta,             1.0f,   deltaOn,       1.0,               0},
    {"delta off at 0.999",           kDelta,             0.999f, deltaOn,       0.0,               0},
    {"preview on above 0.5",         kScPreview,         0.6f,   scPreviewOn,   1.0,               0},
    {"preview off at 0.5",           kScPreview,         0.5f,   scPreviewOn,   0.0,               0},
    {"source external at 1",         kScSource,          1.0f,   keyed,         1.0,               0},
    {"source external from 0.5",     kScSource,          0.5f,   keyed,         1.0,               0},
    {"source external far above",    kScSource,          7.0f,   keyed,         1.0,               0},
    // Values a host may store outside 0..1 act like the nearest end of the knob.
    {"ratio below the knob",         kRatio,             -1.0f,  slope,         1.0,               0},
    {"ratio above the knob",         kRatio,             7.0f,   slope,         -4.0,              0},
    {"make-up far above the knob",   kMakeUpGain,        1e30f,  makeUpGain,    dbToGain(12.0),    1e-12},
    {"dry mix below the knob",       kDryMix,            -3.0f,  dryGain,       0.0,               0},
    {"attack below the knob",        kAttack,            -2.0f,  attackMs,      0.1,               0},
};
// clang-format on

TEST(EngineUpdate, EachParameterReachesTheEngineWithItsCurve) {
    for (const UpdateCase& c : kCases) {
        EffectHarness h(false);
        h.effect.setParameter(c.index, c.value);
        const double actual = c.read(h.effect.engine().settings());
        if (c.relativeTolerance == 0)
            EXPECT_EQ(actual, c.expected) << c.what;
        else
            EXPECT_NEAR(actual, c.expected, std::fabs(c.expected) * c.relativeTolerance + 1e-300)
                << c.what;
        EXPECT_EQ(h.effect.getParameter(c.index), c.value)
            << c.what << ": the stored value stays as sent";
    }
}

TEST(EngineUpdate, ScFilterTypeSwitchesAtItsSelectorThresholds) {
    struct Case {
        float x;
        ScFilterType type;
    };
    for (const Case c :
         {Case{0.0f, ScFilterType::off}, Case{0.29f, ScFilterType::off},
          Case{0.3f, ScFilterType::threePerOctave}, Case{0.69f, ScFilterType::threePerOctave},
          Case{0.7f, ScFilterType::sixPerOctave}, Case{1.0f, ScFilterType::sixPerOctave}}) {
        EffectHarness h(false);
        h.effect.setParameter(kScFilterType, c.x);
        EXPECT_EQ(h.effect.engine().settings().scFilterType, static_cast<int>(c.type)) << c.x;
    }
}

// The key is heard from the middle of the travel up; below it, and for a value that is no
// number, the detector listens to the compressor's own output again.
TEST(EngineUpdate, ScSourceTurnsInternalBelowTheMiddle) {
    for (const float internal : {0.49f, 0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        EffectHarness h(false);
        h.effect.setParameter(kScSource, 1.0f);
        ASSERT_EQ(h.effect.engine().scSource(), ScSource::external);
        h.effect.setParameter(kScSource, internal);
        EXPECT_EQ(h.effect.engine().scSource(), ScSource::internal) << internal;
    }
}

TEST(EngineUpdate, ConstructionAppliesProgramZero) {
    EffectHarness h(false);
    const Settings s = h.effect.engine().settings();
    EXPECT_NEAR(s.detectionMs, 10.07, 0.01); // "RMS  10"
    EXPECT_EQ(s.scFilterType, 0);
    EXPECT_NEAR(s.scFrequencyHz, 30.0 * std::pow(10.0, 0.475), 1e-3); // " 90 Hz"
    EXPECT_EQ(s.thresholdDb, 0.0);
    EXPECT_NEAR(s.kneeDb, 3.2, 1e-6);
    EXPECT_NEAR(s.slope, 0.5, 1e-6);
    EXPECT_EQ(s.dryGain, 0.0);
    EXPECT_EQ(s.makeUpGain, 1.0);
    EXPECT_EQ(s.hfOn + s.lfOn, 0.0);
    EXPECT_EQ(s.sampleRateHz, 44100.0);
}

TEST(EngineUpdate, SwitchingOneOfDeltaBypassPreviewOnSwitchesTheEnginesOthersOff) {
    EffectHarness h(false);
    h.effect.setParameter(kDelta, 1.0f);
    EXPECT_TRUE(h.effect.engine().settings().deltaOn);
    h.effect.setParameter(kScPreview, 1.0f);
    EXPECT_TRUE(h.effect.engine().settings().scPreviewOn);
    EXPECT_FALSE(h.effect.engine().settings().deltaOn);
    h.effect.setParameter(kBypass, 1.0f);
    EXPECT_FALSE(h.effect.engine().settings().scPreviewOn);
    EXPECT_FALSE(h.effect.engine().settings().deltaOn);
    EXPECT_TRUE(h.effect.bypassOn());
}

TEST(EngineUpdate, ProgramChangesReachTheEngineWithoutAnEditorWindow) {
    EffectHarness h(true);
    h.dispatch(vst2::effSetProgram, 0, 3); // "Mastering: Tight"
    Settings s = h.effect.engine().settings();
    EXPECT_EQ(s.detectionMs, 600.0);
    EXPECT_EQ(s.scFilterType, 2);
    EXPECT_EQ(s.hfOn, 1.0);
    EXPECT_EQ(s.hfAmount, 0.0625);
    h.dispatch(vst2::effSetProgram, 0, 5); // "Mastering: Upward": full parallel dry path
    s = h.effect.engine().settings();
    EXPECT_NEAR(s.dryGain, 1.0, 1e-7);
    EXPECT_EQ(s.thresholdDb, -50.0);
}

TEST(EngineUpdate, SampleRateReachesTheEngineAndBadRatesDoNot) {
    EffectHarness h(false);
    h.dispatch(vst2::effSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_EQ(h.effect.engine().settings().sampleRateHz, 96000.0);
    for (float bad : {0.0f, -48000.0f, NAN, INFINITY})
        h.dispatch(vst2::effSetSampleRate, 0, 0, nullptr, bad);
    EXPECT_EQ(h.effect.engine().settings().sampleRateHz, 96000.0);
}

} // namespace
