#include "AudioPlugin.h"

#include "HostedLv2Plugin.h"
#include "HostedPlugin.h"
#include "OwnPlugin.h"

#include <sys/stat.h>

#include <vector>

namespace {

// Only our plug-in answers readout 501 with its gain; other plug-ins are not asked for
// parameters they do not have.
constexpr int kGainReadout = 501;

class Vst2AudioPlugin final : public AudioPlugin {
  public:
    explicit Vst2AudioPlugin(HostedPlugin& plugin) : plugin_(plugin) {}
    void start(double sampleRateHz, int blockSize) override {
        plugin_.setSampleRate(static_cast<float>(sampleRateHz));
        plugin_.setBlockSize(blockSize);
        plugin_.resume();
    }
    void stop() override { plugin_.suspend(); }
    // Hosts read the latency after resume: plug-ins may set it there.
    int latency() override { return plugin_.effect().initialDelay; }
    bool processesDouble() override {
        return (plugin_.effect().flags & vst2::effFlagsCanDoubleReplacing) != 0;
    }
    void process(float** inputs, float** outputs, int frames) override {
        plugin_.process(inputs, outputs, frames);
    }
    void process(double** inputs, double** outputs, int frames) override {
        plugin_.process(inputs, outputs, frames);
    }
    double gain() override {
        if (!isOwnPlugin(plugin_)) return -1.0;
        return static_cast<double>(plugin_.getParameter(kGainReadout));
    }

  private:
    HostedPlugin& plugin_;
};

class Lv2AudioPlugin final : public AudioPlugin {
  public:
    Lv2AudioPlugin(std::unique_ptr<HostedLv2Plugin>& plugin, std::string target)
        : plugin_(plugin), target_(std::move(target)) {}

    void start(double sampleRateHz, int) override {
        if (sampleRateHz != plugin_->sampleRate()) reinstantiate(sampleRateHz);
        plugin_->activate();
        // The latency port is written by a run; an empty one reports it without processing.
        float nothing[1] = {};
        const float* inputs[2] = {nothing, nothing};
        float* outputs[2] = {nothing, nothing};
        plugin_->run(inputs, outputs, 0);
    }
    void stop() override { plugin_->deactivate(); }
    int latency() override { return std::max(plugin_->latency(), 0); }
    bool processesDouble() override { return false; }
    void process(float** inputs, float** outputs, int frames) override {
        plugin_->run(inputs, outputs, static_cast<uint32_t>(frames));
    }
    void process(double**, double**, int) override {}
    double gain() override {
        if (!isOwnPlugin(*plugin_)) return -1.0;
        return static_cast<double>(plugin_->control("meter_gain"));
    }

  private:
    // LV2 fixes the rate at instantiation: a new instance takes over the control values.
    void reinstantiate(double sampleRateHz) {
        auto fresh = std::make_unique<HostedLv2Plugin>(target_, sampleRateHz);
        if (!fresh->isLoaded()) return;
        for (uint32_t p = 0; p < plugin_->numPorts(); ++p)
            if (plugin_->isControlInput(p)) fresh->control(p) = plugin_->control(p);
        plugin_ = std::move(fresh);
    }

    std::unique_ptr<HostedLv2Plugin>& plugin_;
    std::string target_;
};

} // namespace

bool isLv2Target(const std::string& pathOrUri) {
    if (pathOrUri.find("://") != std::string::npos || pathOrUri.rfind("urn:", 0) == 0) return true;
    std::string path = pathOrUri;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".lv2") == 0) return true;
    struct stat info {};
    return stat(pathOrUri.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::unique_ptr<AudioPlugin> wrapVst2(HostedPlugin& plugin) {
    return std::make_unique<Vst2AudioPlugin>(plugin);
}

std::unique_ptr<AudioPlugin> wrapLv2(std::unique_ptr<HostedLv2Plugin>& plugin,
                                     const std::string& target) {
    return std::make_unique<Lv2AudioPlugin>(plugin, target);
}
