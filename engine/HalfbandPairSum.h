#pragma once

#include "HalfbandKernels.h"
#include "Lanes.h"
#include "MultiplyAdd.h"

#include <cstring>

// The paired sum written once for four- and eight-lane vectors, as one host sample needs it
// from the interpolator and the decimator. Written without intrinsics it can be inlined into
// the frame loop of each instruction set, where a call would make the loop set aside every
// value it holds in registers and take them back after. Four accumulators per sum, vector v
// into accumulator v % 4, each tap vector loaded once for both sums.
template <class Vector>
[[gnu::always_inline]] inline void fusedHalfbandPairSum(const double* oddTaps, const double* pairsA,
                                                        const double* pairsB, double outA[2],
                                                        double outB[2]) {
    constexpr int kLanes = sizeof(Vector) / sizeof(double);
    constexpr int kVectors = 2 * kHalfbandOddTaps / kLanes;
    static_assert(kLanes == 4 || kLanes == 8, "a sum of pairs needs four or eight lanes");
    Vector a[4] = {}, b[4] = {};
    // Unrolled whole: the loop's own counting would add a third to the instructions.
#pragma GCC unroll 76
    for (int v = 0; v < kVectors; ++v) {
        Vector tap, pairA, pairB;
        std::memcpy(&tap, oddTaps + kLanes * v, sizeof tap);
        std::memcpy(&pairA, pairsA + kLanes * v, sizeof pairA);
        std::memcpy(&pairB, pairsB + kLanes * v, sizeof pairB);
        addProductTo<true>(a[v % 4], tap, pairA);
        addProductTo<true>(b[v % 4], tap, pairB);
    }
    const auto reduce = [](const Vector* acc, double out[2]) {
        const Vector s = (acc[0] + acc[1]) + (acc[2] + acc[3]);
        Lanes sum = Lanes{s[0], s[1]} + Lanes{s[2], s[3]};
        if constexpr (kLanes == 8) sum += Lanes{s[4], s[5]} + Lanes{s[6], s[7]};
        out[0] = sum[0];
        out[1] = sum[1];
    };
    reduce(a, outA);
    reduce(b, outB);
}

// The paired sum of an instruction set, inlined where the set has fused multiply-add.
template <InstructionSet kSet>
[[gnu::always_inline]] inline void halfbandPairSum(const double* oddTaps, const double* pairsA,
                                                   const double* pairsB, double outA[2],
                                                   double outB[2]) {
#if defined(__x86_64__) || defined(__i386__)
    if constexpr (kSet == InstructionSet::avx512)
        fusedHalfbandPairSum<EightLanes>(oddTaps, pairsA, pairsB, outA, outB);
    else if constexpr (kSet == InstructionSet::avx2Fma)
        fusedHalfbandPairSum<WideLanes>(oddTaps, pairsA, pairsB, outA, outB);
    else
        halfbandPairSumSse2(oddTaps, pairsA, pairsB, outA, outB);
#else
    halfbandPairKernel(kSet)(oddTaps, pairsA, pairsB, outA, outB);
#endif
}
