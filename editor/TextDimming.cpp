#include "editor/TextDimming.h"

#include "editor/EditorParameters.h"

DimmedTexts dimmedTexts(const DimmingInputs& in) {
    DimmedTexts dim;
    if (isOn(in.bypass)) dim.set();
    if (isOn(in.delta)) {
        dim.set(kMakeUpText);
        dim.set(kDryMixText);
    }
    if (isOn(in.scPreview)) {
        const bool frequencyDim = dim.test(kScFilterFreqText);
        dim.set();
        dim.set(kScFilterFreqText, frequencyDim);
    }
    if (in.scFilterType == 0.0f) dim.set(kScFilterFreqText);
    if (in.lfHarmonics == 0.0f) dim.set(kLfAmountText);
    if (in.hfHarmonics == 0.0f) dim.set(kHfAmountText);
    if (in.release > in.releaseSlow) dim.set(kReleaseSlowText);
    return dim;
}
