#pragma once

// The instruction sets the engine's per-sample code is compiled for, chosen at run time. sse2 is
// the plain code: the minimum of the 32-bit Windows build, and on processors other than x86 the
// only choice, compiled for whatever they have.
enum class InstructionSet { sse2, avx2Fma, avx512 };

// An environment variable that caps the set, "sse2" or "avx2", so a narrower path can be
// measured and tested on a processor that has a wider one.
constexpr const char* kInstructionSetVariable = "QVL_INSTRUCTION_SET";

// The widest set this processor supports, under the cap, found once.
InstructionSet bestInstructionSet();

// True when the set is at most bestInstructionSet() and so may run here.
bool isSupported(InstructionSet set);
