#include "plugin/StateRecord.h"

#include "plugin/CompressorEffect.h"
#include "plugin/ListeningSwitches.h"

#include <cstring>
#include <iterator>

namespace stateRecord {
namespace {

void put(uint8_t* at, uint32_t word) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(word >> (8 * i));
}

uint32_t get(const uint8_t* at) {
    uint32_t word = 0;
    for (int i = 0; i < 4; ++i)
        word |= static_cast<uint32_t>(at[i]) << (8 * i);
    return word;
}

uint32_t floatBits(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float bitsFloat(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

Bytes write(const EffectState& state) {
    Bytes bytes{};
    put(&bytes[0], kMagic);
    put(&bytes[4], kVersion);
    put(&bytes[8], static_cast<uint32_t>(state.program));
    for (int i = 0; i < kNumParameters; ++i)
        put(&bytes[12 + 4 * static_cast<std::size_t>(i)], floatBits(state.values[i]));
    return bytes;
}

bool read(const uint8_t* bytes, std::size_t size, EffectState& state) {
    if (!bytes || size < sizeOf(1)) return false;
    const uint32_t version = get(&bytes[4]);
    if (get(&bytes[0]) != kMagic || version == 0 || version > kVersion) return false;
    if (size < sizeOf(version)) return false;
    EffectState read;
    const uint32_t program = get(&bytes[8]);
    if (program >= static_cast<uint32_t>(kNumPrograms)) return false;
    read.program = static_cast<int>(program);
    for (int i = 0; i < valueCount(version); ++i) {
        read.values[i] = bitsFloat(get(&bytes[12 + 4 * static_cast<std::size_t>(i)]));
        if (!isHeldValue(i, read.values[i])) return false;
    }
    state = read;
    return true;
}

} // namespace stateRecord

EffectState currentState(CompressorEffect& effect) {
    EffectState state;
    state.program = effect.getProgram();
    for (int i = 0; i < kNumParameters; ++i)
        state.values[i] = effect.getParameter(i);
    return state;
}

// A switch that listens turns the other switches off, zeroing whatever they hold, so the ones
// that listen are set first and every other value after them: each comes back as the record
// holds it. Of several that listen, the one of highest precedence is set last and stays on.
void restoreState(CompressorEffect& effect, const EffectState& state) {
    effect.setProgram(state.program);
    const auto listens = [&](int index) {
        return listening::isSwitch(index) && listening::listens(index, state.values[index]);
    };
    for (auto s = std::rbegin(listening::kSwitches); s != std::rend(listening::kSwitches); ++s)
        if (listens(*s)) effect.setParameter(*s, state.values[*s]);
    for (int i = 0; i < kNumParameters; ++i)
        if (!listens(i)) effect.setParameter(i, state.values[i]);
}
