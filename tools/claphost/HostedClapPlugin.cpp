#include "HostedClapPlugin.h"

#include <clap/ext/latency.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

struct InputEvents {
    const std::vector<clap_event_param_value_t>* events;

    static uint32_t size(const clap_input_events_t* list) {
        return static_cast<uint32_t>(static_cast<const InputEvents*>(list->ctx)->events->size());
    }
    static const clap_event_header_t* get(const clap_input_events_t* list, uint32_t index) {
        const auto& events = *static_cast<const InputEvents*>(list->ctx)->events;
        return index < events.size() ? &events[index].header : nullptr;
    }
};

bool recordOutput(const clap_output_events_t* list, const clap_event_header_t* header) {
    auto& out = *static_cast<std::vector<ClapOutputEvent>*>(list->ctx);
    if (!header || header->space_id != CLAP_CORE_EVENT_SPACE_ID) return false;
    if (header->type == CLAP_EVENT_PARAM_VALUE) {
        const auto* e = reinterpret_cast<const clap_event_param_value_t*>(header);
        out.push_back({header->type, header->time, e->param_id, e->value});
        return true;
    }
    if (header->type == CLAP_EVENT_PARAM_GESTURE_BEGIN ||
        header->type == CLAP_EVENT_PARAM_GESTURE_END) {
        const auto* e = reinterpret_cast<const clap_event_param_gesture_t*>(header);
        out.push_back({header->type, header->time, e->param_id, 0.0});
        return true;
    }
    return false;
}

struct ByteWriter {
    std::vector<uint8_t> bytes;
    static int64_t write(const clap_ostream_t* stream, const void* buffer, uint64_t size) {
        auto& bytes = static_cast<ByteWriter*>(stream->ctx)->bytes;
        const auto* from = static_cast<const uint8_t*>(buffer);
        bytes.insert(bytes.end(), from, from + size);
        return static_cast<int64_t>(size);
    }
};

struct ByteReader {
    const std::vector<uint8_t>* bytes;
    std::size_t at;
    std::size_t chunk;
    static int64_t read(const clap_istream_t* stream, void* buffer, uint64_t size) {
        auto& self = *static_cast<ByteReader*>(stream->ctx);
        const std::size_t n = std::min<std::size_t>(
            {static_cast<std::size_t>(size), self.chunk, self.bytes->size() - self.at});
        if (n) std::memcpy(buffer, self.bytes->data() + self.at, n);
        self.at += n;
        return static_cast<int64_t>(n);
    }
};

template <typename Sample> clap_audio_buffer_t stereoBuffer(Sample** channels);
template <> clap_audio_buffer_t stereoBuffer<float>(float** channels) {
    return {channels, nullptr, 2, 0, 0};
}
template <> clap_audio_buffer_t stereoBuffer<double>(double** channels) {
    return {nullptr, channels, 2, 0, 0};
}

// Calls marked [audio-thread] are made on another thread, as a host's audio thread makes them.
template <typename Call> void onAudioThread(Call call) {
    std::thread thread(call);
    thread.join();
}

} // namespace

HostedClapPlugin& HostedClapPlugin::of(const clap_host_t* host) {
    return *static_cast<HostedClapPlugin*>(host->host_data);
}

