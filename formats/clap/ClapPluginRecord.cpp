#include "formats/clap/ClapPluginRecord.h"

#include "formats/clap/ClapParameters.h"
#include "formats/clap/ClapPlugin.h"
#include "plugin/CompressorEffect.h"

#include <clap/ext/audio-ports.h>
#include <clap/ext/latency.h>
#include <clap/ext/state.h>

#include <cstdio>
#include <cstring>

namespace {

ClapPlugin& of(const clap_plugin_t* plugin) {
    return *ClapPlugin::fromRecord(plugin);
}

// Calls the host marks [main-thread] are refused from any other thread it names.
bool onMain(const clap_plugin_t* plugin) {
    return of(plugin).onMainThread();
}

// Audio ports: one stereo main pair, processed in place or not, in either precision; and the
// key input beside the main input, stereo, which also takes the one channel of a mono key.
uint32_t audioPortCount(const clap_plugin_t*, bool isInput) {
    return isInput ? ClapPlugin::kKeyPort + 1 : 1;
}

bool audioPortInfo(const clap_plugin_t*, uint32_t index, bool isInput,
                   clap_audio_port_info_t* info) {
    if (!info || index >= audioPortCount(nullptr, isInput)) return false;
    *info = {};
    info->id = index;
    info->flags = CLAP_AUDIO_PORT_SUPPORTS_64BITS | CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE;
    info->channel_count = 2;
    info->port_type = CLAP_PORT_STEREO;
    if (index == ClapPlugin::kKeyPort) {
        std::snprintf(info->name, sizeof info->name, "%s", "Sidechain");
        info->in_place_pair = CLAP_INVALID_ID;
        return true;
    }
    std::snprintf(info->name, sizeof info->name, "%s", isInput ? "Input" : "Output");
    info->flags |= CLAP_AUDIO_PORT_IS_MAIN;
    info->in_place_pair = 0;
    return true;
}

const clap_plugin_audio_ports_t kAudioPorts = {audioPortCount, audioPortInfo};

uint32_t latency(const clap_plugin_t*) {
    return CompressorEffect::kLatencySamples;
}

const clap_plugin_latency_t kLatency = {latency};

uint32_t paramCount(const clap_plugin_t*) {
    return clapParams::count();
}

bool paramInfo(const clap_plugin_t*, uint32_t index, clap_param_info_t* info) {
    return info && clapParams::info(index, *info);
}

bool paramValue(const clap_plugin_t* plugin, clap_id id, double* value) {
    return of(plugin).paramValue(id, value);
}

bool valueToText(const clap_plugin_t*, clap_id id, double value, char* display, uint32_t size) {
    return clapParams::valueText(id, value, display, size);
}

bool textToValue(const clap_plugin_t*, clap_id id, const char* display, double* value) {
    return value && clapParams::valueFromText(id, display, *value);
}

void flush(const clap_plugin_t* plugin, const clap_input_events_t* in,
           const clap_output_events_t* out) {
    of(plugin).flush(in, out);
}

const clap_plugin_params_t kParams = {paramCount,  paramInfo,   paramValue,
                                      valueToText, textToValue, flush};

bool saveState(const clap_plugin_t* plugin, const clap_ostream_t* stream) {
    return onMain(plugin) && of(plugin).save(stream);
}

bool loadState(const clap_plugin_t* plugin, const clap_istream_t* stream) {
    return onMain(plugin) && of(plugin).load(stream);
}

const clap_plugin_state_t kState = {saveState, loadState};

bool guiIsApiSupported(const clap_plugin_t* plugin, const char* api, bool isFloating) {
    return of(plugin).gui().isApiSupported(api, isFloating);
}

bool guiPreferredApi(const clap_plugin_t*, const char** api, bool* isFloating) {
    if (!api || !isFloating) return false;
    *api = ClapEditorGui::preferredApi();
    *isFloating = false;
    return true;
}

bool guiCreate(const clap_plugin_t* plugin, const char* api, bool isFloating) {
    return onMain(plugin) && of(plugin).gui().create(api, isFloating);
}

void guiDestroy(const clap_plugin_t* plugin) {
    if (onMain(plugin)) of(plugin).gui().destroy();
}

bool guiSetScale(const clap_plugin_t* plugin, double scale) {
    return onMain(plugin) && of(plugin).gui().setScale(scale);
}

bool guiGetSize(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height) {
    return onMain(plugin) && of(plugin).gui().getSize(width, height);
}

// The editor keeps the sizes of its scales; the user picks another in its menu.
bool guiCanResize(const clap_plugin_t*) {
    return false;
}

bool guiResizeHints(const clap_plugin_t*, clap_gui_resize_hints_t*) {
    return false;
}

bool guiAdjustSize(const clap_plugin_t* plugin, uint32_t* width, uint32_t* height) {
    return onMain(plugin) && of(plugin).gui().getSize(width, height);
}

bool guiSetSize(const clap_plugin_t* plugin, uint32_t width, uint32_t height) {
    return onMain(plugin) && of(plugin).gui().setSize(width, height);
}

bool guiSetParent(const clap_plugin_t* plugin, const clap_window_t* window) {
    return onMain(plugin) && of(plugin).gui().setParent(window);
}

// Only floating windows have a transient parent.
bool guiSetTransient(const clap_plugin_t*, const clap_window_t*) {
    return false;
}

void guiSuggestTitle(const clap_plugin_t*, const char*) {}

// The embedded window shows and hides with the host's.
bool guiShow(const clap_plugin_t*) {
    return true;
}

bool guiHide(const clap_plugin_t*) {
    return true;
}

const clap_plugin_gui_t kGui = {guiIsApiSupported, guiPreferredApi, guiCreate,    guiDestroy,
                                guiSetScale,       guiGetSize,      guiCanResize, guiResizeHints,
                                guiAdjustSize,     guiSetSize,      guiSetParent, guiSetTransient,
                                guiSuggestTitle,   guiShow,         guiHide};

void onTimer(const clap_plugin_t* plugin, clap_id timerId) {
    if (onMain(plugin)) of(plugin).gui().onTimer(timerId);
}

const clap_plugin_timer_support_t kTimerSupport = {onTimer};

bool init(const clap_plugin_t* plugin) {
    return of(plugin).init();
}

void destroy(const clap_plugin_t* plugin) {
    delete ClapPlugin::fromRecord(plugin);
}

bool activate(const clap_plugin_t* plugin, double sampleRateHz, uint32_t, uint32_t maxFrames) {
    return onMain(plugin) && of(plugin).activate(sampleRateHz, maxFrames);
}

void deactivate(const clap_plugin_t* plugin) {
    if (onMain(plugin)) of(plugin).deactivate();
}

bool startProcessing(const clap_plugin_t*) {
    return true;
}

void stopProcessing(const clap_plugin_t*) {}

void reset(const clap_plugin_t* plugin) {
    of(plugin).reset();
}

clap_process_status process(const clap_plugin_t* plugin, const clap_process_t* process) {
    return process ? of(plugin).process(*process) : CLAP_PROCESS_ERROR;
}

const void* extension(const clap_plugin_t*, const char* id) {
    if (!id) return nullptr;
    const struct {
        const char* id;
        const void* table;
    } kExtensions[] = {{CLAP_EXT_AUDIO_PORTS, &kAudioPorts},
                       {CLAP_EXT_LATENCY, &kLatency},
                       {CLAP_EXT_PARAMS, &kParams},
                       {CLAP_EXT_STATE, &kState},
                       {CLAP_EXT_GUI, &kGui},
                       {CLAP_EXT_TIMER_SUPPORT, &kTimerSupport}};
    for (const auto& extension : kExtensions)
        if (std::strcmp(id, extension.id) == 0) return extension.table;
    return nullptr;
}

void onMainThreadCallback(const clap_plugin_t*) {}

} // namespace

clap_plugin_t makePluginRecord(const clap_plugin_descriptor_t* descriptor, ClapPlugin* plugin) {
    return {descriptor,      plugin,         init,  destroy, activate,  deactivate,
            startProcessing, stopProcessing, reset, process, extension, onMainThreadCallback};
}
