#pragma once

#include <lilv/lilv.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// An LV2 plug-in loaded through lilv as a host loads it: found by URI on LV2_PATH and the
// standard folders, or by the path of its bundle; every control port is connected to a value
// of this host, starting at the port's default; audio ports are connected per call.
class HostedLv2Plugin {
  public:
    // `bundleOrUri`: a URI with a scheme (http:, urn:, file:), or else a bundle folder path.
    HostedLv2Plugin(const std::string& bundleOrUri, double sampleRateHz);
    ~HostedLv2Plugin();
    HostedLv2Plugin(const HostedLv2Plugin&) = delete;
    HostedLv2Plugin& operator=(const HostedLv2Plugin&) = delete;

    bool isLoaded() const { return instance_ != nullptr; }
    const std::string& error() const { return error_; }
    LilvWorld* world() { return world_; }
    const LilvPlugin* plugin() { return plugin_; }
    std::string uri() const;
    std::string name() const;
    double sampleRate() const { return sampleRateHz_; }
    // The host's URID map, which it shares with the plug-in's UI.
    LV2_URID_Map* uridMap();

    uint32_t numPorts() const { return static_cast<uint32_t>(controls_.size()); }
    // The index of the port with `symbol`, or -1.
    int portIndex(const std::string& symbol) const;
    bool isControlInput(uint32_t port) const;
    bool isControlOutput(uint32_t port) const;
    bool isAudio(uint32_t port) const;
    const std::vector<uint32_t>& audioInputs() const { return audioInputs_; }
    const std::vector<uint32_t>& audioOutputs() const { return audioOutputs_; }
    // The port's value buffer: inputs set before a run, outputs read after it.
    float& control(uint32_t port) { return controls_[port]; }
    void setControl(const std::string& symbol, float value);
    float control(const std::string& symbol) const;
    // Disconnects a control port (a host is not allowed to; for testing bad hosts).
    void disconnectControl(uint32_t port);

    // Names of the presets in the order of their URIs; applyPreset sets their port values.
    std::vector<std::string> presetNames();
    bool applyPreset(const std::string& name);

    void activate();
    void deactivate();
    // Connects the audio ports to these arrays (null leaves a port unconnected) and runs:
    // `inputCount` inputs in port order, the main pair first; inputs past them, such as a key's,
    // are left unconnected.
    void run(const float* const* inputs, float* const* outputs, uint32_t frames,
             std::size_t inputCount = 2);
    // The latency port's value after the last run, -1 without a latency port.
    int latency() const;

  private:
    struct UridMap;

    std::string error_;
    LilvWorld* world_ = nullptr;
    const LilvPlugin* plugin_ = nullptr;
    LilvInstance* instance_ = nullptr;
    std::unique_ptr<UridMap> urids_;
    std::vector<float> controls_;
    std::vector<uint32_t> audioInputs_, audioOutputs_;
    std::vector<char> kinds_; // 'i' control input, 'o' control output, 'a' audio, '-' other
    int latencyPort_ = -1;
    double sampleRateHz_;
    bool active_ = false;
};
