#include "formats/vst2/Vst2Plugin.h"

#include "ProductIdentity.h"
#include "formats/vst2/EffectRecord.h"
#include "formats/vst2/Vst2Readouts.h"
#include "plugin/ParameterTable.h"

#include <new>

Vst2Plugin::Vst2Plugin(vst2::HostCallback audioMaster,
                       const EditorBinding::EditorFactory& makeEditor)
    : audioMaster_(audioMaster), effect_(this), editor_(effect_, *this, makeEditor) {
    bindEffectRecord(record_, *this);
    record_.numPrograms = kNumPrograms;
    record_.numParams = kNumVst2Slots;
    record_.numInputs = 2;
    record_.numOutputs = 2;
    record_.uniqueID = kVst2UniqueId;
    record_.version = 1;
    record_.ioRatio = 1.0f;
    if (editor()) record_.flags |= vst2::effFlagsHasEditor;
    record_.flags |= vst2::effFlagsCanReplacing | vst2::effFlagsCanDoubleReplacing;
}

Vst2Plugin* Vst2Plugin::fromRecord(vst2::AEffect* record) {
    return record ? static_cast<Vst2Plugin*>(record->object) : nullptr;
}

float Vst2Plugin::getParameter(int index) {
    return isVst2Slot(index) ? effect_.getParameter(index) : readoutValue(effect_.meters(), index);
}

void Vst2Plugin::resume() {
    record_.initialDelay = CompressorEffect::kLatencySamples;
    effect_.resume();
}

vst2::ERect* Vst2Plugin::editorRect() {
    EffectEditor* editor = editor_.editor();
    if (!editor) return nullptr;
    editorRect_ = vst2::ERect{0, 0, static_cast<int16_t>(editor->height()),
                              static_cast<int16_t>(editor->width())};
    return &editorRect_;
}

intptr_t Vst2Plugin::callHost(int32_t opcode, int32_t index, intptr_t value, float opt) {
    return audioMaster_ ? audioMaster_(&record_, opcode, index, value, nullptr, opt) : 0;
}

void Vst2Plugin::automate(int index, float value) {
    callHost(vst2::audioMasterAutomate, index, 0, value);
}

void Vst2Plugin::beginEdit(int index) {
    callHost(vst2::audioMasterBeginEdit, index, 0, 0.0f);
}

void Vst2Plugin::endEdit(int index) {
    callHost(vst2::audioMasterEndEdit, index, 0, 0.0f);
}

bool Vst2Plugin::resizeEditorWindow(int width, int height) {
    return callHost(vst2::audioMasterSizeWindow, width, height, 0.0f) != 0;
}

void Vst2Plugin::programChanged() {
    callHost(vst2::audioMasterUpdateDisplay, 0, 0, 0.0f);
}

Vst2Plugin* createVst2Plugin(vst2::HostCallback audioMaster,
                             const EditorBinding::EditorFactory& makeEditor) {
    try {
        return new Vst2Plugin(audioMaster, makeEditor);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
