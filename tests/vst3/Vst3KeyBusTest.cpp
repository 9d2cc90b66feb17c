// The key bus as VST 3 hosts drive it: heard only while the host has switched it on, whatever
// an inactive bus's buffers hold, and cut with the main signal wherever a parameter change
// cuts the host's block.
#include "Vst3TestSupport.h"

#include <cmath>
#include <functional>
#include <memory>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr ParamID kScSourceId = 21;
constexpr int kFrames = 16384;
constexpr int kBlock = 512;

// A loud main signal, and a key of bursts louder still, with which an external source ducks
// the main signal hard.
class Vst3KeyBus : public testing::Test {
  protected:
    void SetUp() override {
        for (int n = 0; n < kFrames; ++n) {
            const bool burst = (n / 2000) % 2 == 1;
            key_.left[n] = burst ? 0.9f * std::sin(0.07f * static_cast<float>(n)) : 0.0f;
            key_.right[n] = burst ? 0.9f * std::cos(0.07f * static_cast<float>(n)) : 0.0f;
        }
    }

    std::unique_ptr<HostedVst3Plugin> externalPlugin() {
        auto plugin = loadVst3();
        IEditController* c = plugin->controller();
        c->setParamNormalized(kScSourceId, 1.0);
        c->setParamNormalized(3, c->plainParamToNormalized(3, -30.0));
        c->setParamNormalized(5, 1.0); // 8:1
        plugin->setup(48000.0, kSample32);
        return plugin;
    }

    // Renders in host blocks with the key bus on or off, each block with the changes queued for
    // it; with a cut, the host cuts every block there itself and queues the changes after it.
    Stereo<float> render(HostedVst3Plugin& plugin, Stereo<float>& key, bool busOn,
                         const std::function<std::vector<ParameterPoint>(int)>& changesAt = {},
                         int cut = 0) {
        // Switched before processing starts, as hosts switch buses.
        plugin.component()->activateBus(kAudio, kInput, 1, busOn);
        plugin.activate(true);
        Stereo<float> in = main_, out(kFrames);
        for (int start = 0; start < kFrames; start += kBlock) {
            std::vector<ParameterPoint> changes =
                changesAt ? changesAt(start) : std::vector<ParameterPoint>{};
            if (cut > 0) {
                process(plugin, in, out, key, start, cut, {});
                for (ParameterPoint& p : changes)
                    p.offset -= cut;
                process(plugin, in, out, key, start + cut, kBlock - cut, changes);
            } else {
                process(plugin, in, out, key, start, kBlock, changes);
            }
        }
        return out;
    }

    static void process(HostedVst3Plugin& plugin, Stereo<float>& in, Stereo<float>& out,
                        Stereo<float>& key, int start, int count,
                        const std::vector<ParameterPoint>& changes) {
        const auto at = static_cast<std::size_t>(start);
        auto inputs = in.from(at), outputs = out.from(at), keys = key.from(at);
        AudioBusBuffers buses[2] = {}, output{};
        buses[0].numChannels = buses[1].numChannels = output.numChannels = 2;
        buses[0].channelBuffers32 = inputs.data();
        buses[1].channelBuffers32 = keys.data();
        output.channelBuffers32 = outputs.data();
        ParameterChanges queued(changes);
        ProcessData data;
        data.symbolicSampleSize = kSample32;
        data.numSamples = count;
        data.numInputs = 2;
        data.numOutputs = 1;
        data.inputs = buses;
        data.outputs = &output;
        data.inputParameterChanges = &queued;
        plugin.processData(data);
    }

    Stereo<float> main_ = bursts<float>(kFrames, 48000.0);
    Stereo<float> key_{static_cast<std::size_t>(kFrames)};
    Stereo<float> silence_{static_cast<std::size_t>(kFrames)};
};

TEST_F(Vst3KeyBus, AnInactiveBusIsSilenceWhateverItsBuffersHold) {
    const Stereo<float> silent = render(*externalPlugin(), silence_, true);
    EXPECT_FALSE(sameSamples(render(*externalPlugin(), key_, true), silent)) << "heard when on";
    EXPECT_TRUE(sameSamples(render(*externalPlugin(), key_, false), silent));
}

// Make Up Gain changes inside every block: the plug-in cuts the block there, and the key's part
// after the cut is the one beside the main signal's, as if the host had cut the block itself.
TEST_F(Vst3KeyBus, AChangeInsideABlockCutsTheKeyWhereItCutsTheMainSignal) {
    constexpr int kCut = 200;
    const auto changes = [](int start) {
        return std::vector<ParameterPoint>{{10, kCut, (start / kBlock) % 2 ? 0.55 : 0.5}};
    };
    const Stereo<float> cutByPlugin = render(*externalPlugin(), key_, true, changes);
    const Stereo<float> cutByHost = render(*externalPlugin(), key_, true, changes, kCut);
    EXPECT_TRUE(sameSamples(cutByPlugin, cutByHost));
}

} // namespace
