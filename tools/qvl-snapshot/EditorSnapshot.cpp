#include "EditorSnapshot.h"

#include "FileReplacement.h"

#include "editor/CompressorEditor.h"
#include "platform/PngFile.h"
#include "platform/SystemViewPlatform.h"
#include "plugin/CompressorEffect.h"
#include "views/FrameSnapshot.h"

#include <cmath>
#include <filesystem>
#include <memory>

namespace {

// Parameters from the effect, meter readings from the command line, as if audio ran.
class SnapshotHost : public EditorHost {
  public:
    SnapshotHost(CompressorEffect& effect, const SnapshotOptions& o) : effect_(effect) {
        meters_.gain = static_cast<float>(std::pow(10.0, -o.gainReductionDb / 20.0));
        meters_.levelA = o.levelADb;
        meters_.levelB = o.levelBDb;
        meters_.processingActive = true;
    }

    float getParameter(int index) override { return effect_.getParameter(index); }
    MeterSnapshot meters() override { return meters_; }
    void setParameterAutomated(int index, float value) override {
        effect_.setParameterAutomated(index, value);
    }
    void beginEdit(int) override {}
    void endEdit(int) override {}

  private:
    CompressorEffect& effect_;
    MeterSnapshot meters_;
};

// A window that shows nothing: the picture is taken from the frame itself.
class NoWindow : public FrameWindow {
  public:
    void pumpEvents() override {}
    void present(const CBitmap&, const CRect&) override {}
};

} // namespace

SharedRef<CBitmap> renderEditorSnapshot(const SnapshotOptions& options) {
    // The editor drawn here reads the effect through SnapshotHost.
    CompressorEffect effect(nullptr);
    effect.setProgram(options.program);
    for (const auto& [index, value] : options.parameters)
        effect.setParameter(index, value);

    // Drawn, and its artwork read, with the system's drawing library, as in a host.
    useViewPlatform(systemViewPlatform());
    SnapshotHost host(effect, options);
    uint32_t nowMs = 0;
    EditorServices services;
    services.tickMs = [&nowMs] { return nowMs; };
    services.openWindow = [](CFrame& frame, void*) {
        return frame.attachWindow(std::make_unique<NoWindow>());
    };
    CompressorEditor editor(host, std::move(services));
    // Drawn as a host that announces the scale would have it.
    editor.setHostScale(options.scalePercent / 100.0);
    if (!editor.open(nullptr)) return {};
    // One meter tick: the levels and the hold jump to the readings.
    nowMs += CompressorEditor::kMeterIntervalMs + 1;
    editor.idle();

    return renderFrame(*editor.getFrame());
}

std::string writeEditorSnapshot(const SnapshotOptions& options) {
    namespace fs = std::filesystem;
    const std::string& path = options.outputPath;
    std::error_code error;
    if (!options.overwrite && fs::exists(fs::symlink_status(path, error)))
        return "not writing " + path + ": the file exists; --overwrite replaces it";
    const SharedRef<CBitmap> picture = renderEditorSnapshot(options);
    if (!picture) return "the editor could not be opened";
    std::string failure = "cannot write " + path;
    if (!writeFileWhole(
            path, [&](const std::string& temporary) { return writeBitmapPng(*picture, temporary); },
            failure))
        return failure;
    return {};
}
