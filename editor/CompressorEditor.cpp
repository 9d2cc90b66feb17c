#include "editor/CompressorEditor.h"

#include "editor/TextDimming.h"

#include "plugin/ParameterCurves.h"
#include "views/CMovieBitmap.h"
#include "views/CParamDisplay.h"
#include "views/DeviceScale.h"
#include "views/InputTypes.h"
#include "widgets/CCompMeter.h"
#include "widgets/CScala.h"
#include "widgets/CTextKnob.h"
#include "widgets/CTransferFunction.h"
#include "widgets/LevelMeter.h"

#include <array>
#include <cmath>
#include <limits>

namespace {

// The host's knob mode is one setting for the whole process, shared by every instance.
std::atomic<int32_t> knobMode{kLinearMode};

constexpr uint32_t parameterBit(int index) {
    return 1u << index;
}
static_assert(kNumParameters <= 32, "one bit per parameter in the handover word");

// The graph draws the dry path's attenuation, the dry level negated (0 - keeps a zero
// positive).
double dryAttenuationDb(float dryMix) {
    return 0.0 - curve::dryMixDb(static_cast<double>(dryMix));
}

} // namespace

std::unique_ptr<EffectEditor> createCompressorEditor(EditorHost& host, EditorServices services) {
    return std::make_unique<CompressorEditor>(host, std::move(services));
}

CompressorEditor::CompressorEditor(EditorHost& host, EditorServices services)
    : host_(host), services_(std::move(services)),
      backgroundBitmap_(SharedRef<CBitmap>::adopt(new CBitmap(kImageBackground))),
      lastMeterTick_(services_.tickMs()) {}

CompressorEditor::~CompressorEditor() {
    close();
}

bool CompressorEditor::open(void* parentWindow) {
    close();
    editorThread_.store(std::this_thread::get_id());
    // Everything is read anew below, so changes announced until now are already covered.
    pendingParameters_.store(0);
    hostScaleChanged_.store(false);

    parentWindow_ = parentWindow;
    userScale_ = readScaleSetting(services_.settingsFile);
    auto frame =
        SharedRef<CFrame>::adopt(new CFrame({0, 0, kEditorWidthPx, kEditorHeightPx}, this));
    frame->setScale(chosenScalePercent(parentWindow, userScale_) / 100.0);
    if (!services_.openWindow || !services_.openWindow(*frame, parentWindow)) return false;
    frame->setBackground(backgroundBitmap_.get());
    frame_ = frame;
    controls_ = buildEditorViews(*frame_, *this, host_, services_.openUrl);

    CTransferFunction& graph = *controls_.transferGraph;
    const float threshold = host_.getParameter(kParamThreshold);
    graph.kneeDb = curve::kneeDb(static_cast<double>(host_.getParameter(kParamKnee)));
    graph.thresholdDb = curve::thresholdDb(static_cast<double>(threshold));
    graph.setRatioFromParameter(host_.getParameter(kParamRatio));
    graph.dryAttenuationDb = dryAttenuationDb(host_.getParameter(kParamDryMix));
    graph.setMakeUpFromParameter(host_.getParameter(kParamMakeUpGain));
    controls_.scMeter->thresholdDb = curve::thresholdDb(threshold);

    refreshTextDimming();
    graph.setDirty(true);
    return true;
}

void CompressorEditor::close() {
    if (!frame_) return;
    // The frame releases every view; the pointers to them go with it.
    frame_ = SharedRef<CFrame>();
    editorMenu_ = SharedRef<EditorMenu>();
    controls_ = EditorControls{};
}

int32_t CompressorEditor::chosenScalePercent(void* parentWindow,
                                             std::optional<int32_t> userScale) const {
    ScaleSources sources;
    sources.userPercent = userScale;
    sources.hostFactor = hostScale_.load();
    if (services_.desktopScale) sources.desktopFactors = services_.desktopScale(parentWindow);
    if (services_.screenArea) sources.screen = services_.screenArea(parentWindow);
    return chooseEditorScale(sources);
}

int32_t CompressorEditor::scalePercent() const {
    if (frame_) return int32_t(std::lround(frame_->getScale() * 100.0));
    return chosenScalePercent(nullptr, readScaleSetting(services_.settingsFile));
}

int CompressorEditor::width() const {
    return toDevicePixels(kEditorWidthPx, scalePercent() / 100.0);
}

int CompressorEditor::height() const {
    return toDevicePixels(kEditorHeightPx, scalePercent() / 100.0);
}

void CompressorEditor::applyScale(int32_t percent) {
    if (!frame_ || percent == scalePercent()) return;
    if (editorMenu()) frame_->setModalOverlay(nullptr);
    frame_->setScale(percent / 100.0);
    host_.resizeEditorWindow(width(), height());
}

