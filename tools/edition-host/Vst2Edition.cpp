#include "EditionParts.h"
#include "HostedPlugin.h"

namespace {

// Only our plug-in answers readout 501 with its gain; another is not asked for parameters it
// does not have.
constexpr int kGainReadout = 501;

class Vst2Edition final : public LoadedEdition {
  public:
    explicit Vst2Edition(std::unique_ptr<HostedPlugin> plugin)
        : plugin_(std::move(plugin)), ours_(isOurs()) {}

    EditionKind kind() const override { return EditionKind::vst2; }
    std::string name() override { return plugin_->effectName(); }
    int keyChannels() override { return 0; }
    bool handKeyChannels(int) override { return false; }

    void start(double sampleRateHz, int maxBlock, bool) override {
        plugin_->setSampleRate(static_cast<float>(sampleRateHz));
        plugin_->setBlockSize(maxBlock);
        plugin_->resume();
    }
    void stop() override { plugin_->suspend(); }
    // Hosts read the latency after resume: plug-ins may set it there.
    int latency() override { return plugin_->effect().initialDelay; }
    bool processesDouble() override {
        return (plugin_->effect().flags & vst2::effFlagsCanDoubleReplacing) != 0;
    }
    void process(float* const* inputs, float* const* outputs, int frames, float* const*) override {
        plugin_->process(const_cast<float**>(inputs), const_cast<float**>(outputs), frames);
    }
    void process(double* const* inputs, double* const* outputs, int frames,
                 double* const*) override {
        plugin_->process(const_cast<double**>(inputs), const_cast<double**>(outputs), frames);
    }

    std::vector<int> parameterIndices() override {
        std::vector<int> indices;
        for (int i = 0; i < plugin_->effect().numParams; ++i)
            indices.push_back(i);
        return indices;
    }
    void setParameter(int index, double normalized) override {
        if (index >= 0 && index < plugin_->effect().numParams)
            plugin_->setParameter(index, static_cast<float>(normalized));
    }
    ParameterReading parameter(int index) override {
        if (index < 0 || index >= plugin_->effect().numParams) return {};
        const double normalized = plugin_->getParameter(index);
        ParameterReading reading;
        if (ours_) reading = editionParts::ourReading(index, normalized);
        reading.name = plugin_->parameterName(index);
        reading.normalized = normalized;
        // Another plug-in's curves are unknown: its plain value is the normalized one.
        if (!ours_) reading.plain = normalized;
        reading.text = plugin_->parameterDisplay(index);
        const std::string label = plugin_->parameterLabel(index);
        if (!label.empty()) reading.text += " " + label;
        return reading;
    }

    std::vector<std::string> programNames() override {
        std::vector<std::string> names;
        for (int i = 0; i < plugin_->effect().numPrograms; ++i)
            names.push_back(plugin_->programNameIndexed(i));
        return names;
    }
    bool selectProgram(int program) override {
        if (program < 0 || program >= plugin_->effect().numPrograms) return false;
        plugin_->setProgram(program);
        return true;
    }

    // A host keeps the program and every value, as it does for a plug-in without chunks.
    std::vector<uint8_t> saveState() override {
        std::vector<std::pair<int, float>> values;
        for (int i = 0; i < plugin_->effect().numParams; ++i)
            values.emplace_back(i, plugin_->getParameter(i));
        return editionParts::hostRecord(plugin_->program(), values);
    }
    bool loadState(const std::vector<uint8_t>& bytes) override {
        int program = 0;
        std::vector<std::pair<int, float>> values;
        if (!editionParts::readHostRecord(bytes, program, values) || program < 0 ||
            program >= plugin_->effect().numPrograms)
            return false;
        plugin_->setProgram(program);
        for (const auto& [index, value] : values)
            setParameter(index, value);
        return true;
    }

    void describe(std::ostream& out) override { editionParts::describeVst2(*plugin_, out); }

    double gain() override {
        return ours_ ? static_cast<double>(plugin_->getParameter(kGainReadout)) : -1.0;
    }

  private:
    std::unique_ptr<HostedPlugin> plugin_;
    bool ours_;
};

} // namespace

std::unique_ptr<LoadedEdition> makeVst2Edition(std::unique_ptr<HostedPlugin> plugin) {
    return std::make_unique<Vst2Edition>(std::move(plugin));
}
