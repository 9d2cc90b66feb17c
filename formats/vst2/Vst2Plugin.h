#pragma once

#include "formats/common/EditorBinding.h"
#include "formats/vst2/Vst2Interface.h"
#include "plugin/CompressorEffect.h"
#include "plugin/EffectHost.h"

// The effect as a VST 2.4 host sees it: the record the host holds, the host's callback, the
// editor, and the answers that exist only in this format (identity, latency report, meter
// readouts, editor rectangle). Everything else is the effect's own.
class Vst2Plugin final : public EffectHost {
  public:
    // The editor exists from here on, so it follows every change while its window is closed.
    Vst2Plugin(vst2::HostCallback audioMaster, const EditorBinding::EditorFactory& makeEditor);
    Vst2Plugin(const Vst2Plugin&) = delete;
    Vst2Plugin& operator=(const Vst2Plugin&) = delete;

    vst2::AEffect* record() { return &record_; }
    static Vst2Plugin* fromRecord(vst2::AEffect* record);
    CompressorEffect& effect() { return effect_; }
    // Null when the module was built without an editor.
    EffectEditor* editor() { return editor_.editor(); }
    // The parameters 0..20, the meter readouts 500..506 (Vst2Readouts.h); 0 for anything else.
    float getParameter(int index);

    // The latency is reported from the first resume on, as the host then reads it.
    void resume();
    void suspend() { effect_.suspend(); }
    // The editor's size as the host reads it; null without an editor.
    vst2::ERect* editorRect();

    void automate(int index, float value) override;
    void beginEdit(int index) override;
    void endEdit(int index) override;
    bool resizeEditorWindow(int width, int height) override;
    // A program chosen in the editor is a program change, as if the host had sent it; hosts
    // read the new current program and values when told to update their display. Changes of
    // each parameter would be recorded as automation instead.
    bool listsPrograms() const override { return true; }
    void programChanged() override;

  private:
    intptr_t callHost(int32_t opcode, int32_t index, intptr_t value, float opt);

    vst2::AEffect record_{};
    vst2::HostCallback audioMaster_;
    vst2::ERect editorRect_{};
    // Declared last so they are destroyed first, while the record they may still reach is
    // whole; the editor goes before the effect it reads.
    CompressorEffect effect_;
    EditorBinding editor_;
};

// Allocates the plug-in for a host, with the editor `makeEditor` makes (none when empty); null
// when memory runs out.
Vst2Plugin* createVst2Plugin(vst2::HostCallback audioMaster,
                             const EditorBinding::EditorFactory& makeEditor);
