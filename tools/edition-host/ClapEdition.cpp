#include "EditionParts.h"
#include "HostedClapPlugin.h"

#include "plugin/FactoryPrograms.h"
#include "plugin/ParameterTable.h"

#include <clap/ext/audio-ports.h>
#include <clap/ext/latency.h>

#include <algorithm>

namespace {

class ClapEdition final : public LoadedEdition {
  public:
    explicit ClapEdition(std::unique_ptr<HostedClapPlugin> plugin)
        : plugin_(std::move(plugin)), ours_(isOurs()) {
        if (const auto* params = plugin_->extension<clap_plugin_params_t>(CLAP_EXT_PARAMS))
            for (uint32_t i = 0; i < params->count(plugin_->plugin()); ++i) {
                clap_param_info_t info{};
                if (params->get_info(plugin_->plugin(), i, &info)) infos_.push_back(info);
            }
        const auto* ports = plugin_->extension<clap_plugin_audio_ports_t>(CLAP_EXT_AUDIO_PORTS);
        const uint32_t inputs = ports ? ports->count(plugin_->plugin(), true) : 0;
        for (uint32_t i = 0; i < inputs; ++i) {
            clap_audio_port_info_t info{};
            if (!ports->get(plugin_->plugin(), i, true, &info)) continue;
            if (i == 0) doubles_ = (info.flags & CLAP_AUDIO_PORT_SUPPORTS_64BITS) != 0;
            if (i > 0 && !(info.flags & CLAP_AUDIO_PORT_IS_MAIN) && keyPort_ < 0) {
                keyPort_ = static_cast<int>(i);
                keyPortChannels_ = info.channel_count >= 2 ? 2 : 1;
            }
        }
        inputPorts_ = static_cast<int>(inputs);
    }

    EditionKind kind() const override { return EditionKind::clap; }
    std::string name() override { return plugin_->descriptor()->name; }
    int keyChannels() override { return keyPort_ < 0 ? 0 : keyPortChannels_; }

    void start(double sampleRateHz, int maxBlock, bool) override {
        keys32_.prepare(maxBlock);
        keys64_.prepare(maxBlock);
        plugin_->activate(sampleRateHz, static_cast<uint32_t>(maxBlock));
        active_ = true;
    }
    void stop() override {
        plugin_->deactivate();
        active_ = false;
    }
    bool handKeyChannels(int count) override {
        if (count < -1 || count > editionParts::KeyBuffers<float>::kMostChannels) return false;
        handedKeyChannels_ = count;
        return true;
    }
    int latency() override {
        const auto* latency = plugin_->extension<clap_plugin_latency_t>(CLAP_EXT_LATENCY);
        return latency ? static_cast<int>(latency->get(plugin_->plugin())) : 0;
    }
    bool processesDouble() override { return doubles_; }

    void process(float* const* inputs, float* const* outputs, int frames,
                 float* const* key) override {
        run(inputs, outputs, frames, key, keys32_);
    }
    void process(double* const* inputs, double* const* outputs, int frames,
                 double* const* key) override {
        run(inputs, outputs, frames, key, keys64_);
    }

    std::vector<int> parameterIndices() override {
        std::vector<int> ids;
        for (const clap_param_info_t& info : infos_)
            ids.push_back(static_cast<int>(info.id));
        return ids;
    }
    void setParameter(int index, double normalized) override {
        setParameterAt(index, normalized, 0);
    }
    // Our plain values follow the core's curves; another plug-in's are taken as linear. A value
    // past an end of our travel lands as far past that end, on the line through both ends.
    void setParameterAt(int index, double normalized, int frame) override {
        const clap_param_info_t* info = infoOf(index);
        if (!info) return;
        double plain = info->min_value + normalized * (info->max_value - info->min_value);
        if (ours_ && isParameterIndex(index)) {
            const PlainScale& scale = kParameters[static_cast<std::size_t>(index)].plain;
            const double atZero = scale.toPlain(0.0f), atOne = scale.toPlain(1.0f);
            plain = normalized >= 0.0 && normalized <= 1.0
                        ? scale.toPlain(static_cast<float>(normalized))
                        : atZero + normalized * (atOne - atZero);
        }
        const HostedClapPlugin::Change change{static_cast<uint32_t>(std::max(frame, 0)), info->id,
                                              plain};
        // Outside processing a host flushes a change at once; inside, it goes with the block.
        if (active_)
            pending_.push_back(change);
        else
            plugin_->flush({change});
    }
    // The inverse of setParameterAt: a plain value past the declared range is as far past 0 ... 1.
    bool valueFromText(int index, const std::string& text, double& normalized) override {
        const clap_param_info_t* info = infoOf(index);
        const auto* params = plugin_->extension<clap_plugin_params_t>(CLAP_EXT_PARAMS);
        double plain = 0.0;
        if (!info || !params || !params->text_to_value ||
            !params->text_to_value(plugin_->plugin(), info->id, text.c_str(), &plain))
            return false;
        normalized = (plain - info->min_value) / (info->max_value - info->min_value);
        if (ours_ && isParameterIndex(index)) {
            const PlainScale& scale = kParameters[static_cast<std::size_t>(index)].plain;
            const double atZero = scale.toPlain(0.0f), atOne = scale.toPlain(1.0f);
            normalized = plain >= info->min_value && plain <= info->max_value
                             ? scale.toNormalized(plain)
                             : (plain - atZero) / (atOne - atZero);
        }
        return true;
    }
    ParameterReading parameter(int index) override {
        const clap_param_info_t* info = infoOf(index);
        if (!info) return {};
        ParameterReading reading;
        reading.name = info->name;
        reading.plain = plugin_->paramValue(info->id);
        reading.minimum = info->min_value;
        reading.maximum = info->max_value;
        reading.text = plugin_->valueText(info->id, reading.plain);
        const double span = info->max_value - info->min_value;
        reading.normalized =
            ours_ && isParameterIndex(index)
                ? kParameters[static_cast<std::size_t>(index)].plain.toNormalized(reading.plain)
                : (span > 0.0 ? (reading.plain - info->min_value) / span : 0.0);
        return reading;
    }

