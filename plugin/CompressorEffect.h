#pragma once

#include "engine/BlockLoop.h"
#include "engine/DynamicsEngine.h"
#include "engine/MeterReadouts.h"
#include "engine/StereoDelayLine.h"
#include "plugin/CompressorProgram.h"
#include "plugin/EffectHost.h"
#include "plugin/EffectListener.h"
#include "plugin/FactoryPrograms.h"
#include "plugin/MeterSnapshot.h"

#include <atomic>
#include <cstdint>
#include <memory>

// The effect itself, the same under every plug-in format: it owns the dynamics engine, the
// programs with the live parameter values, the bypass delay line and the meter readouts. A
// format adapter translates its host's requests into these calls, passes the effect's
// automation and edit gestures on through EffectHost, and keeps the editor, which follows the
// values as the effect's listener.
class CompressorEffect final {
  public:
    static constexpr int kLatencySamples = kEngineLatencySamples;
    static constexpr int kBypassDelayCapacity = 500;

    // host may be null: the effect then tells no one about the user's changes. The engine runs
    // the code of the instruction set, or of the best one the processor has if it lacks that.
    explicit CompressorEffect(EffectHost* host, InstructionSet set = bestInstructionSet());
    CompressorEffect(const CompressorEffect&) = delete;
    CompressorEffect& operator=(const CompressorEffect&) = delete;

    // Host state.
    void setSampleRate(float sampleRateHz);
    float sampleRate() const { return sampleRateHz_.load(std::memory_order_relaxed); }
    void resume();
    void suspend();

    // Parameters. Indices outside the table are ignored by setParameter and read as 0.
    void setParameter(int index, float value);
    float getParameter(int index);
    // A change the user made: applied, then recorded by the host as automation.
    void setParameterAutomated(int index, float value);
    void beginEdit(int index);
    void endEdit(int index);
    bool bypassOn() const { return bypassOn_.load(std::memory_order_relaxed); }
    bool deltaOn() const { return deltaOn_.load(std::memory_order_relaxed); }

    // The meters as the audio thread left them; callable from any thread.
    MeterSnapshot meters() const;

    // The one listener that hears of every change; null for none. Set it before the audio
    // runs and clear it before the listener goes.
    void setListener(EffectListener* listener) { listener_.store(listener); }

    // Programs. Indices outside 0..6 are ignored.
    void setProgram(int index);
    int getProgram() const { return curProgram_.load(std::memory_order_relaxed); }
    void setProgramName(const char* text);
    // The name of program index; empty for an index outside 0..6.
    const char* programName(int index) const {
        return index >= 0 && index < kNumPrograms ? programs_[index].name : "";
    }
    int programCount() const { return kNumPrograms; }
    // Where the host lists programs, the current one; else the factory program the parameters
    // hold, since the current program is then no choice the user can see.
    int checkedProgram();
    // Applied as EffectHost::listsPrograms describes.
    void chooseProgram(int index);

    const DynamicsEngine& engine() const { return *engine_; }

    // Non-positive frame counts process nothing; inputs and outputs may be the same arrays. The
    // key, as long as the block, is what the detector hears while SC Source is External.
    template <typename Sample>
    void process(Sample** inputs, Sample** outputs, int32_t frames, HostKey<Sample> key = {});

  private:
    CompressorProgram& currentProgram() { return programs_[getProgram()]; }

    EffectHost* host_;
    std::unique_ptr<DynamicsEngine> engine_; // 0.8 MB of noise tables: on the heap, made once
    std::atomic<float> sampleRateHz_{44100.0f};
    std::atomic<int> curProgram_{0};
    MeterReadouts meterValues_;
    CompressorProgram programs_[kNumPrograms];
    StereoDelayLine bypassDelay_{kBypassDelayCapacity};
    std::atomic<bool> bypassOn_{false};
    std::atomic<bool> deltaOn_{false};
    std::atomic<bool> processingActive_{false};
    std::atomic<EffectListener*> listener_{nullptr};
};

template <typename Sample>
void CompressorEffect::process(Sample** inputs, Sample** outputs, int32_t frames,
                               HostKey<Sample> key) {
    processBlock<Sample>(*engine_, bypassDelay_, bypassOn(), sampleRate(), meterValues_, inputs,
                         outputs, frames, key);
}
