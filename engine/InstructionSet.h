#pragma once

// The instruction sets the engine's per-sample code is compiled for, chosen at run time. sse2 is
// the plain code: the minimum of the 32-bit Windows build, and on processors other than x86 the
// only choice, compiled for whatever they have. AVX-512 processors run avx2Fma: the frame's work
// is a serial chain and sums over 256-bit vectors (a 512-bit mirrored vector would straddle two
// cache lines), so the wider registers add nothing to it, and on processors measured with both
// the 512-bit build was as fast at best and up to 40 % slower in the whole effect.
enum class InstructionSet { sse2, avx2Fma };

// An environment variable that caps the set at the plain code when it holds "sse2", so that path
// can be measured and tested on a processor that has a wider one.
constexpr const char* kInstructionSetVariable = "QVL_INSTRUCTION_SET";

// The fastest set this processor supports, under the cap, found once.
InstructionSet bestInstructionSet();

// True when the set is at most bestInstructionSet() and so may run here.
bool isSupported(InstructionSet set);
