#include "formats/common/HostValueMirror.h"

#include <iterator>

HostValueMirror::HostValueMirror(CompressorEffect& effect, ListedIn edition)
    : effect_(effect), edition_(edition) {
    heardAll();
}

void HostValueMirror::heard(int index, float value) {
    if (isParameterIndex(index)) heard_[index].store(value, std::memory_order_relaxed);
}

void HostValueMirror::heardAll() {
    for (int index = 0; index < kNumParameters; ++index)
        heard_[index].store(effect_.getParameter(index), std::memory_order_relaxed);
}

void HostValueMirror::programChosen() {
    programChosen_.store(true, std::memory_order_relaxed);
}

namespace {

void applySwitch(CompressorEffect& effect, int index, bool on) {
    const float value = on ? 1.0f : 0.0f;
    if (effect.getParameter(index) != value) effect.setParameter(index, value);
}

} // namespace

void applyByPrecedence(CompressorEffect& effect, const listening::Settled& asked) {
    const listening::Settled wanted =
        listening::byPrecedence(asked.bypass, asked.scPreview, asked.delta);
    const bool on[std::size(listening::kSwitches)] = {wanted.bypass, wanted.scPreview,
                                                      wanted.delta};
    for (bool goingOn : {false, true})
        for (std::size_t i = 0; i < std::size(on); ++i)
            if (on[i] == goingOn) applySwitch(effect, listening::kSwitches[i], goingOn);
}