const void* HostedClapPlugin::hostExtension(const clap_host_t*, const char* extensionId) {
    static const clap_host_params_t params = {
        [](const clap_host_t* h, clap_param_rescan_flags flags) {
            if (flags & CLAP_PARAM_RESCAN_VALUES) ++of(h).valueRescans;
        },
        [](const clap_host_t*, clap_id, clap_param_clear_flags) {},
        [](const clap_host_t* h) { ++of(h).flushRequests; }};
    static const clap_host_gui_t gui = {[](const clap_host_t*) {},
                                        [](const clap_host_t* h, uint32_t width, uint32_t height) {
                                            of(h).resizedWidth = width;
                                            of(h).resizedHeight = height;
                                            return true;
                                        },
                                        [](const clap_host_t*) { return false; },
                                        [](const clap_host_t*) { return false; },
                                        [](const clap_host_t*, bool) {}};
    static const clap_host_timer_support_t timer = {
        [](const clap_host_t* h, uint32_t periodMs, clap_id* id) {
            HostedClapPlugin& self = of(h);
            if (!id || self.timerPeriodMs != 0) return false;
            self.timerPeriodMs = std::max(periodMs, 1u);
            self.timerId = *id = 7;
            return true;
        },
        [](const clap_host_t* h, clap_id id) {
            HostedClapPlugin& self = of(h);
            if (id != self.timerId || self.timerPeriodMs == 0) return false;
            self.timerPeriodMs = 0;
            return true;
        }};
    static const clap_host_thread_check_t threadCheck = {
        [](const clap_host_t* h) { return std::this_thread::get_id() == of(h).mainThread; },
        [](const clap_host_t* h) { return std::this_thread::get_id() != of(h).mainThread; }};
    static const clap_host_state_t state = {[](const clap_host_t*) {}};
    static const clap_host_latency_t latency = {[](const clap_host_t*) {}};
    if (!extensionId) return nullptr;
    const std::string id = extensionId;
    if (id == CLAP_EXT_PARAMS) return &params;
    if (id == CLAP_EXT_GUI) return &gui;
    if (id == CLAP_EXT_TIMER_SUPPORT) return &timer;
    if (id == CLAP_EXT_THREAD_CHECK) return &threadCheck;
    if (id == CLAP_EXT_STATE) return &state;
    if (id == CLAP_EXT_LATENCY) return &latency;
    return nullptr;
}

HostedClapPlugin::HostedClapPlugin(const std::string& modulePath, const std::string& pluginId)
    : library_(modulePath) {
    host_ = {CLAP_VERSION_INIT,
             this,
             "qvl-claphost",
             "Velmorinth Labs",
             "",
             "1",
             hostExtension,
             [](const clap_host_t*) {},
             [](const clap_host_t* h) { ++of(h).processRequests; },
             [](const clap_host_t*) {}};
    if (!library_.isLoaded()) {
        error_ = library_.error();
        return;
    }
    entry_ = static_cast<const clap_plugin_entry_t*>(library_.symbol("clap_entry"));
    if (!entry_ || !clap_version_is_compatible(entry_->clap_version)) {
        error_ = "no compatible clap_entry";
        return;
    }
    if (!entry_->init(modulePath.c_str())) {
        error_ = "clap_entry.init failed";
        return;
    }
    entryInitialised_ = true;
    factory_ =
        static_cast<const clap_plugin_factory_t*>(entry_->get_factory(CLAP_PLUGIN_FACTORY_ID));
    if (!factory_ || factory_->get_plugin_count(factory_) == 0) {
        error_ = "no plug-in factory";
        return;
    }
    const std::string id =
        pluginId.empty() ? factory_->get_plugin_descriptor(factory_, 0)->id : pluginId;
    plugin_ = factory_->create_plugin(factory_, &host_, id.c_str());
    if (!plugin_) {
        error_ = "the factory made no plug-in " + id;
        return;
    }
    if (!plugin_->init(plugin_)) {
        plugin_->destroy(plugin_);
        plugin_ = nullptr;
        error_ = "the plug-in's init failed";
    }
}

HostedClapPlugin::~HostedClapPlugin() {
    if (plugin_) {
        deactivate();
        plugin_->destroy(plugin_);
    }
    if (entryInitialised_) entry_->deinit();
}

bool HostedClapPlugin::activate(double sampleRateHz, uint32_t maxFrames) {
    active_ = plugin_->activate(plugin_, sampleRateHz, 1, maxFrames);
    if (active_) onAudioThread([this] { plugin_->start_processing(plugin_); });
    return active_;
}

