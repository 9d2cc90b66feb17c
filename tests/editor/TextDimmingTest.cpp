// Which readouts grey out, as a table of settings, and the editor applying it.

#include "EditorTestSupport.h"

#include "editor/TextDimming.h"
#include "views/CParamDisplay.h"
#include "widgets/CTextKnob.h"

#include <gtest/gtest.h>

namespace {

DimmedTexts only(std::initializer_list<DimmableText> texts) {
    DimmedTexts d;
    for (DimmableText t : texts)
        d.set(t);
    return d;
}

DimmedTexts allBut(std::initializer_list<DimmableText> texts) {
    return ~only(texts);
}

// Harmonics on, filter on, fast release not longer than slow: nothing dims by default.
DimmingInputs neutral() {
    DimmingInputs in;
    in.scFilterType = 0.5f;
    in.lfHarmonics = 1.0f;
    in.hfHarmonics = 1.0f;
    in.release = 0.4f;
    in.releaseSlow = 0.5f;
    return in;
}

struct DimCase {
    const char* name;
    void (*change)(DimmingInputs&);
    DimmedTexts dim;
};

const DimCase kCases[] = {
    {"neutral", [](DimmingInputs&) {}, DimmedTexts{}},
    {"bypass", [](DimmingInputs& in) { in.bypass = 1.0f; }, DimmedTexts{}.set()},
    {"bypass not exactly on", [](DimmingInputs& in) { in.bypass = 0.99f; }, DimmedTexts{}},
    {"delta", [](DimmingInputs& in) { in.delta = 1.0f; }, only({kMakeUpText, kDryMixText})},
    {"preview", [](DimmingInputs& in) { in.scPreview = 1.0f; }, allBut({kScFilterFreqText})},
    {"preview, filter off",
     [](DimmingInputs& in) {
         in.scPreview = 1.0f;
         in.scFilterType = 0.0f;
     },
     DimmedTexts{}.set()},
    {"filter off", [](DimmingInputs& in) { in.scFilterType = 0.0f; }, only({kScFilterFreqText})},
    {"lf off", [](DimmingInputs& in) { in.lfHarmonics = 0.0f; }, only({kLfAmountText})},
    {"hf off", [](DimmingInputs& in) { in.hfHarmonics = 0.0f; }, only({kHfAmountText})},
    {"hf half", [](DimmingInputs& in) { in.hfHarmonics = 0.5f; }, DimmedTexts{}},
    {"fast longer than slow",
     [](DimmingInputs& in) {
         in.release = 0.6f;
         in.releaseSlow = 0.5f;
     },
     only({kReleaseSlowText})},
    {"equal releases", [](DimmingInputs& in) { in.release = in.releaseSlow; }, DimmedTexts{}},
};

} // namespace

TEST(TextDimmingRules, EachSettingDimsItsTexts) {
    for (const DimCase& c : kCases) {
        SCOPED_TRACE(c.name);
        DimmingInputs in = neutral();
        c.change(in);
        EXPECT_EQ(dimmedTexts(in), c.dim);
    }
}

TEST(TextDimmingRules, DefaultSettingsDimFilterFrequencyAndBothAmounts) {
    EXPECT_EQ(dimmedTexts(DimmingInputs{}),
              only({kScFilterFreqText, kLfAmountText, kHfAmountText}));
}

TEST(TextDimmingInEditor, BypassDimsAllTwelveAndSwitchingItOffRestoresThem) {
    EditorFixture f;
    f.host.set(1, 0.5f);
    f.host.set(11, 1.0f);
    f.host.set(12, 1.0f);
    ASSERT_TRUE(f.open());
    const EditorControls& v = f.views();
    const std::vector<CParamDisplay*> readouts{
        v.thresholdDisplay, v.ratioDisplay,        v.makeUpDisplay,
        v.dryMixDisplay,    v.kneeDisplay,         v.attackDisplay,
        v.releaseDisplay,   v.scFilterFreqDisplay, v.releaseSlowDisplay};
    const std::vector<CTextKnob*> knobs{v.lfAmountKnob, v.hfAmountKnob, v.detectionKnob};
    const auto allAre = [&](CColor colour) {
        for (CParamDisplay* r : readouts)
            if (r->getFontColor() != colour) return false;
        for (CTextKnob* k : knobs)
            if (k->getLook().fontColor != colour) return false;
        return true;
    };
    EXPECT_TRUE(allAre(kTextNormal));
    f.host.set(16, 1.0f);
    EXPECT_TRUE(allAre(kTextDim));
    f.host.set(16, 0.0f);
    EXPECT_TRUE(allAre(kTextNormal));

    f.host.set(7, 0.6f);
    f.host.set(8, 0.5f);
    EXPECT_EQ(v.releaseSlowDisplay->getFontColor(), kTextDim);
    EXPECT_EQ(v.releaseDisplay->getFontColor(), kTextNormal);
    f.host.set(12, 0.0f);
    EXPECT_EQ(v.lfAmountKnob->getLook().fontColor, kTextDim);
    // The dim amount knob still works.
    f.host.calls.clear();
    f.drag({383, 248}, 30, 0);
    EXPECT_EQ(f.host.automationCount(14), 1);
}
