#include "editor/EditorLayout.h"

#include "editor/EditorHost.h"
#include "editor/GuiValueText.h"

#include "views/CAnimKnob.h"
#include "views/CFontSpec.h"
#include "views/CFrame.h"
#include "views/CMovieBitmap.h"
#include "views/COnOffButton.h"
#include "views/CParamDisplay.h"
#include "views/CVerticalSwitch.h"
#include "widgets/CCompMeter.h"
#include "widgets/CScala.h"
#include "widgets/CTextKnob.h"
#include "widgets/CTransferFunction.h"
#include "widgets/LevelMeter.h"

#include <utility>
#include <vector>

namespace {

using TextFunction = void (*)(float, char*);

// The readouts' style 1 and the version text's style 2 set none of the drawing style flags.
constexpr int32_t kReadoutStyle = 1;
constexpr int32_t kVersionStyle = 2;
constexpr CColor kVersionTextColor{120, 120, 120, 255};
constexpr CPoint kReadoutPlateOffset{0, -1};
constexpr CPoint kTextKnobPlateOffset{-1, -4};
// Display-only views that are not parameters carry no parameter tag.
constexpr int32_t kNoParameterTag = -1;
// The meters never notify their listener; they carry the tag they always had, no parameter's.
constexpr int32_t kMeterTag = 502;

struct KnobRow {
    CAnimKnob* EditorControls::*member;
    CRect rect;
    int32_t tag;
};

// The film-strip knobs, in creation order.
// clang-format off
const KnobRow kKnobRows[] = {
    // member                              rectangle                      parameter
    {&EditorControls::thresholdKnob,      controlRect::thresholdKnob,    kParamThreshold},
    {&EditorControls::ratioKnob,          controlRect::ratioKnob,        kParamRatio},
    {&EditorControls::kneeKnob,           controlRect::kneeKnob,         kParamKnee},
    {&EditorControls::makeUpKnob,         controlRect::makeUpKnob,       kParamMakeUpGain},
    {&EditorControls::dryMixKnob,         controlRect::dryMixKnob,       kParamDryMix},
    {&EditorControls::attackKnob,         controlRect::attackKnob,       kParamAttack},
    {&EditorControls::releaseKnob,        controlRect::releaseKnob,      kParamRelease},
    {&EditorControls::releaseSlowKnob,    controlRect::releaseSlowKnob,  kParamReleaseSlow},
    {&EditorControls::scFilterFreqKnob,   controlRect::scFilterFreqKnob, kParamScFilterFreq},
};
// clang-format on

struct ReadoutRow {
    CParamDisplay* EditorControls::*member;
    CRect rect;
    int32_t shows;
    TextFunction text;
};

// The readouts under the film-strip knobs, in creation order.
// clang-format off
const ReadoutRow kReadoutRows[] = {
    // member                                rectangle              shows               text
    {&EditorControls::thresholdDisplay,     {118, 118, 169, 136},  kParamThreshold,    thresholdText},
    {&EditorControls::ratioDisplay,         {271, 118, 322, 136},  kParamRatio,        ratioText},
    {&EditorControls::kneeDisplay,          {194, 118, 245, 136},  kParamKnee,         kneeText},
    {&EditorControls::makeUpDisplay,        {617, 118, 668, 136},  kParamMakeUpGain,   makeUpText},
    {&EditorControls::dryMixDisplay,        {617, 241, 668, 259},  kParamDryMix,       dryMixText},
    {&EditorControls::attackDisplay,        {118, 241, 169, 259},  kParamAttack,       attackText},
    {&EditorControls::releaseDisplay,       {194, 241, 245, 259},  kParamRelease,      releaseText},
    {&EditorControls::scFilterFreqDisplay,  {21, 241, 72, 259},    kParamScFilterFreq, scFreqText},
    {&EditorControls::releaseSlowDisplay,   {271, 241, 322, 259},  kParamReleaseSlow,  releaseText},
};
// clang-format on

struct TextKnobRow {
    CTextKnob* EditorControls::*member;
    CRect rect;
    int32_t tag;
    TextFunction text;
};

// clang-format off
const TextKnobRow kDetectionRow =
    {&EditorControls::detectionKnob,  controlRect::detectionKnob, kParamDetection,         detectionText};
const TextKnobRow kAmountRows[] = {
    {&EditorControls::lfAmountKnob,   {358, 235, 409, 261}, kParamLfHarmonicsAmount, percentText},
    {&EditorControls::hfAmountKnob,   {412, 235, 463, 261}, kParamHfHarmonicsAmount, percentText},
};
// clang-format on

struct ButtonRow {
    COnOffButton* EditorControls::*member;
    CRect rect;
    int32_t tag;
    int32_t image;
};

// The on/off buttons, in creation order.
// clang-format off
const ButtonRow kButtonRows[] = {
    // member                               rectangle              parameter          image
    {&EditorControls::scPreviewButton,     {487, 214, 542, 239},  kParamScPreview,   kImageScPreview},
    {&EditorControls::lfHarmonicsButton,   {358, 214, 413, 239},  kParamLfHarmonics, kImageLfHarmonics},
    {&EditorControls::hfHarmonicsButton,   {412, 214, 467, 239},  kParamHfHarmonics, kImageHfHarmonics},
    {&EditorControls::bypassButton,        {540, 214, 595, 264},  kParamBypass,      kImageBypass},
    {&EditorControls::deltaButton,         {487, 237, 542, 262},  kParamDelta,       kImageDelta},
};
// clang-format on

// Holds the images while the views are made; each view keeps its own reference.
class ImageSet {
  public:
    CBitmap* get(int32_t id) {
        for (auto& [loadedId, image] : images_)
            if (loadedId == id) return image.get();
        images_.emplace_back(id, SharedRef<CBitmap>::adopt(new CBitmap(id)));
        return images_.back().second.get();
    }

