#pragma once

#include "plugin/ParameterTable.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// What a CLAP host keeps of the effect in a saved session: a versioned record with the current
// program's index and its 21 normalized values, the same content the VST 3 edition saves.
// Layout, little-endian: magic "QVLs", version (uint32), program (int32), 21 float32 values.
namespace clapState {

struct EffectState {
    int program = 0;
    float values[kNumParameters] = {};
};

constexpr uint32_t kVersion = 1;
constexpr std::size_t kRecordBytes = 4 + 4 + 4 + 4 * kNumParameters;

void writeRecord(const EffectState& state, uint8_t (&record)[kRecordBytes]);

// The state in a record of `size` bytes; nothing for a record that is short, foreign (wrong
// magic), from a newer version, or that holds a program outside 0..6 or a value that is not
// finite. Bytes after the record are ignored.
std::optional<EffectState> readRecord(const uint8_t* record, std::size_t size);

} // namespace clapState
