#include "plugin/clap/ClapStateRecord.h"

#include "plugin/FactoryPrograms.h"

#include <cmath>
#include <cstring>

namespace clapState {
namespace {

constexpr uint8_t kMagic[4] = {'Q', 'V', 'L', 's'};

void putWord(uint8_t* at, uint32_t word) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(word >> (8 * i));
}

uint32_t getWord(const uint8_t* at) {
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

void writeRecord(const EffectState& state, uint8_t (&record)[kRecordBytes]) {
    std::memcpy(record, kMagic, sizeof kMagic);
    putWord(record + 4, kVersion);
    putWord(record + 8, static_cast<uint32_t>(state.program));
    for (int i = 0; i < kNumParameters; ++i)
        putWord(record + 12 + 4 * i, floatBits(state.values[i]));
}

std::optional<EffectState> readRecord(const uint8_t* record, std::size_t size) {
    if (!record || size < kRecordBytes) return std::nullopt;
    if (std::memcmp(record, kMagic, sizeof kMagic) != 0) return std::nullopt;
    const uint32_t version = getWord(record + 4);
    if (version == 0 || version > kVersion) return std::nullopt;
    EffectState state;
    state.program = static_cast<int32_t>(getWord(record + 8));
    if (state.program < 0 || state.program >= kNumPrograms) return std::nullopt;
    for (int i = 0; i < kNumParameters; ++i) {
        state.values[i] = bitsFloat(getWord(record + 12 + 4 * i));
        if (!std::isfinite(state.values[i])) return std::nullopt;
    }
    return state;
}

} // namespace clapState
