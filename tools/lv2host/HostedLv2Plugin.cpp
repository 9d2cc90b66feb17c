#include "HostedLv2Plugin.h"

#include <lv2/presets/presets.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>

// Plug-ins and lilv's state code ask for URIDs; they are handed out in order of first use.
struct HostedLv2Plugin::UridMap {
    std::mutex mutex;
    std::vector<std::string> uris;
    LV2_URID_Map map{this, &UridMap::toUrid};
    LV2_URID_Unmap unmap{this, &UridMap::toUri};
    LV2_Feature mapFeature{LV2_URID__map, &map};
    LV2_Feature unmapFeature{LV2_URID__unmap, &unmap};
    const LV2_Feature* features[3] = {&mapFeature, &unmapFeature, nullptr};

    static LV2_URID toUrid(LV2_URID_Map_Handle handle, const char* uri) {
        auto* self = static_cast<UridMap*>(handle);
        const std::lock_guard<std::mutex> lock(self->mutex);
        for (std::size_t i = 0; i < self->uris.size(); ++i)
            if (self->uris[i] == uri) return static_cast<LV2_URID>(i + 1);
        self->uris.emplace_back(uri);
        return static_cast<LV2_URID>(self->uris.size());
    }
    static const char* toUri(LV2_URID_Unmap_Handle handle, LV2_URID urid) {
        auto* self = static_cast<UridMap*>(handle);
        const std::lock_guard<std::mutex> lock(self->mutex);
        return urid >= 1 && urid <= self->uris.size() ? self->uris[urid - 1].c_str() : nullptr;
    }
};

namespace {

bool looksLikeUri(const std::string& text) {
    const auto colon = text.find(':');
    return colon != std::string::npos && colon > 1 && text.find('/') > colon;
}

// lilv wants a bundle as a file URI ending in a slash.
std::string bundleUri(const std::string& path) {
    char* absolute = realpath(path.c_str(), nullptr);
    std::string result = "file://" + std::string(absolute ? absolute : path.c_str());
    std::free(absolute);
    if (result.back() != '/') result += '/';
    return result;
}

struct NodeDeleter {
    void operator()(LilvNode* node) const { lilv_node_free(node); }
};
using Node = std::unique_ptr<LilvNode, NodeDeleter>;

const LilvPlugin* pluginInBundle(LilvWorld* world, const LilvNode* bundle) {
    const LilvPlugins* plugins = lilv_world_get_all_plugins(world);
    LILV_FOREACH(plugins, i, plugins) {
        const LilvPlugin* candidate = lilv_plugins_get(plugins, i);
        if (lilv_node_equals(lilv_plugin_get_bundle_uri(candidate), bundle)) return candidate;
    }
    return nullptr;
}

// The URI of the plug-in in a bundle, read from that bundle alone.
std::string pluginUriInBundle(const std::string& bundleUri) {
    LilvWorld* alone = lilv_world_new();
    std::string uri;
    {
        const Node bundle(lilv_new_uri(alone, bundleUri.c_str()));
        lilv_world_load_bundle(alone, bundle.get());
        if (const LilvPlugin* plugin = pluginInBundle(alone, bundle.get()))
            uri = lilv_node_as_uri(lilv_plugin_get_uri(plugin));
    }
    lilv_world_free(alone);
    return uri;
}

// Another copy of the plug-in on the search path (an installed release, say) would hide the
// bundle asked for or mix its description, binary included, into that bundle's: the bundles of
// every other copy are unloaded.
void unloadOtherCopies(LilvWorld* world, const std::string& pluginUri,
                       const std::string& bundleUri) {
    const Node plugin(lilv_new_uri(world, pluginUri.c_str()));
    const Node binary(lilv_new_uri(world, LV2_CORE__binary));
    std::vector<std::string> others;
    LilvNodes* binaries = lilv_world_find_nodes(world, plugin.get(), binary.get(), nullptr);
    LILV_FOREACH(nodes, i, binaries) {
        const std::string file = lilv_node_as_uri(lilv_nodes_get(binaries, i));
        const std::string folder = file.substr(0, file.rfind('/') + 1);
        if (folder != bundleUri) others.push_back(folder);
    }
    lilv_nodes_free(binaries);
    for (const std::string& other : others) {
        const Node bundle(lilv_new_uri(world, other.c_str()));
        lilv_world_unload_bundle(world, bundle.get());
    }
}

} // namespace

