#pragma once

#include "plugin/CompressorProgram.h"

constexpr int kNumPrograms = 7;

// Writes the seven factory programs over the given records.
void fillFactoryPrograms(CompressorProgram (&programs)[kNumPrograms]);
