#include "EditionParts.h"
#include "HostedLv2Plugin.h"

#include "formats/lv2/Lv2Ports.h"
#include "plugin/ParameterTable.h"

#include <lv2/core/lv2.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

// Declared by the LV2 core since 1.16; the headers of this system do not name it yet.
constexpr const char* kIsSideChain = LV2_CORE_PREFIX "isSideChain";

struct NodeDeleter {
    void operator()(LilvNode* node) const { lilv_node_free(node); }
};
using Node = std::unique_ptr<LilvNode, NodeDeleter>;

class Lv2Edition final : public LoadedEdition {
  public:
    Lv2Edition(std::unique_ptr<HostedLv2Plugin> plugin, std::string target)
        : plugin_(std::move(plugin)), target_(std::move(target)), ours_(isOurs()) {
        const Node sideChain(lilv_new_uri(plugin_->world(), kIsSideChain));
        const Node optional(lilv_new_uri(plugin_->world(), LV2_CORE__connectionOptional));
        for (const uint32_t p : plugin_->audioInputs()) {
            const LilvPort* port = lilv_plugin_get_port_by_index(plugin_->plugin(), p);
            keyPort_.push_back(lilv_port_has_property(plugin_->plugin(), port, sideChain.get()));
            if (keyPort_.back()) ++keyPorts_;
            optionalPort_.push_back(
                lilv_port_has_property(plugin_->plugin(), port, optional.get()));
        }
        for (uint32_t p = 0; p < plugin_->numPorts(); ++p)
            if (plugin_->isControlInput(p)) controls_.push_back(p);
    }

    EditionKind kind() const override { return EditionKind::lv2; }
    std::string name() override { return plugin_->name(); }
    int keyChannels() override { return keyPorts_ >= 2 ? 2 : keyPorts_; }

    void start(double sampleRateHz, int maxBlock, bool) override {
        if (sampleRateHz != plugin_->sampleRate()) reinstantiate(sampleRateHz);
        keys_.prepare(maxBlock);
        plugin_->activate();
        // The latency port is written by a run; an empty one reports it without processing.
        float nothing[1] = {};
        float* none[2] = {nothing, nothing};
        process(none, none, 0, nullptr);
    }
    void stop() override { plugin_->deactivate(); }
    bool handKeyChannels(int count) override {
        if (count < -1 || count > keyChannels()) return false;
        handedKeyChannels_ = count;
        return true;
    }
    int latency() override { return std::max(plugin_->latency(), 0); }
    bool processesDouble() override { return false; }

    // The main pair in order, then the key ports: as many connected as the key has channels
    // (a mono key into the first), the rest unconnected where the plug-in allows it and silent
    // where it does not.
    void process(float* const* inputs, float* const* outputs, int frames,
                 float* const* key) override {
        float* keyBuffers[editionParts::KeyBuffers<float>::kMostChannels] = {};
        const int connected =
            handedKeyChannels_ >= 0
                ? handedKeyChannels_
                : (key ? std::min(connectedKeyChannels_, std::max(keyChannels(), 1)) : 0);
        keys_.arrange(connectedKeyChannels_ > 0 ? key : nullptr, connectedKeyChannels_,
                      std::max(keyChannels(), 1), frames, keyBuffers);
        std::vector<const float*>& ports = portBuffers_;
        ports.clear();
        int main = 0, keyed = 0;
        for (std::size_t i = 0; i < keyPort_.size(); ++i) {
            if (keyPort_[i]) {
                const int channel = keyed++;
                if (channel < connected)
                    ports.push_back(keyBuffers[std::min(channel, keyChannels() - 1)]);
                else
                    ports.push_back(optionalPort_[i] ? nullptr : keys_.silence());
            } else {
                ports.push_back(inputs && main < 2 ? inputs[main] : nullptr);
                ++main;
            }
        }
        plugin_->run(ports.data(), outputs ? outputs : nullOutputs_, static_cast<uint32_t>(frames),
                     ports.size());
    }
    void process(double* const*, double* const*, int, double* const*) override {}

