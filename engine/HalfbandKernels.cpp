#include "HalfbandKernels.h"

#include "HalfbandSums.h"

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

// The sum feeds the next core step, so its latency counts, not only its throughput: several
// independent accumulators, written out so they stay in registers, keep each chain of dependent
// additions short. The order of the additions therefore differs from the plain loop, which
// moves the result by a few ulps only.
__attribute__((target("sse2"))) void halfbandSumSse2(const double* oddTaps, const double* pairs,
                                                     double out[2]) {
    __m128d acc0 = _mm_setzero_pd(), acc1 = _mm_setzero_pd(), acc2 = _mm_setzero_pd(),
            acc3 = _mm_setzero_pd();
    __m128d acc4 = _mm_setzero_pd(), acc5 = _mm_setzero_pd(), acc6 = _mm_setzero_pd(),
            acc7 = _mm_setzero_pd();
    for (int i = 0; i < 2 * kHalfbandOddTaps; i += 16) {
        acc0 = _mm_add_pd(acc0, _mm_mul_pd(_mm_load_pd(oddTaps + i), _mm_load_pd(pairs + i)));
        acc1 =
            _mm_add_pd(acc1, _mm_mul_pd(_mm_load_pd(oddTaps + i + 2), _mm_load_pd(pairs + i + 2)));
        acc2 =
            _mm_add_pd(acc2, _mm_mul_pd(_mm_load_pd(oddTaps + i + 4), _mm_load_pd(pairs + i + 4)));
        acc3 =
            _mm_add_pd(acc3, _mm_mul_pd(_mm_load_pd(oddTaps + i + 6), _mm_load_pd(pairs + i + 6)));
        acc4 =
            _mm_add_pd(acc4, _mm_mul_pd(_mm_load_pd(oddTaps + i + 8), _mm_load_pd(pairs + i + 8)));
        acc5 = _mm_add_pd(acc5,
                          _mm_mul_pd(_mm_load_pd(oddTaps + i + 10), _mm_load_pd(pairs + i + 10)));
        acc6 = _mm_add_pd(acc6,
                          _mm_mul_pd(_mm_load_pd(oddTaps + i + 12), _mm_load_pd(pairs + i + 12)));
        acc7 = _mm_add_pd(acc7,
                          _mm_mul_pd(_mm_load_pd(oddTaps + i + 14), _mm_load_pd(pairs + i + 14)));
    }
    const __m128d sum = _mm_add_pd(_mm_add_pd(_mm_add_pd(acc0, acc1), _mm_add_pd(acc2, acc3)),
                                   _mm_add_pd(_mm_add_pd(acc4, acc5), _mm_add_pd(acc6, acc7)));
    _mm_storeu_pd(out, sum);
}

// Where the loads of the taps are not the limit, two single sums.
void halfbandPairSumSse2(const double* oddTaps, const double* pairsA, const double* pairsB,
                         double outA[2], double outB[2]) {
    halfbandSumSse2(oddTaps, pairsA, outA);
    halfbandSumSse2(oddTaps, pairsB, outB);
}

// The sets with fused multiply-add sum as their frame loops do, over the taps' symmetry.
__attribute__((target("avx2,fma"))) void halfbandSumAvx2Fma(const double* oddTaps,
                                                            const double* pairs, double out[2]) {
    fusedHalfbandSums<1>(oddTaps, {pairs}, {out});
}

__attribute__((target("avx512f,avx2,fma"))) void
halfbandSumAvx512(const double* oddTaps, const double* pairs, double out[2]) {
    fusedHalfbandSums<1>(oddTaps, {pairs}, {out});
}

__attribute__((target("avx512f,avx2,fma"))) void
halfbandPairSumAvx512(const double* oddTaps, const double* pairsA, const double* pairsB,
                      double outA[2], double outB[2]) {
    fusedHalfbandSums<2>(oddTaps, {pairsA, pairsB}, {outA, outB});
}

__attribute__((target("avx2,fma"))) void halfbandPairSumAvx2Fma(const double* oddTaps,
                                                                const double* pairsA,
                                                                const double* pairsB,
                                                                double outA[2], double outB[2]) {
    fusedHalfbandSums<2>(oddTaps, {pairsA, pairsB}, {outA, outB});
}

HalfbandKernel halfbandKernel(InstructionSet set) {
    switch (set) {
    case InstructionSet::avx512:
        return &halfbandSumAvx512;
    case InstructionSet::avx2Fma:
        return &halfbandSumAvx2Fma;
    case InstructionSet::sse2:
        break;
    }
    return &halfbandSumSse2;
}

HalfbandPairKernel halfbandPairKernel(InstructionSet set) {
    switch (set) {
    case InstructionSet::avx512:
        return &halfbandPairSumAvx512;
    case InstructionSet::avx2Fma:
        return &halfbandPairSumAvx2Fma;
    case InstructionSet::sse2:
        break;
    }
    return &halfbandPairSumSse2;
}

#else

HalfbandKernel halfbandKernel(InstructionSet) {
    return &halfbandSumScalar;
}

namespace {
void halfbandPairSumScalar(const double* oddTaps, const double* pairsA, const double* pairsB,
                           double outA[2], double outB[2]) {
    halfbandSumScalar(oddTaps, pairsA, outA);
    halfbandSumScalar(oddTaps, pairsB, outB);
}
} // namespace

HalfbandPairKernel halfbandPairKernel(InstructionSet) {
    return &halfbandPairSumScalar;
}

#endif