void CompressorEditor::setHostScale(double factor) {
    hostScale_.store(factor);
    if (!isEditorThread()) {
        hostScaleChanged_.store(true);
        return;
    }
    applyScale(chosenScalePercent(parentWindow_, userScale_));
}

void CompressorEditor::displayScaleChanged() {
    applyScale(chosenScalePercent(parentWindow_, userScale_));
}

void CompressorEditor::chooseScale(EditorMenu::Choice choice) {
    userScale_ = choice;
    // Kept for the instances opened later; this one follows the choice even when the file
    // cannot be written.
    writeScaleSetting(services_.settingsFile, choice);
    applyScale(chosenScalePercent(parentWindow_, userScale_));
}

EditorMenu* CompressorEditor::editorMenu() const {
    return frame_ && editorMenu_ && frame_->getModalOverlay() == editorMenu_.get()
               ? editorMenu_.get()
               : nullptr;
}

bool CompressorEditor::backgroundPressed(CPoint where, int32_t buttons) {
    if (!frame_ || !(buttons & kButtonRight) || frame_->getModalOverlay()) return false;
    EditorMenu::Programs programs;
    for (int p = 0; p < host_.programCount(); ++p) {
        const char* name = host_.programName(p);
        programs.names.emplace_back(name ? name : "");
    }
    programs.checked = host_.checkedProgram();
    programs.onChoice = [this](int program) { host_.chooseProgram(program); };
    editorMenu_ = SharedRef<EditorMenu>::adopt(new EditorMenu(
        frame_->getViewSize(), where, userScale_, chosenScalePercent(parentWindow_, std::nullopt),
        [this](EditorMenu::Choice choice) { chooseScale(choice); }, programs));
    return frame_->setPopupOverlay(editorMenu_.get());
}

bool CompressorEditor::isEditorThread() const {
    return std::this_thread::get_id() == editorThread_.load();
}

void CompressorEditor::setParameter(int index, float) {
    if (!isEditorParameter(index)) return;
    if (!isEditorThread()) {
        pendingParameters_.fetch_or(parameterBit(index));
        return;
    }
    if (frame_) applyParameter(index);
}

void CompressorEditor::applyPendingParameters() {
    const uint32_t pending = pendingParameters_.exchange(0);
    for (int index = 0; index < kNumParameters; ++index)
        if (pending & parameterBit(index)) applyParameter(index);
}

void CompressorEditor::applyParameter(int index) {
    const auto p = [&] { return host_.getParameter(index); };
    if (CControl* control = controls_.parameterControl[std::size_t(index)]) control->setValue(p());
    if (CParamDisplay* readout = controls_.parameterReadout[std::size_t(index)])
        readout->setValue(p());

    CTransferFunction& graph = *controls_.transferGraph;
    switch (index) {
    case kParamThreshold:
        graph.thresholdDb = curve::thresholdDb(static_cast<double>(p()));
        controls_.scMeter->thresholdDb = curve::thresholdDb(p());
        meters_.grHoldDb = 0.0f;
        break;
    case kParamKnee:
        graph.kneeDb = curve::kneeDb(static_cast<double>(p()));
        break;
    case kParamRatio:
        graph.setRatioFromParameter(p());
        meters_.grHoldDb = 0.0f;
        break;
    case kParamDryMix:
        graph.dryAttenuationDb = dryAttenuationDb(p());
        break;
    case kParamMakeUpGain:
        graph.setMakeUpFromParameter(p());
        break;
    case kParamScFilterType:
    case kParamRelease:
    case kParamReleaseSlow:
    case kParamHfHarmonics:
    case kParamLfHarmonics:
    case kParamDelta:
    case kParamBypass:
    case kParamScPreview:
        refreshTextDimming();
        return;
    default:
        return;
    }
    // Only the five parameters that shape the curve get here.
    graph.setDirty(true);
    controls_.scMeter->setDirty(true);
}

