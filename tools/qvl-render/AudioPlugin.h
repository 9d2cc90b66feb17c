#pragma once

#include <memory>
#include <string>

class HostedPlugin;
class HostedLv2Plugin;

// A loaded plug-in of either edition as rendering and timing use it.
class AudioPlugin {
  public:
    virtual ~AudioPlugin() = default;

    // Prepares processing at this rate in blocks of at most `blockSize` frames (the host's
    // resume or activate); the latency is known afterwards.
    virtual void start(double sampleRateHz, int blockSize) = 0;
    virtual void stop() = 0;
    virtual int latency() = 0;
    virtual bool processesDouble() = 0;
    virtual void process(float** inputs, float** outputs, int frames) = 0;
    // Only when processesDouble().
    virtual void process(double** inputs, double** outputs, int frames) = 0;
    // The linear gain the plug-in shows on its gain-reduction meter after the last call, or
    // a negative value when it is not our plug-in and says nothing of the kind.
    virtual double gain() = 0;
};

// The LV2 edition is named by its bundle folder (a directory or a path ending in .lv2) or by
// its URI; anything else is a VST 2.4 module file.
bool isLv2Target(const std::string& pathOrUri);

std::unique_ptr<AudioPlugin> wrapVst2(HostedPlugin& plugin);
// `target` is what the plug-in was loaded from; a new rate instantiates it again with the
// same control values.
std::unique_ptr<AudioPlugin> wrapLv2(std::unique_ptr<HostedLv2Plugin>& plugin,
                                     const std::string& target);