void HostedClapPlugin::deactivate() {
    if (!active_) return;
    onAudioThread([this] { plugin_->stop_processing(plugin_); });
    plugin_->deactivate(plugin_);
    active_ = false;
}

std::vector<clap_event_param_value_t>
HostedClapPlugin::valueEvents(const std::vector<Change>& changes) {
    std::vector<clap_event_param_value_t> events;
    for (const Change& c : changes) {
        clap_event_param_value_t e{};
        e.header = {sizeof e, c.time, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
        e.param_id = c.id;
        e.note_id = e.port_index = e.channel = e.key = -1;
        e.value = c.value;
        events.push_back(e);
    }
    return events;
}

clap_process_status
HostedClapPlugin::processRaw(const clap_audio_buffer_t* inputs, uint32_t inputCount,
                             clap_audio_buffer_t* outputs, uint32_t outputCount, uint32_t frames,
                             const std::vector<clap_event_param_value_t>& events) {
    InputEvents inContext{&events};
    const clap_input_events_t in = {&inContext, InputEvents::size, InputEvents::get};
    const clap_output_events_t out = {&outputEvents, recordOutput};
    const clap_process_t process = {-1,         frames,      nullptr, inputs, outputs,
                                    inputCount, outputCount, &in,     &out};
    return plugin_->process(plugin_, &process);
}

clap_process_status HostedClapPlugin::process(float** inputs, float** outputs, uint32_t frames,
                                              const std::vector<Change>& changes) {
    const clap_audio_buffer_t in = stereoBuffer(inputs);
    clap_audio_buffer_t out = stereoBuffer(outputs);
    return processRaw(&in, 1, &out, 1, frames, valueEvents(changes));
}

clap_process_status HostedClapPlugin::process(double** inputs, double** outputs, uint32_t frames,
                                              const std::vector<Change>& changes) {
    const clap_audio_buffer_t in = stereoBuffer(inputs);
    clap_audio_buffer_t out = stereoBuffer(outputs);
    return processRaw(&in, 1, &out, 1, frames, valueEvents(changes));
}

void HostedClapPlugin::flush(const std::vector<Change>& changes) {
    const auto* params = extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    const std::vector<clap_event_param_value_t> events = valueEvents(changes);
    InputEvents inContext{&events};
    const clap_input_events_t in = {&inContext, InputEvents::size, InputEvents::get};
    const clap_output_events_t out = {&outputEvents, recordOutput};
    if (params) params->flush(plugin_, &in, &out);
}

void HostedClapPlugin::fireTimer() {
    const auto* timer = extension<clap_plugin_timer_support_t>(CLAP_EXT_TIMER_SUPPORT);
    if (timer && timerPeriodMs != 0) timer->on_timer(plugin_, timerId);
}

double HostedClapPlugin::paramValue(clap_id id) const {
    const auto* params = extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    double value = -12345.0;
    if (params) params->get_value(plugin_, id, &value);
    return value;
}

std::string HostedClapPlugin::valueText(clap_id id, double value) const {
    const auto* params = extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
    char text[CLAP_NAME_SIZE] = {};
    if (!params || !params->value_to_text(plugin_, id, value, text, sizeof text)) return "";
    return text;
}

std::vector<uint8_t> HostedClapPlugin::saveState() const {
    const auto* state = extension<clap_plugin_state_t>(CLAP_EXT_STATE);
    ByteWriter writer;
    const clap_ostream_t stream = {&writer, ByteWriter::write};
    if (!state || !state->save(plugin_, &stream)) return {};
    return writer.bytes;
}

bool HostedClapPlugin::loadState(const std::vector<uint8_t>& bytes, std::size_t chunk) const {
    const auto* state = extension<clap_plugin_state_t>(CLAP_EXT_STATE);
    ByteReader reader{&bytes, 0, chunk};
    const clap_istream_t stream = {&reader, ByteReader::read};
    return state && state->load(plugin_, &stream);
}