HostedLv2Plugin::HostedLv2Plugin(const std::string& bundleOrUri, double sampleRateHz)
    : world_(lilv_world_new()), urids_(std::make_unique<UridMap>()), sampleRateHz_(sampleRateHz) {
    if (looksLikeUri(bundleOrUri) && bundleOrUri.rfind("file:", 0) != 0) {
        lilv_world_load_all(world_);
        const Node uri(lilv_new_uri(world_, bundleOrUri.c_str()));
        plugin_ = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world_), uri.get());
        if (!plugin_) error_ = "no LV2 plug-in " + bundleOrUri + " on LV2_PATH";
    } else {
        // The installed LV2 core and extension bundles give classes and units their names; the
        // bundle itself is loaded only when it is not on the search path already.
        lilv_world_load_all(world_);
        const std::string uri =
            bundleOrUri.rfind("file:", 0) == 0 ? bundleOrUri : bundleUri(bundleOrUri);
        const Node bundle(lilv_new_uri(world_, uri.c_str()));
        const std::string pluginUri = pluginUriInBundle(uri);
        if (!pluginUri.empty()) unloadOtherCopies(world_, pluginUri, uri);
        plugin_ = pluginInBundle(world_, bundle.get());
        if (!plugin_) {
            lilv_world_load_bundle(world_, bundle.get());
            plugin_ = pluginInBundle(world_, bundle.get());
        }
        if (!plugin_) error_ = "no LV2 plug-in in the bundle " + bundleOrUri;
    }
    if (!plugin_) return;

    const uint32_t ports = lilv_plugin_get_num_ports(plugin_);
    controls_.assign(ports, 0.0f);
    kinds_.assign(ports, '-');
    std::vector<float> defaults(ports, NAN);
    lilv_plugin_get_port_ranges_float(plugin_, nullptr, nullptr, defaults.data());
    const Node audio(lilv_new_uri(world_, LILV_URI_AUDIO_PORT));
    const Node controlPort(lilv_new_uri(world_, LILV_URI_CONTROL_PORT));
    const Node input(lilv_new_uri(world_, LILV_URI_INPUT_PORT));
    for (uint32_t p = 0; p < ports; ++p) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin_, p);
        const bool isInput = lilv_port_is_a(plugin_, port, input.get());
        if (lilv_port_is_a(plugin_, port, audio.get())) {
            kinds_[p] = 'a';
            (isInput ? audioInputs_ : audioOutputs_).push_back(p);
        } else if (lilv_port_is_a(plugin_, port, controlPort.get())) {
            kinds_[p] = isInput ? 'i' : 'o';
            controls_[p] = std::isnan(defaults[p]) ? 0.0f : defaults[p];
        }
    }
    if (lilv_plugin_has_latency(plugin_))
        latencyPort_ = static_cast<int>(lilv_plugin_get_latency_port_index(plugin_));

    instance_ = lilv_plugin_instantiate(plugin_, sampleRateHz, urids_->features);
    if (!instance_) {
        error_ = uri() + " did not instantiate at " + std::to_string(sampleRateHz) + " Hz";
        return;
    }
    for (uint32_t p = 0; p < ports; ++p)
        if (kinds_[p] == 'i' || kinds_[p] == 'o')
            lilv_instance_connect_port(instance_, p, &controls_[p]);
}

HostedLv2Plugin::~HostedLv2Plugin() {
    if (instance_) {
        if (active_) lilv_instance_deactivate(instance_);
        lilv_instance_free(instance_);
    }
    lilv_world_free(world_);
}

LV2_URID_Map* HostedLv2Plugin::uridMap() {
    return &urids_->map;
}

std::string HostedLv2Plugin::uri() const {
    return plugin_ ? lilv_node_as_uri(lilv_plugin_get_uri(plugin_)) : "";
}

std::string HostedLv2Plugin::name() const {
    if (!plugin_) return "";
    LilvNode* node = lilv_plugin_get_name(plugin_);
    std::string result = node ? lilv_node_as_string(node) : "";
    lilv_node_free(node);
    return result;
}

int HostedLv2Plugin::portIndex(const std::string& symbol) const {
    if (!plugin_) return -1;
    const Node node(lilv_new_string(world_, symbol.c_str()));
    const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin_, node.get());
    return port ? static_cast<int>(lilv_port_get_index(plugin_, port)) : -1;
}

bool HostedLv2Plugin::isControlInput(uint32_t port) const {
    return port < kinds_.size() && kinds_[port] == 'i';
}

