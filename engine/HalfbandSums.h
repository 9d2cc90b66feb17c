#pragma once

#include "engine/Lanes.h"
#include "engine/MultiplyAdd.h"

#include <cstring>

// The halfband filters' sums over their odd taps for the instruction sets with fused
// multiply-add (and so AVX), written without intrinsics so they can be inlined into those sets'
// frame loops, where a call would make the loop set aside every value it holds in registers.
//
// The odd taps are symmetric, tap j equal to tap 149 - j, and taps 150 and 151 are zero. So the
// vector of pairs 2v, 2v + 1 and the vector of pairs 148 - 2v, 149 - 2v meet one tap vector,
// the second with its halves swapped: 38 tap loads serve the 75 multiply-adds of a sum, and two
// sums over the same taps share them. Pairs 74 and 75 are their own mirror; pairs 150 and 151
// meet only zeros and are left out. Loads, not arithmetic, limit these sums, so fewer loads is
// what makes them fast.
constexpr int kHalfbandTapVectors = 38;

// Four accumulators per sum: the forward vectors alternate between the first two, the mirrored
// between the other two.
using HalfbandAccumulators = WideLanes[4];

// Adds tap vectors kFrom..kTo - 1 and their mirrors for each of kSums histories, so a sum can be
// split into parts that sit in different places of the frame loop.
template <int kSums, int kFrom = 0, int kTo = kHalfbandTapVectors>
[[gnu::always_inline]] inline void accumulateHalfbandSums(const double* oddTaps,
                                                          const double* const (&pairs)[kSums],
                                                          HalfbandAccumulators (&acc)[kSums]) {
    static_assert(0 <= kFrom && kFrom <= kTo && kTo <= kHalfbandTapVectors, "tap vectors");
    constexpr int kLastMirrored = kHalfbandTapVectors - 2;
#pragma GCC unroll 38
    for (int v = kFrom; v < kTo; ++v) {
        WideLanes tap;
        std::memcpy(&tap, oddTaps + 4 * v, sizeof tap);
        const WideLanes swapped = __builtin_shufflevector(tap, tap, 2, 3, 0, 1);
        for (int s = 0; s < kSums; ++s) {
            WideLanes forward;
            std::memcpy(&forward, pairs[s] + 4 * v, sizeof forward);
            addProductTo<true>(acc[s][v % 2], tap, forward);
            if (v <= kLastMirrored) {
                WideLanes mirrored;
                std::memcpy(&mirrored, pairs[s] + 4 * (2 * kLastMirrored + 2 - v), sizeof mirrored);
                addProductTo<true>(acc[s][2 + v % 2], swapped, mirrored);
            }
        }
    }
}

// Adds the four accumulators into the first, so that between the parts of a sum one register
// holds what took four: the rest of the frame loop needs the registers.
[[gnu::always_inline]] inline void foldHalfbandAccumulators(HalfbandAccumulators& acc) {
    acc[0] = (acc[0] + acc[1]) + (acc[2] + acc[3]);
    acc[1] = acc[2] = acc[3] = WideLanes{};
}

// The left and right sums of one history's accumulators.
[[gnu::always_inline]] inline void finishHalfbandSum(const HalfbandAccumulators& acc,
                                                     double out[2]) {
    const WideLanes s = (acc[0] + acc[1]) + (acc[2] + acc[3]);
    const Lanes sum = Lanes{s[0], s[1]} + Lanes{s[2], s[3]};
    out[0] = sum[0];
    out[1] = sum[1];
}

// One whole sum.
[[gnu::always_inline]] inline void fusedHalfbandSum(const double* oddTaps, const double* pairs,
                                                    double out[2]) {
    HalfbandAccumulators acc[1] = {};
    accumulateHalfbandSums<1>(oddTaps, {pairs}, acc);
    finishHalfbandSum(acc[0], out);
}
