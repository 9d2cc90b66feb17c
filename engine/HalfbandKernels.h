#pragma once

#include "engine/InstructionSet.h"

// Sum over the 152 odd taps of a halfband filter for both channels at once:
// out[c] = sum_j oddTaps[2j + c] * pairs[2j + c], j = 0..151, where oddTaps holds each odd tap
// twice (c1, c1, c3, c3, ...) and pairs holds the matching history pairs contiguously, most
// recent first. The pairs are 16-byte aligned; the taps are 64-byte aligned and a halfband's: odd
// tap j equals odd tap 149 - j and taps 150 and 151 are zero, which the kernels with fused
// multiply-add rely on.
constexpr int kHalfbandOddTaps = 152;

using HalfbandKernel = void (*)(const double* oddTaps, const double* pairs, double out[2]);

// Plain reference loop in tap order; also the kernel on processors other than x86.
void halfbandSumScalar(const double* oddTaps, const double* pairs, double out[2]);

#if defined(__x86_64__) || defined(__i386__)
void halfbandSumSse2(const double* oddTaps, const double* pairs, double out[2]);
void halfbandSumAvx2Fma(const double* oddTaps, const double* pairs, double out[2]);
#endif

// The kernel of an instruction set, which the processor must support.
HalfbandKernel halfbandKernel(InstructionSet set);

// The fastest kernel this processor supports.
inline HalfbandKernel bestHalfbandKernel() {
    return halfbandKernel(bestInstructionSet());
}
