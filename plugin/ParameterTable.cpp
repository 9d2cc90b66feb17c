#include "plugin/ParameterTable.h"

#include "plugin/HostValueText.h"

using K = ParameterKind;

// Values after construction are those of factory program 0 and live in the program rows.
// clang-format off
const std::array<ParameterInfo, kNumParameters> kParameters = {{
    // index             name                   kind               host text
    {kDetection,         "Detection",           K::zoned,          hostText::detection},
    {kScFilterType,      "SC Filter Type",      K::threeWaySwitch, hostText::scFilterType},
    {kScFilterFreq,      "SC Filter Freq",      K::continuous,     hostText::scFilterFreq},
    {kThreshold,         "Threshold",           K::continuous,     hostText::threshold},
    {kKnee,              "Knee",                K::continuous,     hostText::knee},
    {kRatio,             "Ratio",               K::zoned,          hostText::ratio},
    {kAttack,            "Attack",              K::continuous,     hostText::attack},
    {kRelease,           "Release",             K::continuous,     hostText::release},
    {kReleaseSlow,       "Release Slow",        K::continuous,     hostText::release},
    {kDryMix,            "Dry Mix",             K::continuous,     hostText::dryMix},
    {kMakeUpGain,        "Make Up Gain",        K::continuous,     hostText::makeUpGain},
    {kHfHarmonics,       "HF Harmonics",        K::onOff,          hostText::onOff},
    {kLfHarmonics,       "LF Harmonics",        K::onOff,          hostText::onOff},
    {kHfHarmonicsAmount, "HF Harmonics Amount", K::continuous,     hostText::harmonicsAmount},
    {kLfHarmonicsAmount, "LF Harmonics Amount", K::continuous,     hostText::harmonicsAmount},
    {kDelta,             "Delta",               K::onOff,          hostText::onOff},
    {kBypass,            "Bypass",              K::onOff,          hostText::onOff},
    {kScPreview,         "SC Preview",          K::onOff,          hostText::onOff},
    {kMeterScale,        "Meter Scale",         K::fourWaySwitch,  hostText::meterScale},
    {kUnused19,          "-",                   K::noFunction,     hostText::noFunction},
    {kUnused20,          "-",                   K::noFunction,     hostText::noFunction},
}};
// clang-format on
