#pragma once

// The instruction sets the engine's per-sample code is compiled for, chosen at run time. sse2 is
// the plain code: the minimum of the 32-bit Windows build, and on processors other than x86 the
// only choice, compiled for whatever they have.
enum class InstructionSet { sse2, avx2Fma, avx512 };

// The widest set this processor supports, found once.
InstructionSet bestInstructionSet();

// True when this processor can run code compiled for the set.
bool isSupported(InstructionSet set);
