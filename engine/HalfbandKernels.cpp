#include "engine/HalfbandKernels.h"

#include "engine/HalfbandSums.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

void halfbandSumScalar(const double* oddTaps, const double* pairs, double out[2]) {
    double left = 0.0;
    double right = 0.0;
    for (int j = 0; j < kHalfbandOddTaps; ++j) {
        left += oddTaps[2 * j] * pairs[2 * j];
        right += oddTaps[2 * j + 1] * pairs[2 * j + 1];
    }
    out[0] = left;
    out[1] = right;
}

#if defined(__x86_64__) || defined(__i386__)

// The sum feeds the next core step, so its latency counts, not only its throughput: eight
// independent accumulators keep each chain of dependent additions short. Pairs j and 149 - j
// meet the same tap, so their sum is multiplied once. The order of the additions therefore
// differs from the plain loop, which moves the result by a few ulps only.
__attribute__((target("sse2"))) void halfbandSumSse2(const double* oddTaps, const double* pairs,
                                                     double out[2]) {
    constexpr int kMirrored = 75;
    constexpr int kAccumulators = 8;
    __m128d acc[kAccumulators];
    for (__m128d& a : acc)
        a = _mm_setzero_pd();
#pragma GCC unroll 75
    for (int j = 0; j < kMirrored; ++j) {
        const __m128d both = _mm_add_pd(_mm_load_pd(pairs + 2 * j),
                                        _mm_load_pd(pairs + 2 * (2 * kMirrored - 1 - j)));
        acc[j % kAccumulators] =
            _mm_add_pd(acc[j % kAccumulators], _mm_mul_pd(_mm_load_pd(oddTaps + 2 * j), both));
    }
    const __m128d sum =
        _mm_add_pd(_mm_add_pd(_mm_add_pd(acc[0], acc[1]), _mm_add_pd(acc[2], acc[3])),
                   _mm_add_pd(_mm_add_pd(acc[4], acc[5]), _mm_add_pd(acc[6], acc[7])));
    _mm_storeu_pd(out, sum);
}

// With fused multiply-add the sum is taken over the taps' symmetry as the frame loop takes it,
// there in two parts.
__attribute__((target("avx2,fma"))) void halfbandSumAvx2Fma(const double* oddTaps,
                                                            const double* pairs, double out[2]) {
    fusedHalfbandSum(oddTaps, pairs, out);
}

HalfbandKernel halfbandKernel(InstructionSet set) {
    switch (set) {
    case InstructionSet::avx2Fma:
        return &halfbandSumAvx2Fma;
    case InstructionSet::sse2:
        break;
    }
    return &halfbandSumSse2;
}

#else

HalfbandKernel halfbandKernel(InstructionSet) {
    return &halfbandSumScalar;
}

#endif
