#pragma once

#include "formats/clap/ClapEditorGui.h"
#include "formats/clap/EditorChangeQueue.h"
#include "formats/common/EditorBinding.h"
#include "formats/common/HostKeySpan.h"
#include "formats/common/HostValueMirror.h"
#include "plugin/CompressorEffect.h"
#include "plugin/EffectHost.h"

#include <clap/ext/params.h>
#include <clap/ext/thread-check.h>
#include <clap/plugin.h>
#include <clap/stream.h>

#include <atomic>

// One instance as a CLAP host sees it: the plug-in record the host holds, the effect and its
// editor, and the answers only this format needs (lifecycle, sample-accurate events, output events
// that keep the host's controls true). The record's functions (ClapPluginRecord.cpp) forward to it.
class ClapPlugin final : public EffectHost {
  public:
    // The input port that takes the key, after the main one.
    static constexpr uint32_t kKeyPort = 1;

    ClapPlugin(const clap_host_t* host, const clap_plugin_descriptor_t* descriptor,
               const EditorBinding::EditorFactory& makeEditor);
    ClapPlugin(const ClapPlugin&) = delete;
    ClapPlugin& operator=(const ClapPlugin&) = delete;

    const clap_plugin_t* record() const { return &record_; }
    static ClapPlugin* fromRecord(const clap_plugin_t* record);

    // Lifecycle. activate refuses a second activation and rates no audio device runs at.
    bool init();
    bool activate(double sampleRateHz, uint32_t maxFrames);
    void deactivate();
    void reset();
    clap_process_status process(const clap_process_t& process);

    // Parameters.
    bool paramValue(clap_id id, double* value);
    void flush(const clap_input_events_t* in, const clap_output_events_t* out);

    // State.
    bool save(const clap_ostream_t* stream);
    bool load(const clap_istream_t* stream);

    ClapEditorGui& gui() { return gui_; }
    // True unless the host says the caller is not on its main thread.
    bool onMainThread() const;

    // The editor's changes, passed on to the host as output events.
    void automate(int index, float value) override;
    void beginEdit(int index) override;
    void endEdit(int index) override;
    bool resizeEditorWindow(int width, int height) override;

  private:
    void applyEvent(const clap_event_header_t& header);
    // Tells the host of every change it has not heard of yet: the editor's (in order, with
    // their gestures) and the ones the effect made by itself.
    void reportEditorChanges(const clap_output_events_t* out);
    void reportOwnChanges(const clap_output_events_t* out, uint32_t time);
    void queueEditorChange(const EditorChangeQueue::Change& change);

    clap_plugin_t record_;
    const clap_host_t* host_;
    const clap_host_params_t* hostParams_ = nullptr;
    const clap_host_thread_check_t* hostThreadCheck_ = nullptr;
    std::atomic<bool> active_{false};
    EditorChangeQueue editorChanges_;
    CompressorEffect effect_;
    // Only process and flush report through it.
    HostValueMirror hostValues_;
    // Declared after the effect, so they are destroyed first: the window closes, then the
    // editor goes, while the effect is whole.
    EditorBinding editor_;
    ClapEditorGui gui_;
};

// Allocates an instance for a host, with the editor `makeEditor` makes (none when empty); null
// when memory runs out.
ClapPlugin* createClapPlugin(const clap_host_t* host, const clap_plugin_descriptor_t* descriptor,
                             const EditorBinding::EditorFactory& makeEditor);