    // The format has no presets: our factory programs are set value by value, as a host's
    // preset browser does with the values the programs hold.
    std::vector<std::string> programNames() override {
        std::vector<std::string> names;
        for (int p = 0; ours_ && p < kNumPrograms; ++p)
            names.emplace_back(factoryProgramName(p));
        return names;
    }
    bool selectProgram(int program) override {
        if (!ours_ || program < 0 || program >= kNumPrograms) return false;
        for (const clap_param_info_t& info : infos_)
            if (isParameterIndex(static_cast<int>(info.id)))
                setParameter(static_cast<int>(info.id),
                             factoryProgramValue(program, static_cast<int>(info.id)));
        return true;
    }

    std::vector<uint8_t> saveState() override { return plugin_->saveState(); }
    bool loadState(const std::vector<uint8_t>& bytes) override { return plugin_->loadState(bytes); }

    void describe(std::ostream& out) override {
        editionParts::describeThroughInterface(*this, out);
    }

    double gain() override { return -1.0; }

  private:
    const clap_param_info_t* infoOf(int index) const {
        for (const clap_param_info_t& info : infos_)
            if (static_cast<int>(info.id) == index) return &info;
        return nullptr;
    }

    template <typename Sample>
    void run(Sample* const* inputs, Sample* const* outputs, int frames, Sample* const* key,
             editionParts::KeyBuffers<Sample>& keys) {
        // The port's channels, the key's own where it has them: silence while no key is
        // connected, none in a block of a connected key without buffers.
        Sample* keyBuffers[editionParts::KeyBuffers<Sample>::kMostChannels] = {};
        const int keyChannelsHanded =
            handedKeyChannels_ >= 0 ? handedKeyChannels_ : keyPortChannels_;
        keys.arrange(connectedKeyChannels_ > 0 ? key : nullptr, connectedKeyChannels_,
                     keyChannelsHanded, frames, keyBuffers);
        Sample** keyList = connectedKeyChannels_ > 0 && !key ? nullptr : keyBuffers;
        std::vector<clap_audio_buffer_t> in(static_cast<std::size_t>(std::max(inputPorts_, 1)));
        clap_audio_buffer_t out{};
        out.channel_count = in[0].channel_count = 2;
        if constexpr (sizeof(Sample) == sizeof(float)) {
            in[0].data32 = const_cast<Sample**>(inputs);
            out.data32 = const_cast<Sample**>(outputs);
        } else {
            in[0].data64 = const_cast<Sample**>(inputs);
            out.data64 = const_cast<Sample**>(outputs);
        }
        if (keyPort_ > 0) {
            clap_audio_buffer_t& k = in[static_cast<std::size_t>(keyPort_)];
            k.channel_count = static_cast<uint32_t>(keyChannelsHanded);
            if constexpr (sizeof(Sample) == sizeof(float))
                k.data32 = keyList;
            else
                k.data64 = keyList;
        }
        plugin_->outputEvents.clear();
        // The events in the order of their samples, as the format asks of a host.
        std::stable_sort(pending_.begin(), pending_.end(),
                         [](const HostedClapPlugin::Change& a, const HostedClapPlugin::Change& b) {
                             return a.time < b.time;
                         });
        const auto events = HostedClapPlugin::valueEvents(pending_);
        pending_.clear();
        plugin_->processRaw(in.data(), static_cast<uint32_t>(inputPorts_), &out, 1,
                            static_cast<uint32_t>(frames), events);
    }

    std::unique_ptr<HostedClapPlugin> plugin_;
    bool ours_;
    std::vector<clap_param_info_t> infos_;
    bool doubles_ = false;
    int inputPorts_ = 0;
    int keyPort_ = -1;
    int keyPortChannels_ = 0;
    int handedKeyChannels_ = -1; // a careless host's count, or -1
    bool active_ = false;
    std::vector<HostedClapPlugin::Change> pending_;
    editionParts::KeyBuffers<float> keys32_;
    editionParts::KeyBuffers<double> keys64_;
};

} // namespace

std::unique_ptr<LoadedEdition> makeClapEdition(const std::string& modulePath, std::string& error) {
    auto plugin = std::make_unique<HostedClapPlugin>(modulePath);
    if (!plugin->isLoaded()) {
        error = "cannot load the CLAP plug-in " + modulePath + ": " + plugin->error();
        return nullptr;
    }
    return std::make_unique<ClapEdition>(std::move(plugin));
}
