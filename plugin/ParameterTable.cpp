#include "plugin/ParameterTable.h"

#include "plugin/EngineUpdate.h"
#include "plugin/HostValueText.h"

using K = ParameterKind;
namespace update = engineUpdate;

// Values after construction are those of factory program 0 and live in the program rows.
// clang-format off
const std::array<ParameterInfo, kNumParameters> kParameters = {{
    // index             name                   kind               host text                  engine update
    {kDetection,         "Detection",           K::zoned,          hostText::detection,       update::detection},
    {kScFilterType,      "SC Filter Type",      K::threeWaySwitch, hostText::scFilterType,    update::scFilterType},
    {kScFilterFreq,      "SC Filter Freq",      K::continuous,     hostText::scFilterFreq,    update::scFilterFreq},
    {kThreshold,         "Threshold",           K::continuous,     hostText::threshold,       update::threshold},
    {kKnee,              "Knee",                K::continuous,     hostText::knee,            update::knee},
    {kRatio,             "Ratio",               K::zoned,          hostText::ratio,           update::ratio},
    {kAttack,            "Attack",              K::continuous,     hostText::attack,          update::attack},
    {kRelease,           "Release",             K::continuous,     hostText::release,         update::release},
    {kReleaseSlow,       "Release Slow",        K::continuous,     hostText::release,         update::releaseSlow},
    {kDryMix,            "Dry Mix",             K::continuous,     hostText::dryMix,          update::dryMix},
    {kMakeUpGain,        "Make Up Gain",        K::continuous,     hostText::makeUpGain,      update::makeUpGain},
    {kHfHarmonics,       "HF Harmonics",        K::onOff,          hostText::onOff,           update::hfHarmonics},
    {kLfHarmonics,       "LF Harmonics",        K::onOff,          hostText::onOff,           update::lfHarmonics},
    {kHfHarmonicsAmount, "HF Harmonics Amount", K::continuous,     hostText::harmonicsAmount, update::hfHarmonicsAmount},
    {kLfHarmonicsAmount, "LF Harmonics Amount", K::continuous,     hostText::harmonicsAmount, update::lfHarmonicsAmount},
    {kDelta,             "Delta",               K::onOff,          hostText::onOff,           update::delta},
    {kBypass,            "Bypass",              K::onOff,          hostText::onOff,           update::none},
    {kScPreview,         "SC Preview",          K::onOff,          hostText::onOff,           update::scPreview},
    {kMeterScale,        "Meter Scale",         K::fourWaySwitch,  hostText::meterScale,      update::none},
    {kUnused19,          "-",                   K::noFunction,     hostText::noFunction,      update::none},
    {kUnused20,          "-",                   K::noFunction,     hostText::noFunction,      update::none},
}};
// clang-format on
