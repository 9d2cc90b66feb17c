#include "EditionParts.h"
#include "HostedVst3Plugin.h"

#include "plugin/ParameterTable.h"

#include <algorithm>
#include <cstring>
#include <iterator>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kKeyBus = 1;

class Vst3Edition final : public LoadedEdition {
  public:
    explicit Vst3Edition(std::unique_ptr<HostedVst3Plugin> plugin) : plugin_(std::move(plugin)) {
        IPluginFactory* factory = plugin_->factory();
        for (int32 i = 0; i < factory->countClasses() && name_.empty(); ++i) {
            PClassInfo info{};
            if (factory->getClassInfo(i, &info) == kResultOk &&
                std::strcmp(info.category, kVstAudioEffectClass) == 0)
                name_ = info.name;
        }
        ours_ = isOurs();
        IEditController* c = plugin_->controller();
        for (int32 i = 0; i < c->getParameterCount(); ++i) {
            Vst::ParameterInfo info{};
            if (c->getParameterInfo(i, info) != kResultOk) continue;
            if (info.flags & Vst::ParameterInfo::kIsProgramChange) {
                programId_ = info.id;
                programSteps_ = info.stepCount;
            } else if (!ours_ || info.id < static_cast<ParamID>(kNumParameters)) {
                ids_.push_back(static_cast<int>(info.id));
            }
        }
    }

    EditionKind kind() const override { return EditionKind::vst3; }
    std::string name() override { return name_; }

    int keyChannels() override {
        BusInfo bus{};
        if (plugin_->component()->getBusCount(kAudio, kInput) <= kKeyBus ||
            plugin_->component()->getBusInfo(kAudio, kInput, kKeyBus, bus) != kResultOk ||
            bus.busType != kAux)
            return 0;
        return bus.channelCount >= 2 ? 2 : 1;
    }

    // The key bus is arranged for the connected key's channels where the plug-in takes them,
    // else as the plug-in answers, and is active while a key is connected.
    void start(double sampleRateHz, int maxBlock, bool doublePrecision) override {
        const bool hasKey = keyChannels() > 0;
        const SpeakerArrangement key =
            connectedKeyChannels_ == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
        SpeakerArrangement inputs[2] = {SpeakerArr::kStereo, key};
        SpeakerArrangement output = SpeakerArr::kStereo;
        plugin_->processor()->setBusArrangements(inputs, hasKey ? 2 : 1, &output, 1);
        keyBusChannels_ = 0;
        SpeakerArrangement arranged = 0;
        if (hasKey &&
            plugin_->processor()->getBusArrangement(kInput, kKeyBus, arranged) == kResultOk)
            keyBusChannels_ = SpeakerArr::getChannelCount(arranged);
        keyConnectionChanged();
        sampleSize_ = doublePrecision && processesDouble() ? kSample64 : kSample32;
        plugin_->setup(sampleRateHz, sampleSize_, maxBlock);
        keys32_.prepare(maxBlock);
        keys64_.prepare(maxBlock);
        plugin_->activate(true);
    }
    void stop() override { plugin_->activate(false); }
    bool handKeyChannels(int count) override {
        if (count < -1 || count > editionParts::KeyBuffers<float>::kMostChannels) return false;
        handedKeyChannels_ = count;
        return true;
    }
    int latency() override { return static_cast<int>(plugin_->processor()->getLatencySamples()); }
    bool processesDouble() override {
        return plugin_->processor()->canProcessSampleSize(kSample64) == kResultOk;
    }

    void process(float* const* inputs, float* const* outputs, int frames,
                 float* const* key) override {
        run(inputs, outputs, frames, key, keys32_);
    }
    void process(double* const* inputs, double* const* outputs, int frames,
                 double* const* key) override {
        run(inputs, outputs, frames, key, keys64_);
    }

    std::vector<int> parameterIndices() override { return ids_; }
    void setParameter(int index, double normalized) override {
        const auto id = static_cast<ParamID>(index);
        const double own = ownNormalized(index, normalized);
        plugin_->controller()->setParamNormalized(id, own);
        pending_.push_back({id, 0, own});
    }
    // A point in the block reaches the processor alone, as a host's automation lane sends it.
    void setParameterAt(int index, double normalized, int frame) override {
        pending_.push_back({static_cast<ParamID>(index), frame, ownNormalized(index, normalized)});
    }
    bool valueFromText(int index, const std::string& text, double& normalized) override {
        String128 typed{};
        for (std::size_t i = 0; i < text.size() && i + 1 < std::size(typed); ++i)
            typed[i] = static_cast<TChar>(static_cast<unsigned char>(text[i]));
        ParamValue own = 0.0;
        if (plugin_->controller()->getParamValueByString(static_cast<ParamID>(index), typed, own) !=
            kResultOk)
            return false;
        normalized = isOurParameter(index)
                         ? valueFromRising(kParameters[static_cast<std::size_t>(index)].plain, own)
                         : own;
        return true;
    }
    // The range is the plain values at the ends of the host's travel, as hosts read it.
    ParameterReading parameter(int index) override {
        const auto id = static_cast<ParamID>(index);
        IEditController* c = plugin_->controller();
        ParameterReading reading;
        for (int32 i = 0; i < c->getParameterCount(); ++i) {
            Vst::ParameterInfo info{};
            if (c->getParameterInfo(i, info) == kResultOk && info.id == id)
                reading.name = asciiText(info.title);
        }
        const double own = c->getParamNormalized(id);
        reading.normalized =
            isOurParameter(index)
                ? valueFromRising(kParameters[static_cast<std::size_t>(index)].plain, own)
                : own;
        reading.plain = c->normalizedParamToPlain(id, own);
        reading.minimum = c->normalizedParamToPlain(id, 0.0);
        reading.maximum = c->normalizedParamToPlain(id, 1.0);
        reading.text = plugin_->text(id, own);
        return reading;
    }

