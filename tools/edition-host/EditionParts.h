#pragma once

#include "LoadedEdition.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

class HostedPlugin;
class HostedLv2Plugin;

// Each format's side of LoadedEdition, made from a module that loaded.
std::unique_ptr<LoadedEdition> makeVst2Edition(std::unique_ptr<HostedPlugin> plugin);
std::unique_ptr<LoadedEdition> makeVst3Edition(const std::string& bundlePath, std::string& error);
std::unique_ptr<LoadedEdition> makeClapEdition(const std::string& modulePath, std::string& error);
std::unique_ptr<LoadedEdition> makeLv2Edition(const std::string& bundleOrUri, std::string& error);

// What the editions share for our own plug-in and for the state a host keeps of its own.
namespace editionParts {

// What the plug-in tells its host, in the format's own terms, as --info shows it: the VST 2.4
// record and dispatcher answers, the LV2 description and ports, and for the others what the
// host interface reads (name, latency, key input, parameters, programs).
void describeVst2(HostedPlugin& plugin, std::ostream& out);
void describeLv2(HostedLv2Plugin& plugin, std::ostream& out);
void describeThroughInterface(LoadedEdition& edition, std::ostream& out);

// The reading of our parameter `index` at `normalized`, in the units of the core's scales.
ParameterReading ourReading(int index, double normalized);

// A host's own record of a program number and every parameter's value, for editions that
// keep no state of their own: "QVLH", the program, the count, then index and value pairs.
std::vector<uint8_t> hostRecord(int program, const std::vector<std::pair<int, float>>& values);
bool readHostRecord(const std::vector<uint8_t>& bytes, int& program,
                    std::vector<std::pair<int, float>>& values);

// Stereo buffers for a host that has fewer than `channels` real ones: silence for a missing
// key, the same channel twice for a mono key into a stereo input, and their mean for a stereo
// key into a mono input; a channel the key holds as null is handed on as null. Sized once at
// start.
template <typename Sample> class KeyBuffers {
  public:
    // The most channels a host hands a key input here, a careless host's wrong count included.
    static constexpr int kMostChannels = 3;

    void prepare(int maxBlock) {
        silence_.assign(static_cast<std::size_t>(maxBlock), Sample(0));
        mixed_.assign(static_cast<std::size_t>(maxBlock), Sample(0));
    }
    // `wanted` channels for the plug-in from the `given` channels of `key` (null: silence).
    void arrange(Sample* const* key, int given, int wanted, int frames, Sample** out) {
        for (int c = 0; c < wanted; ++c)
            out[c] = silence_.data();
        if (!key || given == 0) return;
        if (given == 2 && wanted == 1) {
            if (!key[0] || !key[1]) return;
            for (int n = 0; n < frames && n < static_cast<int>(mixed_.size()); ++n)
                mixed_[static_cast<std::size_t>(n)] = Sample(0.5) * (key[0][n] + key[1][n]);
            out[0] = mixed_.data();
            return;
        }
        for (int c = 0; c < wanted && c < 2; ++c)
            out[c] = key[c < given ? c : 0];
    }

    Sample* silence() { return silence_.data(); }

  private:
    std::vector<Sample> silence_, mixed_;
};

} // namespace editionParts
