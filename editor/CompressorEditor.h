#pragma once

#include "editor/EditorHost.h"
#include "editor/EditorLayout.h"
#include "editor/EditorMenu.h"
#include "editor/EditorScale.h"
#include "editor/EditorServices.h"
#include "editor/EffectEditor.h"
#include "editor/MeterBallistics.h"

#include "views/CBitmap.h"
#include "views/CControlObserver.h"
#include "views/CFrame.h"
#include "views/FrameEditorLink.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>

// The plug-in's editor: builds the window content on open, keeps the controls in step with
// the effect's parameters both ways, dims readouts whose parameter has no effect, and drives
// the meters and release lamps from the effect's readouts on idle.
//
// Threads: everything that touches views runs on the thread that called open (the host's
// user-interface thread). setParameter and setHostScale may come from any thread (host automation
// often arrives on the audio thread); a change from another thread only raises the parameter's bit
// in an atomic word, and the next idle applies the marked parameters on the editor's thread.
// Values are read fresh from the effect when applied, so coalescing repeated changes of one
// parameter loses nothing, and no view is ever touched from two threads.
class CompressorEditor final : public EffectEditor,
                               public FrameEditorLink,
                               public CControlObserver {
  public:
    // A meter tick needs more than this since the previous one.
    static constexpr uint32_t kMeterIntervalMs = 20;

    CompressorEditor(EditorHost& host, EditorServices services);
    ~CompressorEditor() override;
    CompressorEditor(const CompressorEditor&) = delete;
    CompressorEditor& operator=(const CompressorEditor&) = delete;

    // EffectEditor.
    int width() const override;
    int height() const override;
    // Builds the frame and its views in `parentWindow`; false, and closed, when the window
    // cannot be made. Opening while open moves the editor to the new parent.
    bool open(void* parentWindow) override;
    void close() override;
    void idle() override;
    bool onKeyDown(int character, int virtualKey, int modifiers) override;
    bool onKeyUp(int character, int virtualKey, int modifiers) override;
    void setKnobMode(int mode) override;
    void setParameter(int index, float value) override;
    void setHostScale(double factor) override;

    // FrameEditorLink.
    void beginEdit(int32_t tag) override;
    void endEdit(int32_t tag) override;
    int32_t getKnobMode() const override;
    // A meter update while a mouse handler holds the event loop.
    void idleWhileTracking() override;
    // A right press on the background opens the menu of sizes and programs.
    bool backgroundPressed(CPoint where, int32_t buttons) override;
    void displayScaleChanged() override;

    // CControlObserver.
    void valueChanged(CControl* control) override;
    void editBegun(CControl*) override {}
    void editEnded(CControl*) override {}
    int32_t modifierClicked(CControl*, int32_t) override { return 0; }

    bool isOpen() const { return frame_.get() != nullptr; }
    // The frame and views while open (for the snapshot tool and tests).
    CFrame* getFrame() const { return frame_.get(); }
    const EditorControls& controls() const { return controls_; }
    const MeterBallistics& meterState() const { return meters_; }
    // The display scale in percent: the open frame's, or what an editor opened now would use.
    int32_t scalePercent() const;
    // The menu of sizes and programs while it is shown, else null.
    EditorMenu* editorMenu() const;
    // As if the user picked `choice` from the menu: kept in the settings file and applied.
    void chooseScale(EditorMenu::Choice choice);

  private:
    int32_t chosenScalePercent(void* parentWindow, std::optional<int32_t> userScale) const;
    void applyScale(int32_t percent);
    void applyParameter(int index);
    void applyPendingParameters();
    void refreshTextDimming();
    void updateMeters();
    bool isEditorThread() const;

    EditorHost& host_;
    EditorServices services_;
    SharedRef<CBitmap> backgroundBitmap_;
    SharedRef<CFrame> frame_;
    SharedRef<EditorMenu> editorMenu_;
    void* parentWindow_ = nullptr;
    // The host's scale may be announced on any thread; the editor's thread applies it.
    std::atomic<double> hostScale_{0.0};
    std::atomic<bool> hostScaleChanged_{false};
    // The user's choice of scale as read at open or made in the menu; nothing: "Automatic".
    std::optional<int32_t> userScale_;
    EditorControls controls_;
    MeterBallistics meters_;
    uint32_t lastMeterTick_;
    std::atomic<std::thread::id> editorThread_{};
    std::atomic<uint32_t> pendingParameters_{0};
};

// The compressor's editor for `host`, with the services the caller assembled (the system's in a
// host, stand-ins in tests and tools).
std::unique_ptr<EffectEditor> createCompressorEditor(EditorHost& host, EditorServices services);