  private:
    std::vector<std::pair<int32_t, SharedRef<CBitmap>>> images_;
};

class LayoutBuilder {
  public:
    LayoutBuilder(CFrame& frame, CControlObserver& editor, EditorHost& host)
        : frame_(frame), editor_(editor), host_(host) {}

    template <class View> View* add(View* view) {
        frame_.addView(view);
        return view;
    }

    // A control bound to its parameter: the value comes from the effect, the value a
    // control-click sets from the parameter's record.
    template <class Control> Control* bind(Control* control) {
        const int32_t tag = control->getTag();
        control->setValue(host_.getParameter(tag));
        control->setDefaultValue(kParameters[tag].editorDefault.value());
        controls.parameterControl[tag] = control;
        return control;
    }

    void knob(const KnobRow& row) {
        auto* knob = new CAnimKnob(row.rect, &editor_, row.tag, images.get(kImageKnob));
        bind(knob)->setTransparency(true);
        controls.*row.member = add(knob);
    }

    void textKnob(const TextKnobRow& row) {
        auto* knob = new CTextKnob(row.rect, &editor_, row.tag, images.get(kImageTextKnobPlate));
        knob->setBackgroundOffset(kTextKnobPlateOffset);
        knob->setFont(stockFont(StockFont::kSmaller));
        knob->setFontColor(kTextNormal);
        knob->setTextFunction(row.text);
        controls.*row.member = add(bind(knob));
    }

    void readout(const ReadoutRow& row) {
        auto* display = new CParamDisplay(row.rect, nullptr, kReadoutStyle);
        display->setBackgroundOffset(kReadoutPlateOffset);
        display->setFont(stockFont(StockFont::kSmaller));
        display->setFontColor(kTextNormal);
        display->setBackground(images.get(kImageReadoutPlate));
        display->setTextFunction(row.text);
        display->setValue(host_.getParameter(row.shows));
        controls.parameterReadout[row.shows] = display;
        controls.*row.member = add(display);
    }

    void button(const ButtonRow& row) {
        auto* button = new COnOffButton(row.rect, &editor_, row.tag, images.get(row.image));
        bind(button)->setTransparency(true);
        controls.*row.member = add(button);
    }

    CMovieBitmap* lamp(const CRect& rect, int32_t image) {
        return add(new CMovieBitmap(rect, nullptr, kNoParameterTag, images.get(image)));
    }

    EditorControls controls;
    ImageSet images;

  private:
    CFrame& frame_;
    CControlObserver& editor_;
    EditorHost& host_;
};

} // namespace

EditorControls buildEditorViews(CFrame& frame, CControlObserver& editor, EditorHost& host,
                                const UrlOpener& openUrl) {
    LayoutBuilder b(frame, editor, host);
    EditorControls& c = b.controls;

    auto* version = new CParamDisplay(controlRect::versionDisplay, nullptr, kVersionStyle);
    version->setFont(stockFont(StockFont::kVerySmall));
    version->setFontColor(kVersionTextColor);
    version->setBackColor(kColorBlack);
    version->setFrameColor(kColorBlack);
    version->setTextFunction(versionText);
    version->setValue(0.0f);
    c.versionDisplay = b.add(version);

    c.aboutTrigger =
        b.add(new CTextSplash(controlRect::versionDisplay, &editor, b.images.get(kImageAboutCard),
                              kAboutCardRect, {}, openUrl));

    for (const KnobRow& row : kKnobRows)
        b.knob(row);
    b.textKnob(kDetectionRow);
    for (const ReadoutRow& row : kReadoutRows)
        b.readout(row);
    for (const TextKnobRow& row : kAmountRows)
        b.textKnob(row);

    auto* filterSwitch = new CVerticalSwitch(
        controlRect::scFilterTypeSwitch, &editor, kParamScFilterType, kFilterSwitchPositions,
        kFilterSwitchFrameHeightPx, kFilterSwitchPositions, b.images.get(kImageScFilterType));
    b.bind(filterSwitch)->setTransparency(true);
    c.scFilterTypeSwitch = b.add(filterSwitch);

    for (const ButtonRow& row : kButtonRows)
        b.button(row);

    c.grMeter = b.add(new CCompMeter(controlRect::grMeter, &editor, kMeterTag));
    c.grMeter->setValue(0.0f);
    c.scMeter = b.add(new LevelMeter(controlRect::scMeter, &editor, kMeterTag));
    c.scMeter->setValue(0.0f);

    auto* scale = new CScala(&editor, controlRect::meterScale, kParamMeterScale);
    scale->setValue(host.getParameter(kParamMeterScale));
    c.parameterControl[kParamMeterScale] = scale;
    c.meterScale = b.add(scale);

    // The graph carries the Meter Scale's tag, as it always has; it takes no input.
    c.transferGraph =
        b.add(new CTransferFunction(controlRect::transferGraph, &editor, kParamMeterScale));
    c.releaseLampLeft = b.lamp(controlRect::releaseLampLeft, kImageLampLeft);
    c.releaseLampRight = b.lamp(controlRect::releaseLampRight, kImageLampRight);
    return c;
}
