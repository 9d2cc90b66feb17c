#include "formats/common/HostValueMirror.h"
#include "formats/lv2/Lv2Ports.h"
#include "formats/lv2/Lv2Uris.h"
#include "plugin/CompressorEffect.h"
#include "plugin/ListeningSwitches.h"

#include <lv2/core/lv2.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>

namespace {

// One plug-in instance: the effect without an editor (the UI lives in its own binary) and the
// host's port buffers. Control values reach the effect only when they change, through the same
// parameter path the other edition uses.
class Lv2Instance {
  public:
    explicit Lv2Instance(double sampleRateHz) : effect_(nullptr) {
        effect_.setSampleRate(static_cast<float>(sampleRateHz));
        for (int i = 0; i < kNumParameters; ++i)
            applied_[i] = lv2port::exactPlain(i, effect_.getParameter(i));
    }

    void connect(uint32_t port, void* data) {
        if (port >= lv2port::kNumPorts) return;
        ports_[port] = static_cast<float*>(data);
    }

    void activate() { effect_.resume(); }
    void deactivate() { effect_.suspend(); }

    void run(uint32_t frames) {
        applyChangedControls();
        float* inputs[2] = {ports_[lv2port::kInputLeft], ports_[lv2port::kInputRight]};
        float* outputs[2] = {ports_[lv2port::kOutputLeft], ports_[lv2port::kOutputRight]};
        if (inputs[0] && inputs[1] && outputs[0] && outputs[1])
            effect_.process(inputs, outputs,
                            static_cast<int32_t>(std::min<uint32_t>(frames, INT32_MAX)), key());
        else
            silenceConnectedOutputs(outputs, frames);
        writeOutput(lv2port::kLatency, static_cast<float>(CompressorEffect::kLatencySamples));
        const MeterSnapshot meters = effect_.meters();
        writeOutput(lv2port::kMeterGain, meters.gain);
        writeOutput(lv2port::kMeterLevelA, meters.levelA);
        writeOutput(lv2port::kMeterLevelB, meters.levelB);
        writeOutput(lv2port::kMeterActive, meters.processingActive ? 1.0f : 0.0f);
    }

  private:
    // Both key ports connected are a stereo key, one of them a mono key, none silence.
    HostKey<float> key() {
        int count = 0;
        for (const uint32_t port : {lv2port::kKeyLeft, lv2port::kKeyRight})
            if (ports_[port]) keyChannels_[count++] = ports_[port];
        return {keyChannels_, count};
    }

    // An unconnected control keeps its last value; NaN is ignored and other values are held to
    // the port's range before they are mapped.
    lv2port::PortValues readPorts(int index) const {
        const lv2port::PortValues previous = applied_[index];
        const float* value = ports_[lv2port::portOf(index)];
        const uint32_t zonePort = lv2port::zonePortOf(index);
        const float* zone = zonePort == lv2port::kNoPort ? nullptr : ports_[zonePort];
        return lv2port::accepted(
            index, {value ? *value : previous.value, zone ? *zone : previous.zone}, previous);
    }

    void applyChangedControls() {
        for (int i = 0; i < kNumParameters; ++i) {
            if (listening::isSwitch(i)) continue;
            const lv2port::PortValues ports = readPorts(i);
            if (ports.value == applied_[i].value && ports.zone == applied_[i].zone) continue;
            applied_[i] = ports;
            effect_.setParameter(i, lv2port::toNormalized(i, ports));
        }
        // The host's enable switch reads as a switch port does; off is the effect's Bypass.
        const float* enabledPort = ports_[lv2port::kEnabled];
        const bool hostBypass = enabledPort && plainScale::onOff.toNormalized(
                                                   static_cast<double>(*enabledPort)) == 0.0f;
        const auto asks = [this](int index) {
            applied_[index] = readPorts(index);
            return listening::listens(index, lv2port::toNormalized(index, applied_[index]));
        };
        applyByPrecedence(effect_, {asks(kBypass) || hostBypass, asks(kScPreview), asks(kDelta)});
    }

    void writeOutput(uint32_t port, float value) {
        if (ports_[port]) *ports_[port] = value;
    }

    static void silenceConnectedOutputs(float* const outputs[2], uint32_t frames) {
        for (int c = 0; c < 2; ++c)
            if (outputs[c]) std::fill(outputs[c], outputs[c] + frames, 0.0f);
    }

    CompressorEffect effect_;
    float* ports_[lv2port::kNumPorts] = {};
    const float* keyChannels_[2] = {};
    lv2port::PortValues applied_[kNumParameters] = {};
};

Lv2Instance* instanceOf(LV2_Handle handle) {
    return static_cast<Lv2Instance*>(handle);
}

LV2_Handle instantiate(const LV2_Descriptor*, double sampleRateHz, const char*,
                       const LV2_Feature* const*) {
    if (!std::isfinite(sampleRateHz) || sampleRateHz <= 0.0) return nullptr;
    try {
        return new Lv2Instance(sampleRateHz);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void connectPort(LV2_Handle handle, uint32_t port, void* data) {
    instanceOf(handle)->connect(port, data);
}

void activate(LV2_Handle handle) {
    instanceOf(handle)->activate();
}

void run(LV2_Handle handle, uint32_t frames) {
    instanceOf(handle)->run(frames);
}

void deactivate(LV2_Handle handle) {
    instanceOf(handle)->deactivate();
}

void cleanup(LV2_Handle handle) {
    delete instanceOf(handle);
}

const void* extensionData(const char*) {
    return nullptr;
}

const LV2_Descriptor kDescriptor = {lv2uri::kPlugin, instantiate, connectPort,  activate, run,
                                    deactivate,      cleanup,     extensionData};

} // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
