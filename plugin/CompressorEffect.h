#pragma once

#include "editor/EditorHost.h"
#include "editor/EffectEditor.h"
#include "engine/BlockLoop.h"
#include "engine/DynamicsEngine.h"
#include "engine/MeterReadouts.h"
#include "engine/StereoDelayLine.h"
#include "plugin/CompressorProgram.h"
#include "plugin/FactoryPrograms.h"
#include "plugin/vst2/Vst2Interface.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

// The object behind the host's AEffect record: it owns the dynamics engine, the programs with
// the live parameter values, the bypass delay line, the meter readouts and the editor, and
// answers the host.
class CompressorEffect final : public EditorHost {
  public:
    using EditorFactory = std::function<std::unique_ptr<EffectEditor>(EditorHost&)>;

    static constexpr int kLatencySamples = 151;
    static constexpr int kBypassDelayCapacity = 500;
    // Readout indices for the editor, beside the parameters 0..20.
    static constexpr int kReadoutUnity = 500;
    static constexpr int kReadoutGain = 501;
    static constexpr int kReadoutLevelB = 502;
    static constexpr int kReadoutLevelA = 503;
    static constexpr int kReadoutZeroFirst = 504;
    static constexpr int kReadoutZeroSecond = 505;
    static constexpr int kReadoutProcessingActive = 506;

    // makeEditor may be empty: the effect then runs without an editor.
    CompressorEffect(vst2::HostCallback audioMaster, const EditorFactory& makeEditor);
    CompressorEffect(const CompressorEffect&) = delete;
    CompressorEffect& operator=(const CompressorEffect&) = delete;

    vst2::AEffect* effectRecord() { return &record_; }
    static CompressorEffect* fromRecord(vst2::AEffect* record);

    // Host state.
    void setSampleRate(float sampleRateHz);
    float sampleRate() const { return sampleRateHz_.load(std::memory_order_relaxed); }
    void setBlockSize(int32_t blockSize) { blockSize_ = blockSize; }
    int32_t blockSize() const { return blockSize_; }
    void resume();
    void suspend();

    // Parameters. Indices outside 0..20 are ignored by setParameter.
    void setParameter(int index, float value);
    float getParameter(int index) override;
    void setParameterAutomated(int index, float value) override;
    void beginEdit(int index) override;
    void endEdit(int index) override;
    bool bypassOn() const { return bypassOn_.load(std::memory_order_relaxed); }
    bool deltaOn() const { return deltaOn_.load(std::memory_order_relaxed); }

    // Programs. Indices outside 0..6 are ignored.
    void setProgram(int index);
    int getProgram() const { return curProgram_.load(std::memory_order_relaxed); }
    void setProgramName(const char* text);
    // The name of program index; empty for an index outside 0..6.
    const char* programName(int index) const {
        return index >= 0 && index < kNumPrograms ? programs_[index].name : "";
    }

    EffectEditor* editor() { return editor_.get(); }
    const DynamicsEngine& engine() const { return *engine_; }
    // The editor's size as the host reads it; null without an editor.
    vst2::ERect* editorRect();

    // Non-positive frame counts process nothing; inputs and outputs may be the same arrays.
    template <typename Sample> void process(Sample** inputs, Sample** outputs, int32_t frames);

  private:
    CompressorProgram& currentProgram() { return programs_[getProgram()]; }
    void callHost(int32_t opcode, int32_t index, float opt);

    vst2::AEffect record_{};
    vst2::HostCallback audioMaster_;
    std::unique_ptr<DynamicsEngine> engine_; // 0.8 MB of noise tables: on the heap, made once
    std::atomic<float> sampleRateHz_{44100.0f};
    int32_t blockSize_ = 1024;
    std::atomic<int> curProgram_{0};
    MeterReadouts meterValues_;
    CompressorProgram programs_[kNumPrograms];
    StereoDelayLine bypassDelay_{kBypassDelayCapacity};
    std::atomic<bool> bypassOn_{false};
    std::atomic<bool> deltaOn_{false};
    std::atomic<float> processingActive_{0.0f};
    vst2::ERect editorRect_{};
    // Declared last so it is destroyed first: it may still read parameters while it closes.
    std::unique_ptr<EffectEditor> editor_;
};

template <typename Sample>
void CompressorEffect::process(Sample** inputs, Sample** outputs, int32_t frames) {
    processBlock<Sample>(*engine_, bypassDelay_, bypassOn(), sampleRate(), meterValues_, inputs,
                         outputs, frames);
}

// Allocates the effect for a host; null when memory runs out.
CompressorEffect* createEffectInstance(vst2::HostCallback audioMaster);
