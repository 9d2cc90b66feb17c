#include "plugin/ParameterTable.h"

#include "plugin/EngineUpdate.h"
#include "plugin/FactoryPrograms.h"
#include "plugin/HostValueText.h"

namespace {

using D = Designation;
namespace update = engineUpdate;
namespace scale = plainScale;

constexpr unsigned kEverywhere = kInVst3 | kInClap | kInLv2;
// The slots kept for the VST 2 module's saved sessions; no newer edition's host lists them.
constexpr unsigned kNowhere = 0;
constexpr std::nullopt_t none = std::nullopt;

} // namespace

// clang-format off
const std::array<ParameterInfo, kNumParameters> kParameters = {{
  // index               name                   short name  symbol                 designation     listed in    plain scale             editor default  host text                  engine update
    {kDetection,         "Detection",           "Detect",   "detection",           D::setting,     kEverywhere, scale::detection,       1.0f,           hostText::detection,       update::detection},
    {kScFilterType,      "SC Filter Type",      "SC Type",  "sc_filter_type",      D::setting,     kEverywhere, scale::scFilterType,    0.0f,           hostText::scFilterType,    update::scFilterType},
    {kScFilterFreq,      "SC Filter Freq",      "SC Freq",  "sc_filter_freq",      D::setting,     kEverywhere, scale::scFilterFreq,    0.475f,         hostText::scFilterFreq,    update::scFilterFreq},
    {kThreshold,         "Threshold",           "Thresh",   "threshold",           D::setting,     kEverywhere, scale::threshold,       0.0f,           hostText::threshold,       update::threshold},
    {kKnee,              "Knee",                "Knee",     "knee",                D::setting,     kEverywhere, scale::knee,            0.0f,           hostText::knee,            update::knee},
    {kRatio,             "Ratio",               "Ratio",    "ratio",               D::setting,     kEverywhere, scale::ratio,           0.4f,           hostText::ratio,           update::ratio},
    {kAttack,            "Attack",              "Attack",   "attack",              D::setting,     kEverywhere, scale::attack,          0.31f,          hostText::attack,          update::attack},
    {kRelease,           "Release",             "Release",  "release",             D::setting,     kEverywhere, scale::release,         0.425f,         hostText::release,         update::release},
    {kReleaseSlow,       "Release Slow",        "Rel Slow", "release_slow",        D::setting,     kEverywhere, scale::release,         0.5f,           hostText::release,         update::releaseSlow},
    {kDryMix,            "Dry Mix",             "Dry Mix",  "dry_mix",             D::setting,     kEverywhere, scale::dryMix,          0.0f,           hostText::dryMix,          update::dryMix},
    {kMakeUpGain,        "Make Up Gain",        "Make Up",  "make_up_gain",        D::setting,     kEverywhere, scale::makeUpGain,      0.5f,           hostText::makeUpGain,      update::makeUpGain},
    {kHfHarmonics,       "HF Harmonics",        "HF Harm",  "hf_harmonics",        D::setting,     kEverywhere, scale::onOff,           0.0f,           hostText::onOff,           update::hfHarmonics},
    {kLfHarmonics,       "LF Harmonics",        "LF Harm",  "lf_harmonics",        D::setting,     kEverywhere, scale::onOff,           0.0f,           hostText::onOff,           update::lfHarmonics},
    {kHfHarmonicsAmount, "HF Harmonics Amount", "HF Amt",   "hf_harmonics_amount", D::setting,     kEverywhere, scale::harmonicsAmount, 0.5f,           hostText::harmonicsAmount, update::hfHarmonicsAmount},
    {kLfHarmonicsAmount, "LF Harmonics Amount", "LF Amt",   "lf_harmonics_amount", D::setting,     kEverywhere, scale::harmonicsAmount, 0.5f,           hostText::harmonicsAmount, update::lfHarmonicsAmount},
    {kDelta,             "Delta",               "Delta",    "delta",               D::listening,   kEverywhere, scale::onOff,           0.0f,           hostText::onOff,           update::delta},
    {kBypass,            "Bypass",              "Bypass",   "bypass",              D::bypass,      kEverywhere, scale::onOff,           1.0f,           hostText::onOff,           update::none},
    {kScPreview,         "SC Preview",          "SC Prev",  "sc_preview",          D::listening,   kEverywhere, scale::onOff,           0.0f,           hostText::onOff,           update::scPreview},
    {kMeterScale,        "Meter Scale",         "Meter",    "meter_scale",         D::meterScale,  kEverywhere, scale::meterScale,      none,           hostText::meterScale,      update::none},
    {kUnused19,          "-",                   "-",        "unused_19",           D::noFunction,  kNowhere,    scale::noFunction,      none,           hostText::noFunction,      update::none},
    {kUnused20,          "-",                   "-",        "unused_20",           D::noFunction,  kNowhere,    scale::noFunction,      none,           hostText::noFunction,      update::none},
    {kScSource,          "SC Source",           "SC Src",   "sc_source",           D::setting,     kEverywhere, scale::scSource,        none,           hostText::scSource,        update::scSource},
}};
// clang-format on

float defaultValue(int index) {
    return factoryProgramValue(0, index);
}

bool isHeldValue(int index, float value) {
    return isParameterIndex(index) && value >= 0.0f && value <= 1.0f;
}

bool hasFunction(int index) {
    return isParameterIndex(index) && kParameters[index].designation != Designation::noFunction;
}

bool isListedIn(ListedIn edition, int index) {
    return isParameterIndex(index) && (kParameters[index].listedIn & edition) != 0;
}

int listedCount(ListedIn edition) {
    int count = 0;
    for (const ParameterInfo& info : kParameters)
        count += (info.listedIn & edition) != 0;
    return count;
}

int listedAt(ListedIn edition, int position) {
    if (position < 0) return -1;
    for (const ParameterInfo& info : kParameters)
        if ((info.listedIn & edition) != 0 && position-- == 0) return info.index;
    return -1;
}