bool HostedLv2Plugin::isControlOutput(uint32_t port) const {
    return port < kinds_.size() && kinds_[port] == 'o';
}

bool HostedLv2Plugin::isAudio(uint32_t port) const {
    return port < kinds_.size() && kinds_[port] == 'a';
}

void HostedLv2Plugin::setControl(const std::string& symbol, float value) {
    const int port = portIndex(symbol);
    if (port >= 0) controls_[static_cast<uint32_t>(port)] = value;
}

float HostedLv2Plugin::control(const std::string& symbol) const {
    const int port = portIndex(symbol);
    return port >= 0 ? controls_[static_cast<uint32_t>(port)] : NAN;
}

void HostedLv2Plugin::disconnectControl(uint32_t port) {
    if (instance_ && (isControlInput(port) || isControlOutput(port)))
        lilv_instance_connect_port(instance_, port, nullptr);
}

// Sorted by URI: a bundle that numbers its presets gets them listed in its own order.
std::vector<std::string> HostedLv2Plugin::presetNames() {
    std::vector<std::pair<std::string, std::string>> presets; // URI, label
    if (!plugin_) return {};
    const Node presetClass(lilv_new_uri(world_, LV2_PRESETS__Preset));
    const Node label(lilv_new_uri(world_, LILV_NS_RDFS "label"));
    LilvNodes* related = lilv_plugin_get_related(plugin_, presetClass.get());
    LILV_FOREACH(nodes, i, related) {
        const LilvNode* preset = lilv_nodes_get(related, i);
        lilv_world_load_resource(world_, preset);
        LilvNode* name = lilv_world_get(world_, preset, label.get(), nullptr);
        if (name) presets.emplace_back(lilv_node_as_uri(preset), lilv_node_as_string(name));
        lilv_node_free(name);
    }
    lilv_nodes_free(related);
    std::sort(presets.begin(), presets.end());
    std::vector<std::string> names;
    for (const auto& preset : presets)
        names.push_back(preset.second);
    return names;
}

bool HostedLv2Plugin::applyPreset(const std::string& name) {
    if (!plugin_) return false;
    const Node presetClass(lilv_new_uri(world_, LV2_PRESETS__Preset));
    const Node label(lilv_new_uri(world_, LILV_NS_RDFS "label"));
    LilvNodes* presets = lilv_plugin_get_related(plugin_, presetClass.get());
    bool applied = false;
    LILV_FOREACH(nodes, i, presets) {
        const LilvNode* preset = lilv_nodes_get(presets, i);
        lilv_world_load_resource(world_, preset);
        LilvNode* found = lilv_world_get(world_, preset, label.get(), nullptr);
        const bool matches = found && name == lilv_node_as_string(found);
        lilv_node_free(found);
        if (!matches) continue;
        LilvState* state = lilv_state_new_from_world(world_, &urids_->map, preset);
        if (!state) break;
        lilv_state_emit_port_values(
            state,
            [](const char* symbol, void* self, const void* value, uint32_t size, uint32_t) {
                if (size == sizeof(float))
                    static_cast<HostedLv2Plugin*>(self)->setControl(
                        symbol, *static_cast<const float*>(value));
            },
            this);
        lilv_state_free(state);
        applied = true;
        break;
    }
    lilv_nodes_free(presets);
    return applied;
}

void HostedLv2Plugin::activate() {
    if (instance_ && !active_) lilv_instance_activate(instance_);
    active_ = instance_ != nullptr;
}

void HostedLv2Plugin::deactivate() {
    if (instance_ && active_) lilv_instance_deactivate(instance_);
    active_ = false;
}

void HostedLv2Plugin::run(const float* const* inputs, float* const* outputs, uint32_t frames,
                          std::size_t inputCount) {
    if (!instance_) return;
    for (std::size_t c = 0; c < audioInputs_.size(); ++c)
        lilv_instance_connect_port(instance_, audioInputs_[c],
                                   c < inputCount ? const_cast<float*>(inputs[c]) : nullptr);
    for (std::size_t c = 0; c < audioOutputs_.size(); ++c)
        lilv_instance_connect_port(instance_, audioOutputs_[c], outputs[c]);
    lilv_instance_run(instance_, frames);
}

int HostedLv2Plugin::latency() const {
    return latencyPort_ >= 0 ? static_cast<int>(controls_[static_cast<uint32_t>(latencyPort_)])
                             : -1;
}
