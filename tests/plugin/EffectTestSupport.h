#pragma once

#include "editor/EditorHost.h"
#include "editor/EffectEditor.h"
#include "formats/vst2/Vst2Dispatcher.h"
#include "formats/vst2/Vst2Plugin.h"
#include "plugin/CompressorEffect.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

// One thing that happened around the effect, in the order it happened: a change the editor
// heard of or a call to the host.
struct Event {
    enum Source { editor, host } source;
    int opcodeOrZero; // the host opcode; 0 for editor notifications
    int index;
    float value;

    bool operator==(const Event& other) const {
        return source == other.source && opcodeOrZero == other.opcodeOrZero &&
               index == other.index && value == other.value;
    }
};

inline void PrintTo(const Event& e, std::ostream* os) {
    *os << (e.source == Event::editor ? "editor" : "host opcode ")
        << (e.source == Event::editor ? std::string() : std::to_string(e.opcodeOrZero)) << " ("
        << e.index << ", " << e.value << ")";
}

inline Event editorEvent(int index, float value) {
    return {Event::editor, 0, index, value};
}
inline Event hostEvent(int opcode, int index, float value) {
    return {Event::host, opcode, index, value};
}

// Stands in for the real editor and records the changes it hears of.
class RecordingEditor final : public EffectEditor {
  public:
    RecordingEditor(std::vector<Event>& log, EditorHost& editorHost)
        : host(editorHost), log_(log) {}

    int width() const override { return 690; }
    int height() const override { return 270; }
    bool open(void* parentWindow) override {
        openedWith = parentWindow;
        return true;
    }
    void close() override { ++closeCount; }
    void idle() override { ++idleCount; }
    bool onKeyDown(int character, int virtualKey, int modifiers) override {
        lastKey = {character, virtualKey, modifiers};
        return true;
    }
    bool onKeyUp(int character, int virtualKey, int modifiers) override {
        lastKey = {-character, virtualKey, modifiers};
        return false;
    }
    void setKnobMode(int mode) override { knobMode = mode; }
    void setHostScale(double factor) override { hostScales.push_back(factor); }
    void setParameter(int index, float value) override {
        log_.push_back(editorEvent(index, value));
    }

    EditorHost& host; // as the editor was given it
    void* openedWith = nullptr;
    int closeCount = 0;
    int idleCount = 0;
    struct Key {
        int character, virtualKey, modifiers;
    } lastKey{0, 0, 0};
    int knobMode = -1;
    std::vector<double> hostScales;

  private:
    std::vector<Event>& log_;
};

// An effect as a host sees it through its VST2 adapter, with a recording editor (or none) and
// a recording host callback writing into one shared log, so the order between editor and host
// is visible.
class EffectHarness {
  public:
    explicit EffectHarness(bool withEditor = true)
        : plugin(hostCallback, withEditor ? makeEditorFactory() : EditorBinding::EditorFactory{}),
          effect(plugin.effect()) {
        plugin.record()->resvd1 = reinterpret_cast<intptr_t>(&log);
    }

    RecordingEditor* editor() { return static_cast<RecordingEditor*>(plugin.editor()); }

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f) {
        return dispatchRequest(plugin, opcode, index, value, ptr, opt);
    }

    std::string text(int32_t opcode, int32_t index) {
        char buffer[64] = {};
        dispatch(opcode, index, 0, buffer);
        return buffer;
    }

    std::vector<Event> log;
    Vst2Plugin plugin;
    CompressorEffect& effect;

  private:
    EditorBinding::EditorFactory makeEditorFactory() {
        return [this](EditorHost& host) { return std::make_unique<RecordingEditor>(log, host); };
    }

    static intptr_t VST2_CALL hostCallback(vst2::AEffect* record, int32_t opcode, int32_t index,
                                           intptr_t, void*, float opt) {
        if (record && record->resvd1)
            reinterpret_cast<std::vector<Event>*>(record->resvd1)
                ->push_back(hostEvent(opcode, index, opt));
        return 0;
    }
};
