#include "formats/common/EditorBinding.h"

EditorBinding::EditorBinding(CompressorEffect& effect, EffectHost& host,
                             const EditorFactory& makeEditor)
    : effect_(effect), host_(host) {
    if (!makeEditor) return;
    editor_ = makeEditor(*this);
    effect_.setListener(this);
}

// The listener goes first, so no change reaches an editor that is being destroyed; the editor
// may still read and change parameters as it closes.
EditorBinding::~EditorBinding() {
    effect_.setListener(nullptr);
}

void EditorBinding::parameterChanged(int index, float value) {
    editor_->setParameter(index, value);
}
