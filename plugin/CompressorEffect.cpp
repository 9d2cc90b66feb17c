#include "plugin/CompressorEffect.h"

#include "plugin/ListeningSwitches.h"
#include "plugin/ParameterCurves.h"

#include <cmath>
#include <cstring>

namespace {

// Hosts may send anything; a stored value must stay a number the curves can take. Finite
// values are kept as sent, since saved sessions read them back unchanged.
float storableValue(float value) {
    if (std::isnan(value)) return 0.0f;
    if (std::isinf(value)) return value > 0.0f ? 1.0f : 0.0f;
    return value;
}

} // namespace

CompressorEffect::CompressorEffect(EffectHost* host, InstructionSet set)
    : host_(host), engine_(std::make_unique<DynamicsEngine>(set)) {
    bypassDelay_.setLength(kLatencySamples);
    fillFactoryPrograms(programs_);
    setProgram(0);
    meterValues_.reset();
    engine_->reset();
}

void CompressorEffect::setSampleRate(float sampleRateHz) {
    if (!std::isfinite(sampleRateHz) || sampleRateHz <= 0.0f) return;
    sampleRateHz_.store(sampleRateHz, std::memory_order_relaxed);
    engine_->setSampleRate(static_cast<double>(sampleRateHz));
}

void CompressorEffect::resume() {
    processingActive_.store(true, std::memory_order_relaxed);
}

void CompressorEffect::suspend() {
    meterValues_.reset();
    engine_->reset();
    processingActive_.store(false, std::memory_order_relaxed);
}

void CompressorEffect::setParameter(int index, float value) {
    if (!isParameterIndex(index)) return;
    const float v = storableValue(value);
    currentProgram().setValue(index, v);
    kParameters[index].engineUpdate(*engine_, v);

    if (index == kDelta) deltaOn_.store(curve::isOn(v), std::memory_order_relaxed);
    if (index == kBypass) bypassOn_.store(curve::isOn(v), std::memory_order_relaxed);
    // The switches turned off run through this same path, so the listener hears of them
    // before the change that caused them.
    listening::lastChangeWins(index, v, [this](int other) { setParameter(other, 0.0f); });

    if (EffectListener* listener = listener_.load()) listener->parameterChanged(index, v);
}

float CompressorEffect::getParameter(int index) {
    return isParameterIndex(index) ? currentProgram().value(index) : 0.0f;
}

MeterSnapshot CompressorEffect::meters() const {
    MeterSnapshot snapshot;
    snapshot.gain = static_cast<float>(meterValues_.gain.load(std::memory_order_relaxed));
    snapshot.levelA = static_cast<float>(meterValues_.levelA.load(std::memory_order_relaxed));
    snapshot.levelB = static_cast<float>(meterValues_.levelB.load(std::memory_order_relaxed));
    snapshot.processingActive = processingActive_.load(std::memory_order_relaxed);
    return snapshot;
}

void CompressorEffect::setParameterAutomated(int index, float value) {
    setParameter(index, value);
    if (host_) host_->automate(index, value);
}

void CompressorEffect::beginEdit(int index) {
    if (host_) host_->beginEdit(index);
}

void CompressorEffect::endEdit(int index) {
    if (host_) host_->endEdit(index);
}

void CompressorEffect::setProgram(int index) {
    if (index < 0 || index >= kNumPrograms) return;
    curProgram_.store(index, std::memory_order_relaxed);
    // Each slot is read when its turn comes: an earlier slot may have switched it off.
    for (int i = 0; i < kNumParameters; ++i)
        setParameter(i, programs_[index].value(i));
    if (EffectListener* listener = listener_.load()) listener->programChanged(index);
}

void CompressorEffect::setProgramName(const char* text) {
    CompressorProgram& program = currentProgram();
    std::strncpy(program.name, text, CompressorProgram::kNameLength);
}

int CompressorEffect::checkedProgram() {
    if (host_ && host_->listsPrograms()) return getProgram();
    float values[kNumParameters];
    for (int i = 0; i < kNumParameters; ++i)
        values[i] = currentProgram().value(i);
    return factoryProgramHolding(values);
}

void CompressorEffect::chooseProgram(int index) {
    if (index < 0 || index >= kNumPrograms) return;
    if (host_ && host_->listsPrograms()) {
        setProgram(index);
        host_->programChanged();
        return;
    }
    for (int i = 0; i < kNumParameters; ++i)
        beginEdit(i);
    for (int i = 0; i < kNumParameters; ++i)
        setParameterAutomated(i, factoryProgramValue(index, i));
    for (int i = 0; i < kNumParameters; ++i)
        endEdit(i);
}
