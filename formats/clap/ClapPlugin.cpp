#include "formats/clap/ClapPlugin.h"

#include "formats/clap/ClapParameters.h"
#include "formats/clap/ClapPluginRecord.h"
#include "plugin/StateRecord.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>

namespace {

// Rates from telephone audio to eight times 96 kHz; anything else is no audio device's.
constexpr double kLowestRateHz = 8000.0;
constexpr double kHighestRateHz = 768000.0;

bool isParamValue(const clap_event_header_t& header) {
    return header.space_id == CLAP_CORE_EVENT_SPACE_ID && header.type == CLAP_EVENT_PARAM_VALUE &&
           header.size >= sizeof(clap_event_param_value_t);
}

bool push(const clap_output_events_t* out, const clap_event_header_t& header) {
    return out && out->try_push && out->try_push(out, &header);
}

bool pushValue(const clap_output_events_t* out, uint32_t time, clap_id id, float normalized) {
    clap_event_param_value_t event{};
    event.header = {sizeof event, time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
    event.param_id = id;
    event.note_id = event.port_index = event.channel = event.key = -1;
    event.value = clapParams::toPlain(id, normalized);
    return push(out, event.header);
}

bool pushGesture(const clap_output_events_t* out, uint16_t type, clap_id id) {
    clap_event_param_gesture_t event{};
    event.header = {sizeof event, 0, CLAP_CORE_EVENT_SPACE_ID, type, 0};
    event.param_id = id;
    return push(out, event.header);
}

// Host streams may take or give fewer bytes than asked; they are called until done or failed.
bool writeAll(const clap_ostream_t* stream, const uint8_t* bytes, uint64_t size) {
    while (size > 0) {
        const int64_t written = stream->write(stream, bytes, size);
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<uint64_t>(std::min<int64_t>(written, static_cast<int64_t>(size)));
    }
    return true;
}

uint64_t readUpTo(const clap_istream_t* stream, uint8_t* bytes, uint64_t size) {
    uint64_t done = 0;
    while (done < size) {
        const int64_t got = stream->read(stream, bytes + done, size - done);
        if (got <= 0) break;
        done += std::min(static_cast<uint64_t>(got), size - done);
    }
    return done;
}

// The stereo pair of one process call in the precision the host gave, and the key's channels
// in the same precision; render advances them all to a position in the block.
template <typename Sample> struct StereoBuffers {
    Sample* in[2] = {};
    Sample* out[2] = {};
    Sample* const* key = nullptr;
    uint32_t keyChannels = 0;

    // False, and nothing taken, when a buffer or one of its two channels is missing.
    bool take(Sample* const* inputs, Sample* const* outputs) {
        if (!inputs || !outputs || !inputs[0] || !inputs[1] || !outputs[0] || !outputs[1])
            return false;
        in[0] = inputs[0];
        in[1] = inputs[1];
        out[0] = outputs[0];
        out[1] = outputs[1];
        return true;
    }

    void render(CompressorEffect& effect, uint32_t from, uint32_t to) const {
        if (to <= from) return;
        Sample* inputs[2] = {in[0] + from, in[1] + from};
        Sample* outputs[2] = {out[0] + from, out[1] + from};
        const HostKeySpan<Sample> keySpan(key, keyChannels, static_cast<int32_t>(from));
        effect.process(inputs, outputs, static_cast<int32_t>(to - from), keySpan.key());
    }
};

void silence(const clap_audio_buffer_t* buffers, uint32_t count, uint32_t frames) {
    for (uint32_t b = 0; buffers && b < count; ++b)
        for (uint32_t c = 0; c < buffers[b].channel_count; ++c) {
            if (buffers[b].data32 && buffers[b].data32[c])
                std::fill_n(buffers[b].data32[c], frames, 0.0f);
            if (buffers[b].data64 && buffers[b].data64[c])
                std::fill_n(buffers[b].data64[c], frames, 0.0);
        }
}

} // namespace

ClapPlugin::ClapPlugin(const clap_host_t* host, const clap_plugin_descriptor_t* descriptor,
                       const EditorBinding::EditorFactory& makeEditor)
    : record_(makePluginRecord(descriptor, this)), host_(host), effect_(this),
      hostValues_(effect_, kInClap), editor_(effect_, *this, makeEditor),
      gui_(host, editor_.editor()) {}

ClapPlugin* ClapPlugin::fromRecord(const clap_plugin_t* record) {
    return record ? static_cast<ClapPlugin*>(record->plugin_data) : nullptr;
}

bool ClapPlugin::init() {
    if (!host_->get_extension) return false;
    hostParams_ =
        static_cast<const clap_host_params_t*>(host_->get_extension(host_, CLAP_EXT_PARAMS));
    hostThreadCheck_ = static_cast<const clap_host_thread_check_t*>(
        host_->get_extension(host_, CLAP_EXT_THREAD_CHECK));
    gui_.init();
    return true;
}

bool ClapPlugin::onMainThread() const {
    return !hostThreadCheck_ || !hostThreadCheck_->is_main_thread ||
           hostThreadCheck_->is_main_thread(host_);
}

// Every block size is processed alike, so the host's largest one needs no preparing.
bool ClapPlugin::activate(double sampleRateHz, uint32_t) {
    if (active_.load() || !(sampleRateHz >= kLowestRateHz && sampleRateHz <= kHighestRateHz))
        return false;
    effect_.setSampleRate(static_cast<float>(sampleRateHz));
    effect_.resume();
    active_.store(true);
    return true;
}

void ClapPlugin::deactivate() {
    if (!active_.load()) return;
    effect_.suspend();
    active_.store(false);
}

void ClapPlugin::reset() {
    if (!active_.load()) return;
    effect_.suspend();
    effect_.resume();
}

clap_process_status ClapPlugin::process(const clap_process_t& process) {
    if (!active_.load(std::memory_order_relaxed)) return CLAP_PROCESS_ERROR;
    const uint32_t frames = std::min<uint32_t>(process.frames_count, INT32_MAX);
    StereoBuffers<float> single;
    StereoBuffers<double> twice;
    bool haveSingle = false, haveDouble = false;
    if (process.audio_inputs_count > 0 && process.audio_outputs_count > 0 && process.audio_inputs &&
        process.audio_outputs && process.audio_inputs[0].channel_count >= 2 &&
        process.audio_outputs[0].channel_count >= 2) {
        const clap_audio_buffer_t& in = process.audio_inputs[0];
        const clap_audio_buffer_t& out = process.audio_outputs[0];
        haveSingle = single.take(in.data32, out.data32);
        haveDouble = !haveSingle && twice.take(in.data64, out.data64);
    }
    // The key comes in the main pair's precision, with one or two channels; anything else a
    // host hands over is silence (HostKeySpan).
    if (process.audio_inputs_count > kKeyPort && process.audio_inputs) {
        const clap_audio_buffer_t& key = process.audio_inputs[kKeyPort];
        single.key = key.data32;
        twice.key = key.data64;
        single.keyChannels = twice.keyChannels = key.channel_count;
    }
    const auto render = [&](uint32_t from, uint32_t to) {
        if (haveSingle) single.render(effect_, from, to);
        if (haveDouble) twice.render(effect_, from, to);
    };

    reportEditorChanges(process.out_events);
    const clap_input_events_t* in = process.in_events;
    const uint32_t count = in && in->size && in->get ? in->size(in) : 0;
    uint32_t done = 0;
    for (uint32_t e = 0; e < count; ++e) {
        const clap_event_header_t* header = in->get(in, e);
        if (!header) continue;
        // An event from before the last one applies now, one past the block at its end.
        const uint32_t at = std::clamp(header->time, done, frames);
        render(done, at);
        done = at;
        applyEvent(*header);
        reportOwnChanges(process.out_events, at);
    }
    render(done, frames);
    if (haveSingle || haveDouble || frames == 0) return CLAP_PROCESS_CONTINUE;
    silence(process.audio_outputs, process.audio_outputs_count, frames);
    return CLAP_PROCESS_ERROR;
}

void ClapPlugin::applyEvent(const clap_event_header_t& header) {
    if (!isParamValue(header)) return;
    const auto& event = reinterpret_cast<const clap_event_param_value_t&>(header);
    float normalized = 0.0f;
    if (!clapParams::isShownId(event.param_id) ||
        !clapParams::toNormalized(event.param_id, event.value, normalized))
        return;
    effect_.setParameter(static_cast<int>(event.param_id), normalized);
    hostValues_.heard(static_cast<int>(event.param_id), normalized);
}

void ClapPlugin::reportEditorChanges(const clap_output_events_t* out) {
    EditorChangeQueue::Change change{};
    while (editorChanges_.peek(change)) {
        const auto id = static_cast<clap_id>(change.index);
        bool sent = false;
        switch (change.kind) {
        case EditorChangeQueue::Kind::beginGesture:
            sent = pushGesture(out, CLAP_EVENT_PARAM_GESTURE_BEGIN, id);
            break;
        case EditorChangeQueue::Kind::endGesture:
            sent = pushGesture(out, CLAP_EVENT_PARAM_GESTURE_END, id);
            break;
        case EditorChangeQueue::Kind::value:
            sent = pushValue(out, 0, id, change.value);
            if (sent) hostValues_.heard(change.index, change.value);
            break;
        }
        // A host that takes no more events now gets the rest at the next call.
        if (!sent) break;
        editorChanges_.pop();
    }
    reportOwnChanges(out, 0);
}

void ClapPlugin::reportOwnChanges(const clap_output_events_t* out, uint32_t time) {
    hostValues_.report([&](int index, float value) {
        return pushValue(out, time, static_cast<clap_id>(index), value);
    });
}

void ClapPlugin::flush(const clap_input_events_t* in, const clap_output_events_t* out) {
    reportEditorChanges(out);
    const uint32_t count = in && in->size && in->get ? in->size(in) : 0;
    for (uint32_t e = 0; e < count; ++e)
        if (const clap_event_header_t* header = in->get(in, e)) {
            applyEvent(*header);
            reportOwnChanges(out, 0);
        }
}

bool ClapPlugin::paramValue(clap_id id, double* value) {
    if (!clapParams::isShownId(id) || !value) return false;
    *value = clapParams::toPlain(id, effect_.getParameter(static_cast<int>(id)));
    return true;
}

bool ClapPlugin::save(const clap_ostream_t* stream) {
    if (!stream || !stream->write) return false;
    const stateRecord::Bytes record = stateRecord::write(currentState(effect_));
    return writeAll(stream, record.data(), record.size());
}

bool ClapPlugin::load(const clap_istream_t* stream) {
    if (!stream || !stream->read) return false;
    stateRecord::Bytes record;
    const uint64_t size = readUpTo(stream, record.data(), record.size());
    EffectState state;
    if (!stateRecord::read(record.data(), size, state)) return false;
    restoreState(effect_, state);
    if (hostParams_ && hostParams_->rescan) hostParams_->rescan(host_, CLAP_PARAM_RESCAN_VALUES);
    return true;
}

void ClapPlugin::queueEditorChange(const EditorChangeQueue::Change& change) {
    if (change.index < 0 || !clapParams::isShownId(static_cast<clap_id>(change.index))) return;
    editorChanges_.push(change);
    // The host then calls flush, or process when it is running.
    if (hostParams_ && hostParams_->request_flush)
        hostParams_->request_flush(host_);
    else if (host_->request_process)
        host_->request_process(host_);
}

void ClapPlugin::automate(int index, float value) {
    queueEditorChange({EditorChangeQueue::Kind::value, index, value});
}

void ClapPlugin::beginEdit(int index) {
    queueEditorChange({EditorChangeQueue::Kind::beginGesture, index, 0.0f});
}

void ClapPlugin::endEdit(int index) {
    queueEditorChange({EditorChangeQueue::Kind::endGesture, index, 0.0f});
}

bool ClapPlugin::resizeEditorWindow(int width, int height) {
    return gui_.requestResize(width, height);
}

ClapPlugin* createClapPlugin(const clap_host_t* host, const clap_plugin_descriptor_t* descriptor,
                             const EditorBinding::EditorFactory& makeEditor) {
    try {
        return new ClapPlugin(host, descriptor, makeEditor);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
