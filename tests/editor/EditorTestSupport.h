#pragma once

#include "editor/CompressorEditor.h"
#include "editor/EditorHost.h"

#include "views/CFrame.h"
#include "views/FrameWindow.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One call the editor made on its host.
struct HostCallRecord {
    enum Kind { kAutomate, kBeginEdit, kEndEdit } kind;
    int index;
    float value;
    bool operator==(const HostCallRecord& o) const {
        return kind == o.kind && index == o.index && value == o.value;
    }
};

// Stands in for the effect: its parameters, the meter readings, and the effect's order
// for an automated change (store, tell the editor, then the host).
class FakeEditorHost : public EditorHost {
  public:
    FakeEditorHost();

    float getParameter(int index) override;
    MeterSnapshot meters() override;
    void setParameterAutomated(int index, float value) override;
    void beginEdit(int index) override;
    void endEdit(int index) override;

    // A change from the host side: stored, then the editor (if any) hears of it.
    void set(int index, float value);
    // What the audio reports, as the meters read it.
    void setMeterLevels(float gain, float levelADb, float levelBDb);
    void setProcessingActive(bool active);

    EffectEditor* editor = nullptr;
    std::vector<HostCallRecord> calls;
    int automationCount(int index) const;

  private:
    std::array<std::atomic<float>, kNumParameters> parameters_;
    std::atomic<float> gain_{1.0f};
    std::atomic<float> levelA_{-80.0f};
    std::atomic<float> levelB_{-80.0f};
    std::atomic<bool> processingActive_{true};
};

// A system window that shows nothing and counts what it is asked to show.
class FakeFrameWindow : public FrameWindow {
  public:
    explicit FakeFrameWindow(int* presents) : presents_(presents) {}
    void pumpEvents() override {}
    void present(const CBitmap&, const CRect&) override { ++*presents_; }

  private:
    int* presents_;
};

// An editor with a hand-driven clock, a recording browser and a windowless frame, opened
// on a host whose every parameter is 0 unless a test sets it first.
class EditorFixture {
  public:
    EditorFixture();

    bool open();
    // Advances the clock and idles once.
    void idleAfter(uint32_t ms);
    // A press and release at `where` with `buttons`, as the window delivers them.
    CMouseResult click(CPoint where, int32_t buttons = kButtonLeft);
    // A press at `from`, moves by (dx, dy) in one step, and the release.
    void drag(CPoint from, int32_t dx, int32_t dy, int32_t buttons = kButtonLeft);

    CFrame& frame() { return *editor->getFrame(); }
    const EditorControls& views() { return editor->controls(); }

    FakeEditorHost host;
    uint32_t nowMs = 1000;
    std::vector<std::string> openedUrls;
    int presents = 0;
    std::unique_ptr<CompressorEditor> editor;
};

// A parent window value that the fixture accepts (any non-null pointer).
void* fakeParentWindow();
// The text a text function writes for `value`.
std::string textOf(void (*function)(float, char*), float value);
