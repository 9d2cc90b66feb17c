#include "plugin/ParameterTable.h"

#include "plugin/EngineUpdate.h"
#include "plugin/FactoryPrograms.h"
#include "plugin/HostValueText.h"

using K = ParameterKind;
namespace update = engineUpdate;
namespace scale = plainScale;

// clang-format off
const std::array<ParameterInfo, kNumParameters> kParameters = {{
  // index               name                   symbol                 kind               plain scale             host text                  engine update
    {kDetection,         "Detection",           "detection",           K::zoned,          scale::detection,       hostText::detection,       update::detection},
    {kScFilterType,      "SC Filter Type",      "sc_filter_type",      K::threeWaySwitch, scale::scFilterType,    hostText::scFilterType,    update::scFilterType},
    {kScFilterFreq,      "SC Filter Freq",      "sc_filter_freq",      K::continuous,     scale::scFilterFreq,    hostText::scFilterFreq,    update::scFilterFreq},
    {kThreshold,         "Threshold",           "threshold",           K::continuous,     scale::threshold,       hostText::threshold,       update::threshold},
    {kKnee,              "Knee",                "knee",                K::continuous,     scale::knee,            hostText::knee,            update::knee},
    {kRatio,             "Ratio",               "ratio",               K::zoned,          scale::ratio,           hostText::ratio,           update::ratio},
    {kAttack,            "Attack",              "attack",              K::continuous,     scale::attack,          hostText::attack,          update::attack},
    {kRelease,           "Release",             "release",             K::continuous,     scale::release,         hostText::release,         update::release},
    {kReleaseSlow,       "Release Slow",        "release_slow",        K::continuous,     scale::release,         hostText::release,         update::releaseSlow},
    {kDryMix,            "Dry Mix",             "dry_mix",             K::continuous,     scale::dryMix,          hostText::dryMix,          update::dryMix},
    {kMakeUpGain,        "Make Up Gain",        "make_up_gain",        K::continuous,     scale::makeUpGain,      hostText::makeUpGain,      update::makeUpGain},
    {kHfHarmonics,       "HF Harmonics",        "hf_harmonics",        K::onOff,          scale::onOff,           hostText::onOff,           update::hfHarmonics},
    {kLfHarmonics,       "LF Harmonics",        "lf_harmonics",        K::onOff,          scale::onOff,           hostText::onOff,           update::lfHarmonics},
    {kHfHarmonicsAmount, "HF Harmonics Amount", "hf_harmonics_amount", K::continuous,     scale::harmonicsAmount, hostText::harmonicsAmount, update::hfHarmonicsAmount},
    {kLfHarmonicsAmount, "LF Harmonics Amount", "lf_harmonics_amount", K::continuous,     scale::harmonicsAmount, hostText::harmonicsAmount, update::lfHarmonicsAmount},
    {kDelta,             "Delta",               "delta",               K::onOff,          scale::onOff,           hostText::onOff,           update::delta},
    {kBypass,            "Bypass",              "bypass",              K::onOff,          scale::onOff,           hostText::onOff,           update::none},
    {kScPreview,         "SC Preview",          "sc_preview",          K::onOff,          scale::onOff,           hostText::onOff,           update::scPreview},
    {kMeterScale,        "Meter Scale",         "meter_scale",         K::fourWaySwitch,  scale::meterScale,      hostText::meterScale,      update::none},
    {kUnused19,          "-",                   "unused_19",           K::noFunction,     scale::noFunction,      hostText::noFunction,      update::none},
    {kUnused20,          "-",                   "unused_20",           K::noFunction,     scale::noFunction,      hostText::noFunction,      update::none},
}};
// clang-format on

float defaultValue(int index) {
    return factoryProgramValue(0, index);
}