    std::vector<std::string> programNames() override {
        std::vector<std::string> names;
        if (programId_ == kNoParamId) return names;
        IUnitInfo* units = plugin_->unitInfo();
        ProgramListInfo list{};
        const bool named = units && units->getProgramListCount() > 0 &&
                           units->getProgramListInfo(0, list) == kResultOk;
        for (int32 p = 0; p <= programSteps_; ++p) {
            String128 text{};
            names.push_back(named && units->getProgramName(list.id, p, text) == kResultOk
                                ? asciiText(text)
                                : "Program " + std::to_string(p));
        }
        return names;
    }
    bool selectProgram(int program) override {
        if (programId_ == kNoParamId || program < 0 || program > programSteps_) return false;
        const double value = programSteps_ > 0 ? double(program) / programSteps_ : 0.0;
        plugin_->controller()->setParamNormalized(programId_, value);
        pending_.push_back({programId_, 0, value});
        return true;
    }

    std::vector<uint8_t> saveState() override { return plugin_->state(); }
    bool loadState(const std::vector<uint8_t>& bytes) override {
        return plugin_->setState(bytes) == kResultOk;
    }

    void describe(std::ostream& out) override {
        editionParts::describeThroughInterface(*this, out);
    }

    double gain() override { return -1.0; }

  private:
    void keyConnectionChanged() override {
        if (keyChannels() > 0)
            plugin_->component()->activateBus(kAudio, kInput, kKeyBus, connectedKeyChannels_ > 0);
    }

    bool isOurParameter(int index) const { return ours_ && isParameterIndex(index); }
    // Our values are the effect's, which this edition turns round where the plain value falls
    // (Threshold), so that every plain value rises with the host's; another plug-in's are its own.
    double ownNormalized(int index, double normalized) const {
        return isOurParameter(index)
                   ? risingNormalized(kParameters[static_cast<std::size_t>(index)].plain,
                                      static_cast<float>(normalized))
                   : normalized;
    }

    // The changes set since the last block reach the processor in the next one's queues.
    template <typename Sample>
    void run(Sample* const* inputs, Sample* const* outputs, int frames, Sample* const* key,
             editionParts::KeyBuffers<Sample>& keys) {
        AudioBusBuffers in[2] = {}, out{};
        in[0].numChannels = out.numChannels = 2;
        Sample* keyBuffers[editionParts::KeyBuffers<Sample>::kMostChannels] = {};
        const int buses = keyChannels() > 0 ? 2 : 1;
        // An inactive key bus gets silence, as hosts hand it; a connected key whose block has
        // no buffers gets none.
        in[1].numChannels = handedKeyChannels_ >= 0 ? handedKeyChannels_ : keyBusChannels_;
        keys.arrange(connectedKeyChannels_ > 0 ? key : nullptr, connectedKeyChannels_,
                     in[1].numChannels, frames, keyBuffers);
        Sample** keyList = connectedKeyChannels_ > 0 && !key ? nullptr : keyBuffers;
        if constexpr (sizeof(Sample) == sizeof(Sample32)) {
            in[0].channelBuffers32 = const_cast<Sample**>(inputs);
            in[1].channelBuffers32 = keyList;
            out.channelBuffers32 = const_cast<Sample**>(outputs);
        } else {
            in[0].channelBuffers64 = const_cast<Sample**>(inputs);
            in[1].channelBuffers64 = keyList;
            out.channelBuffers64 = const_cast<Sample**>(outputs);
        }
        // Each queue's points in the order of their samples, as the format asks of a host.
        std::stable_sort(
            pending_.begin(), pending_.end(),
            [](const ParameterPoint& a, const ParameterPoint& b) { return a.offset < b.offset; });
        ParameterChanges changes(pending_), reported;
        pending_.clear();
        ProcessData data;
        data.processMode = kRealtime;
        data.symbolicSampleSize = sampleSize_;
        data.numSamples = frames;
        data.numInputs = buses;
        data.numOutputs = 1;
        data.inputs = in;
        data.outputs = &out;
        data.inputParameterChanges = &changes;
        data.outputParameterChanges = &reported;
        plugin_->processData(data);
    }

    static constexpr ParamID kNoParamId = 0xFFFFFFFF;
    std::unique_ptr<HostedVst3Plugin> plugin_;
    std::string name_;
    bool ours_ = false;
    std::vector<int> ids_;
    ParamID programId_ = kNoParamId;
    int32 programSteps_ = 0;
    int32 sampleSize_ = kSample32;
    int keyBusChannels_ = 0;     // as the key bus is arranged
    int handedKeyChannels_ = -1; // a careless host's count, or -1
    std::vector<ParameterPoint> pending_;
    editionParts::KeyBuffers<float> keys32_;
    editionParts::KeyBuffers<double> keys64_;
};

} // namespace

std::unique_ptr<LoadedEdition> makeVst3Edition(const std::string& bundlePath, std::string& error) {
    auto plugin = std::make_unique<HostedVst3Plugin>(bundlePath);
    if (!plugin->isLoaded()) {
        error = "cannot load the VST 3 plug-in " + bundlePath + ": " + plugin->error();
        return nullptr;
    }
    return std::make_unique<Vst3Edition>(std::move(plugin));
}
