#pragma once

#include "plugin/ParameterTable.h"

#include <array>
#include <cstddef>
#include <cstdint>

class CompressorEffect;

// What a saved session holds of the effect: the current program and its values.
struct EffectState {
    int program = 0;
    float values[kNumParameters] = {};
};

// The effect's state as the formats that save a block of bytes store it (VST 3, CLAP): the
// magic "QVLS", the record's version, the program and the normalized values in the table's
// order, each as four little-endian bytes, so a session moves between machines and editions
// unchanged.
namespace stateRecord {

constexpr uint32_t kMagic = 0x534C5651; // "QVLS" when read as little-endian bytes
constexpr uint32_t kVersion = 2;
// Version 1 holds the VST 2 module's 21 slots; version 2 adds SC Source after them, which a
// version 1 record leaves at 0, the Internal source every session had before.
constexpr int valueCount(uint32_t version) {
    return version == 1 ? kNumVst2Slots : kNumParameters;
}
constexpr std::size_t sizeOf(uint32_t version) {
    return 4 * (3 + static_cast<std::size_t>(valueCount(version)));
}
constexpr std::size_t kSize = sizeOf(kVersion);
using Bytes = std::array<uint8_t, kSize>;

Bytes write(const EffectState& state);

// False, with `state` untouched, for a record that is short, of another product, of a newer
// version, or names a program or holds a value no session could have saved: one value that
// the parameter cannot hold (not a number, or outside 0 ... 1) refuses the whole record, which
// is the user's work and is taken whole or not at all. Bytes after the record are not read: a
// later version may append to it.
bool read(const uint8_t* bytes, std::size_t size, EffectState& state);

} // namespace stateRecord

EffectState currentState(CompressorEffect& effect);
// The program first, then its values one by one as the host would set them, the switches that
// listen before the others: every value comes back as the record holds it.
void restoreState(CompressorEffect& effect, const EffectState& state);
