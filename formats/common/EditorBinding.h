#pragma once

#include "editor/EditorHost.h"
#include "editor/EffectEditor.h"
#include "plugin/CompressorEffect.h"
#include "plugin/EffectHost.h"
#include "plugin/EffectListener.h"

#include <functional>
#include <memory>

// The editor a format adapter keeps beside its effect, from the adapter's construction to its
// end: the editor reads and changes the effect through this binding, its window requests go
// to the adapter's EffectHost, and every change the effect stores reaches the editor, whether
// its window is open or not.
class EditorBinding final : public EditorHost, public EffectListener {
  public:
    using EditorFactory = std::function<std::unique_ptr<EffectEditor>(EditorHost&)>;

    // An empty factory makes no editor: editor() is then null.
    EditorBinding(CompressorEffect& effect, EffectHost& host, const EditorFactory& makeEditor);
    ~EditorBinding();
    EditorBinding(const EditorBinding&) = delete;
    EditorBinding& operator=(const EditorBinding&) = delete;

    EffectEditor* editor() { return editor_.get(); }

    // EditorHost
    float getParameter(int index) override { return effect_.getParameter(index); }
    MeterSnapshot meters() override { return effect_.meters(); }
    void setParameterAutomated(int index, float value) override {
        effect_.setParameterAutomated(index, value);
    }
    void beginEdit(int index) override { effect_.beginEdit(index); }
    void endEdit(int index) override { effect_.endEdit(index); }
    bool resizeEditorWindow(int width, int height) override {
        return host_.resizeEditorWindow(width, height);
    }
    int programCount() const override { return effect_.programCount(); }
    const char* programName(int index) const override { return effect_.programName(index); }
    int checkedProgram() override { return effect_.checkedProgram(); }
    void chooseProgram(int index) override { effect_.chooseProgram(index); }

    // EffectListener
    void parameterChanged(int index, float value) override;

  private:
    CompressorEffect& effect_;
    EffectHost& host_;
    std::unique_ptr<EffectEditor> editor_;
};
