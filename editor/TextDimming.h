#pragma once

#include <bitset>
#include <cstddef>

// The twelve value texts that grey out when their parameter has no effect.
enum DimmableText : std::size_t {
    kThresholdText,
    kRatioText,
    kMakeUpText,
    kDryMixText,
    kKneeText,
    kAttackText,
    kReleaseText,
    kScFilterFreqText,
    kReleaseSlowText,
    kLfAmountText,
    kHfAmountText,
    kDetectionText,
    kNumDimmableTexts
};

using DimmedTexts = std::bitset<kNumDimmableTexts>;

// The normalized values the dimming depends on.
struct DimmingInputs {
    float bypass = 0.0f;
    float delta = 0.0f;
    float scPreview = 0.0f;
    float scFilterType = 0.0f;
    float lfHarmonics = 0.0f;
    float hfHarmonics = 0.0f;
    float release = 0.0f;
    float releaseSlow = 0.0f;
};

// Which texts are dim, by the rules applied in order (a later rule overrides an earlier one
// for the texts it names): Bypass dims all; Delta dims make-up and dry mix; SC Preview dims
// all but the filter frequency; filter off dims the frequency; a harmonics switch that is off
// dims its amount; a fast release longer than the slow one dims the slow one.
DimmedTexts dimmedTexts(const DimmingInputs& in);