    std::vector<int> parameterIndices() override {
        std::vector<int> indices;
        const int count = ours_ ? kNumParameters : static_cast<int>(controls_.size());
        for (int i = 0; i < count; ++i)
            indices.push_back(i);
        return indices;
    }
    // Our ports follow the core's curves; another plug-in's are taken as linear. A value past an
    // end of our travel lands as far past that end, on the line through both ends.
    void setParameter(int index, double normalized) override {
        if (ours_ && isParameterIndex(index)) {
            const uint32_t port = lv2port::portOf(index);
            const uint32_t zone = lv2port::zonePortOf(index);
            lv2port::PortValues ports = lv2port::toPlain(index, static_cast<float>(normalized));
            if (!(normalized >= 0.0 && normalized <= 1.0) && !std::isnan(normalized)) {
                const lv2port::PortValues atZero = lv2port::toPlain(index, 0.0f);
                const lv2port::PortValues atOne = lv2port::toPlain(index, 1.0f);
                const auto beyond = [&](float zero, float one) {
                    return static_cast<float>(zero + normalized * (double{one} - zero));
                };
                ports = {beyond(atZero.value, atOne.value), beyond(atZero.zone, atOne.zone)};
            }
            plugin_->control(port) = ports.value;
            if (zone != lv2port::kNoPort) plugin_->control(zone) = ports.zone;
            return;
        }
        if (ours_ || index < 0 || index >= static_cast<int>(controls_.size())) return;
        const Range range = rangeOf(controls_[static_cast<std::size_t>(index)]);
        plugin_->control(controls_[static_cast<std::size_t>(index)]) =
            static_cast<float>(range.minimum + normalized * (range.maximum - range.minimum));
    }
    ParameterReading parameter(int index) override {
        if (ours_ && isParameterIndex(index)) {
            const uint32_t port = lv2port::portOf(index);
            const uint32_t zone = lv2port::zonePortOf(index);
            const Range range = rangeOf(port);
            const auto played = static_cast<float>(range.played(plugin_->control(port)));
            const float zonePlayed =
                zone == lv2port::kNoPort
                    ? 0.0f
                    : static_cast<float>(rangeOf(zone).played(plugin_->control(zone)));
            const float normalized = lv2port::toNormalized(index, {played, zonePlayed});
            ParameterReading reading = editionParts::ourReading(index, normalized);
            reading.name = portName(port);
            reading.plain = played;
            reading.minimum = range.minimum;
            reading.maximum = range.maximum;
            return reading;
        }
        if (ours_ || index < 0 || index >= static_cast<int>(controls_.size())) return {};
        const uint32_t port = controls_[static_cast<std::size_t>(index)];
        const Range range = rangeOf(port);
        ParameterReading reading;
        reading.name = portName(port);
        reading.plain = plugin_->control(port);
        reading.minimum = range.minimum;
        reading.maximum = range.maximum;
        const double span = range.maximum - range.minimum;
        reading.normalized = span > 0.0 ? (reading.plain - range.minimum) / span : 0.0;
        char text[32];
        std::snprintf(text, sizeof text, "%g", reading.plain);
        reading.text = text;
        return reading;
    }

    std::vector<std::string> programNames() override { return plugin_->presetNames(); }
    bool selectProgram(int program) override {
        const std::vector<std::string> names = plugin_->presetNames();
        return program >= 0 && program < static_cast<int>(names.size()) &&
               plugin_->applyPreset(names[static_cast<std::size_t>(program)]);
    }