void CompressorEditor::refreshTextDimming() {
    DimmingInputs in;
    in.bypass = host_.getParameter(kParamBypass);
    in.delta = host_.getParameter(kParamDelta);
    in.scPreview = host_.getParameter(kParamScPreview);
    in.scFilterType = host_.getParameter(kParamScFilterType);
    in.lfHarmonics = host_.getParameter(kParamLfHarmonics);
    in.hfHarmonics = host_.getParameter(kParamHfHarmonics);
    in.release = host_.getParameter(kParamRelease);
    in.releaseSlow = host_.getParameter(kParamReleaseSlow);
    const DimmedTexts dim = dimmedTexts(in);
    const auto colour = [&](DimmableText text) { return dim.test(text) ? kTextDim : kTextNormal; };

    // In DimmableText order: nine readouts, then the three text knobs.
    const std::array<CParamDisplay*, 9> readouts{
        controls_.thresholdDisplay, controls_.ratioDisplay,        controls_.makeUpDisplay,
        controls_.dryMixDisplay,    controls_.kneeDisplay,         controls_.attackDisplay,
        controls_.releaseDisplay,   controls_.scFilterFreqDisplay, controls_.releaseSlowDisplay};
    const std::array<CTextKnob*, 3> textKnobs{controls_.lfAmountKnob, controls_.hfAmountKnob,
                                              controls_.detectionKnob};
    for (std::size_t i = 0; i < readouts.size(); ++i)
        readouts[i]->setFontColor(colour(DimmableText(i)));
    for (std::size_t i = 0; i < textKnobs.size(); ++i)
        textKnobs[i]->setFontColor(colour(DimmableText(readouts.size() + i)));

    controls_.transferGraph->setDirty(true);
    controls_.scMeter->setDirty(true);
}

void CompressorEditor::idle() {
    if (!frame_) return;
    if (hostScaleChanged_.exchange(false))
        applyScale(chosenScalePercent(parentWindow_, userScale_));
    applyPendingParameters();
    updateMeters();
    frame_->idle();
}

void CompressorEditor::idleWhileTracking() {
    // Only the meters: the handler that asks runs inside the frame's own event pump, and a
    // queued host change applied now could overwrite the value the handler is about to report.
    if (frame_) updateMeters();
}

void CompressorEditor::updateMeters() {
    const uint32_t now = services_.tickMs();
    // Unsigned difference: right across the counter's wrap.
    const uint32_t elapsedMs = now - lastMeterTick_;
    if (elapsedMs <= kMeterIntervalMs) return;
    lastMeterTick_ = now;

    const MeterSnapshot snapshot = host_.meters();
    MeterReadings in;
    in.gain = snapshot.gain;
    in.levelADb = snapshot.levelA;
    in.levelBDb = snapshot.levelB;
    in.active = snapshot.processingActive && !isOn(host_.getParameter(kParamScPreview));

    const float g = gainReductionDb(in.gain);
    const float h = meterScaleFactor(controls_.meterScale->getValue());
    controls_.grMeter->setValue(h * g);
    meters_.update(in, g, elapsedMs);
    controls_.grMeter->holdValue = double{meters_.grHoldDb} * h;
    controls_.grMeter->setDirty(true);
    controls_.scMeter->setValue(meters_.levelADisplayDb);
    controls_.scMeter->secondLevelDb = meters_.levelBDisplayDb;

    const ReleaseLamps lamps =
        releaseLamps(g, in.levelADb, in.levelBDb, host_.getParameter(kParamRelease),
                     host_.getParameter(kParamReleaseSlow));
    controls_.releaseLampLeft->setValue(lamps.left ? 1.0f : 0.0f);
    controls_.releaseLampRight->setValue(lamps.right ? 1.0f : 0.0f);
}

namespace {
// Host key codes that do not fit the framework's byte are no keys the editor knows.
bool toKeyCode(int character, int virtualKey, int modifiers, CKeyCode& key) {
    if (virtualKey < 0 || virtualKey > std::numeric_limits<uint8_t>::max()) return false;
    key = CKeyCode{character, uint8_t(virtualKey), uint8_t(modifiers)};
    return true;
}
} // namespace

bool CompressorEditor::onKeyDown(int character, int virtualKey, int modifiers) {
    CKeyCode key;
    return frame_ && toKeyCode(character, virtualKey, modifiers, key) &&
           frame_->onKeyDown(key) == kKeyUsed;
}

bool CompressorEditor::onKeyUp(int character, int virtualKey, int modifiers) {
    CKeyCode key;
    return frame_ && toKeyCode(character, virtualKey, modifiers, key) &&
           frame_->onKeyUp(key) == kKeyUsed;
}

void CompressorEditor::setKnobMode(int mode) {
    knobMode.store(mode);
}

int32_t CompressorEditor::getKnobMode() const {
    return knobMode.load();
}

void CompressorEditor::valueChanged(CControl* control) {
    if (!control || !isEditorParameter(control->getTag())) return;
    host_.setParameterAutomated(control->getTag(), control->getValue());
    control->setDirty(true);
}

void CompressorEditor::beginEdit(int32_t tag) {
    if (isEditorParameter(tag)) host_.beginEdit(tag);
}

void CompressorEditor::endEdit(int32_t tag) {
    if (isEditorParameter(tag)) host_.endEdit(tag);
}
