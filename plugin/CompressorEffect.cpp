#include "plugin/CompressorEffect.h"

#include "plugin/vst2/EffectRecord.h"

#include <cmath>
#include <cstring>
#include <new>

namespace {

// Hosts may send anything; a stored value must stay a number the curves can take. Finite
// values are kept as sent, since saved sessions read them back unchanged.
float storableValue(float value) {
    if (std::isnan(value)) return 0.0f;
    if (std::isinf(value)) return value > 0.0f ? 1.0f : 0.0f;
    return value;
}

} // namespace

CompressorEffect::CompressorEffect(vst2::HostCallback audioMaster, const EditorFactory& makeEditor)
    : audioMaster_(audioMaster), engine_(std::make_unique<DynamicsEngine>()) {
    bindEffectRecord(record_, *this);
    record_.numPrograms = kNumPrograms;
    record_.numParams = kNumParameters;
    record_.numInputs = 2;
    record_.numOutputs = 2;
    record_.uniqueID = vst2::fourCharacters('s', 'K', 'b', 'd');
    record_.version = 1;
    record_.ioRatio = 1.0f;
    bypassDelay_.setLength(kLatencySamples);
    fillFactoryPrograms(programs_);
    setProgram(0);
    if (makeEditor) editor_ = makeEditor(*this);
    if (editor_) record_.flags |= vst2::effFlagsHasEditor;
    record_.flags |= vst2::effFlagsCanReplacing | vst2::effFlagsCanDoubleReplacing;
    meterValues_.reset();
    engine_->reset();
    processingActive_.store(0.0f, std::memory_order_relaxed);
}

CompressorEffect* CompressorEffect::fromRecord(vst2::AEffect* record) {
    return record ? static_cast<CompressorEffect*>(record->object) : nullptr;
}

void CompressorEffect::setSampleRate(float sampleRateHz) {
    if (!std::isfinite(sampleRateHz) || sampleRateHz <= 0.0f) return;
    sampleRateHz_.store(sampleRateHz, std::memory_order_relaxed);
    engine_->setSampleRate(static_cast<double>(sampleRateHz));
}

void CompressorEffect::resume() {
    record_.initialDelay = kLatencySamples;
    processingActive_.store(1.0f, std::memory_order_relaxed);
}

void CompressorEffect::suspend() {
    meterValues_.reset();
    engine_->reset();
    processingActive_.store(0.0f, std::memory_order_relaxed);
}

void CompressorEffect::setParameter(int index, float value) {
    if (!isParameterIndex(index)) return;
    const float v = storableValue(value);
    currentProgram().setValue(index, v);
    kParameters[index].engineUpdate(*engine_, v);

    // Delta, Bypass and SC Preview exclude one another. The secondary changes run through
    // this same path, so the editor hears of them before the change that caused them.
    switch (index) {
    case kDelta:
        deltaOn_.store(v == 1.0f, std::memory_order_relaxed);
        if (v == 1.0f) {
            setParameter(kBypass, 0.0f);
            setParameter(kScPreview, 0.0f);
        }
        break;
    case kBypass:
        bypassOn_.store(v == 1.0f, std::memory_order_relaxed);
        if (v == 1.0f) {
            setParameter(kScPreview, 0.0f);
            setParameter(kDelta, 0.0f);
        }
        break;
    case kScPreview:
        // The preview listens from 0.5 on, although the host text says "on" only at 1.
        if (v > 0.5f) {
            setParameter(kBypass, 0.0f);
            setParameter(kDelta, 0.0f);
        }
        break;
    default:
        break;
    }

    if (editor_) editor_->setParameter(index, v);
}

float CompressorEffect::getParameter(int index) {
    switch (index) {
    case kReadoutUnity:
        return 1.0f;
    case kReadoutGain:
        return static_cast<float>(meterValues_.gain.load(std::memory_order_relaxed));
    case kReadoutLevelB:
        return static_cast<float>(meterValues_.levelB.load(std::memory_order_relaxed));
    case kReadoutLevelA:
        return static_cast<float>(meterValues_.levelA.load(std::memory_order_relaxed));
    case kReadoutZeroFirst:
    case kReadoutZeroSecond:
        return 0.0f;
    case kReadoutProcessingActive:
        return processingActive_.load(std::memory_order_relaxed);
    default:
        return isParameterIndex(index) ? currentProgram().value(index) : 0.0f;
    }
}

void CompressorEffect::callHost(int32_t opcode, int32_t index, float opt) {
    if (audioMaster_) audioMaster_(&record_, opcode, index, 0, nullptr, opt);
}

void CompressorEffect::setParameterAutomated(int index, float value) {
    setParameter(index, value);
    callHost(vst2::audioMasterAutomate, index, value);
}

void CompressorEffect::beginEdit(int index) {
    callHost(vst2::audioMasterBeginEdit, index, 0.0f);
}

void CompressorEffect::endEdit(int index) {
    callHost(vst2::audioMasterEndEdit, index, 0.0f);
}

void CompressorEffect::setProgram(int index) {
    if (index < 0 || index >= kNumPrograms) return;
    curProgram_.store(index, std::memory_order_relaxed);
    // Each slot is read when its turn comes: an earlier slot may have switched it off.
    for (int i = 0; i < kNumParameters; ++i)
        setParameter(i, programs_[index].value(i));
}

void CompressorEffect::setProgramName(const char* text) {
    CompressorProgram& program = currentProgram();
    std::strncpy(program.name, text, CompressorProgram::kNameLength);
}

vst2::ERect* CompressorEffect::editorRect() {
    if (!editor_) return nullptr;
    editorRect_ = vst2::ERect{0, 0, static_cast<int16_t>(editor_->height()),
                              static_cast<int16_t>(editor_->width())};
    return &editorRect_;
}

CompressorEffect* createEffectInstance(vst2::HostCallback audioMaster) {
#if QVL_HAS_EDITOR
    const CompressorEffect::EditorFactory makeEditor = createCompressorEditor;
#else
    const CompressorEffect::EditorFactory makeEditor;
#endif
    try {
        return new CompressorEffect(audioMaster, makeEditor);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
