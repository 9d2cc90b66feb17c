#pragma once

#include "DynamicLibrary.h"

#include <clap/entry.h>
#include <clap/ext/gui.h>
#include <clap/ext/params.h>
#include <clap/ext/state.h>
#include <clap/ext/thread-check.h>
#include <clap/ext/timer-support.h>
#include <clap/plugin-factory.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

// A parameter change or gesture the plug-in sent to its host.
struct ClapOutputEvent {
    uint16_t type; // CLAP_EVENT_PARAM_VALUE, _GESTURE_BEGIN or _GESTURE_END
    uint32_t time;
    clap_id id;
    double value; // plain value for CLAP_EVENT_PARAM_VALUE
};

// A CLAP plug-in loaded as a host loads it: the module is opened, clap_entry initialised, the
// plug-in made through the factory and initialised. The host side offers params, GUI, timer
// support, thread check and state, and records what the plug-in asks of it.
class HostedClapPlugin {
  public:
    // The plug-in with `pluginId`, or the factory's first when it is empty.
    explicit HostedClapPlugin(const std::string& modulePath, const std::string& pluginId = "");
    ~HostedClapPlugin(); // destroys the plug-in, deinitialises the entry, unloads the module
    HostedClapPlugin(const HostedClapPlugin&) = delete;
    HostedClapPlugin& operator=(const HostedClapPlugin&) = delete;

    bool isLoaded() const { return plugin_ != nullptr; }
    const std::string& error() const { return error_; }
    const clap_plugin_entry_t* entry() const { return entry_; }
    const clap_plugin_factory_t* factory() const { return factory_; }
    const clap_plugin_descriptor_t* descriptor() const { return plugin_->desc; }
    const clap_plugin_t* plugin() const { return plugin_; }

    template <typename Extension> const Extension* extension(const char* id) const {
        return static_cast<const Extension*>(plugin_->get_extension(plugin_, id));
    }

    bool activate(double sampleRateHz, uint32_t maxFrames = 4096);
    void deactivate();

    // One process call with stereo buffers (in and out may be the same) and parameter changes
    // (plain values) at their sample offsets, in the order given.
    struct Change {
        uint32_t time;
        clap_id id;
        double value;
    };
    clap_process_status process(float** inputs, float** outputs, uint32_t frames,
                                const std::vector<Change>& changes = {});
    clap_process_status process(double** inputs, double** outputs, uint32_t frames,
                                const std::vector<Change>& changes = {});
    // Any buffers and any events, as they are.
    clap_process_status processRaw(const clap_audio_buffer_t* inputs, uint32_t inputCount,
                                   clap_audio_buffer_t* outputs, uint32_t outputCount,
                                   uint32_t frames,
                                   const std::vector<clap_event_param_value_t>& events);
    void flush(const std::vector<Change>& changes);
    static std::vector<clap_event_param_value_t> valueEvents(const std::vector<Change>& changes);

    // What the plug-in sent and asked for since the last clear.
    std::vector<ClapOutputEvent> outputEvents;
    int flushRequests = 0;
    int processRequests = 0;
    int valueRescans = 0;
    uint32_t resizedWidth = 0, resizedHeight = 0;
    // The one timer the plug-in may hold (0 ms: none).
    uint32_t timerPeriodMs = 0;
    clap_id timerId = CLAP_INVALID_ID;
    // Calls the timer as the host's main loop would.
    void fireTimer();
    // The thread the host calls its main thread (the constructing one).
    std::thread::id mainThread = std::this_thread::get_id();

    double paramValue(clap_id id) const;
    std::string valueText(clap_id id, double value) const;
    std::vector<uint8_t> saveState() const;
    // The bytes handed over in pieces of at most `chunk` bytes, as some hosts read files.
    bool loadState(const std::vector<uint8_t>& bytes, std::size_t chunk = 1 << 20) const;

  private:
    static const void* hostExtension(const clap_host_t* host, const char* id);
    static HostedClapPlugin& of(const clap_host_t* host);

    DynamicLibrary library_;
    const clap_plugin_entry_t* entry_ = nullptr;
    const clap_plugin_factory_t* factory_ = nullptr;
    const clap_plugin_t* plugin_ = nullptr;
    bool entryInitialised_ = false;
    bool active_ = false;
    std::string error_;
    clap_host_t host_;
};
