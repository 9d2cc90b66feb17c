#pragma once

#include "plugin/CompressorProgram.h"

constexpr int kNumPrograms = 7;

// Writes the seven factory programs over the given records.
void fillFactoryPrograms(CompressorProgram (&programs)[kNumPrograms]);

// The factory programs as written, for descriptions made outside a running effect (preset
// files, the parameters' defaults). Indices must be in range: program 0..6, a parameter of the
// table.
const char* factoryProgramName(int program);
float factoryProgramValue(int program, int index);

// The factory program whose values `values` holds exactly in every parameter that has a
// function; -1 when it matches none. The slots that do nothing make no difference, whatever a
// session keeps there.
int factoryProgramHolding(const float (&values)[kNumParameters]);