    // A host keeps the control inputs' values in its session.
    std::vector<uint8_t> saveState() override {
        std::vector<std::pair<int, float>> values;
        for (const uint32_t p : controls_)
            values.emplace_back(static_cast<int>(p), plugin_->control(p));
        return editionParts::hostRecord(0, values);
    }
    bool loadState(const std::vector<uint8_t>& bytes) override {
        int program = 0;
        std::vector<std::pair<int, float>> values;
        if (!editionParts::readHostRecord(bytes, program, values)) return false;
        for (const auto& [port, value] : values)
            if (!plugin_->isControlInput(static_cast<uint32_t>(port))) return false;
        for (const auto& [port, value] : values)
            plugin_->control(static_cast<uint32_t>(port)) = value;
        return true;
    }

    void describe(std::ostream& out) override { editionParts::describeLv2(*plugin_, out); }

    double gain() override { return ours_ ? plugin_->control("meter_gain") : -1.0; }

  private:
    struct Range {
        double minimum = 0.0, maximum = 1.0;
        // A port value as our plug-in plays it: a host's value past an end as that end, one that
        // is no number as the minimum (the plug-in then keeps the value before, which a reading
        // of the port alone cannot know).
        double played(float value) const {
            return std::isnan(value) ? minimum
                                     : std::clamp(static_cast<double>(value), minimum, maximum);
        }
    };
    // A port's description never changes; it is looked up once, as hosts read it at loading.
    Range rangeOf(uint32_t port) {
        if (ranges_.size() <= port) ranges_.resize(port + 1);
        if (!ranges_[port]) ranges_[port] = describedRange(port);
        return *ranges_[port];
    }
    std::string portName(uint32_t port) {
        if (names_.size() <= port) names_.resize(port + 1);
        if (!names_[port]) names_[port] = describedName(port);
        return *names_[port];
    }
    Range describedRange(uint32_t port) {
        const LilvPort* p = lilv_plugin_get_port_by_index(plugin_->plugin(), port);
        LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
        lilv_port_get_range(plugin_->plugin(), p, &def, &min, &max);
        Range range;
        if (min) range.minimum = lilv_node_as_float(min);
        if (max) range.maximum = lilv_node_as_float(max);
        lilv_node_free(def);
        lilv_node_free(min);
        lilv_node_free(max);
        return range;
    }
    std::string describedName(uint32_t port) {
        const Node name(lilv_port_get_name(plugin_->plugin(),
                                           lilv_plugin_get_port_by_index(plugin_->plugin(), port)));
        return name ? lilv_node_as_string(name.get()) : "";
    }

    // The format fixes the rate at instantiation: a new instance takes over the control values.
    void reinstantiate(double sampleRateHz) {
        auto fresh = std::make_unique<HostedLv2Plugin>(target_, sampleRateHz);
        if (!fresh->isLoaded()) return;
        for (const uint32_t p : controls_)
            fresh->control(p) = plugin_->control(p);
        plugin_ = std::move(fresh);
    }

    std::unique_ptr<HostedLv2Plugin> plugin_;
    std::string target_;
    bool ours_;
    std::vector<bool> keyPort_;      // per audio input, in port order
    std::vector<bool> optionalPort_; // per audio input: may be left unconnected
    int keyPorts_ = 0;
    int handedKeyChannels_ = -1; // a careless host's count, or -1
    std::vector<uint32_t> controls_;
    std::vector<std::optional<Range>> ranges_;
    std::vector<std::optional<std::string>> names_;
    editionParts::KeyBuffers<float> keys_;
    std::vector<const float*> portBuffers_;
    float* nullOutputs_[2] = {};
};

} // namespace

std::unique_ptr<LoadedEdition> makeLv2Edition(const std::string& bundleOrUri, std::string& error) {
    auto plugin = std::make_unique<HostedLv2Plugin>(bundleOrUri, 48000.0);
    if (!plugin->isLoaded()) {
        error = "cannot load the LV2 plug-in " + bundleOrUri + ": " + plugin->error();
        return nullptr;
    }
    return std::make_unique<Lv2Edition>(std::move(plugin), bundleOrUri);
}
