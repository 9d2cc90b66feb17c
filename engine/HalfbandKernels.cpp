#include "HalfbandKernels.h"

#include "HalfbandPairSum.h"

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

namespace {

constexpr int kAvx2Vectors = 2 * kHalfbandOddTaps / 4;

// Adds four accumulators' lanes, the same way for the single and the paired sums.
__attribute__((target("avx2"))) inline void reduceAvx2(__m256d acc0, __m256d acc1, __m256d acc2,
                                                       __m256d acc3, double out[2]) {
    const __m256d sum = _mm256_add_pd(_mm256_add_pd(acc0, acc1), _mm256_add_pd(acc2, acc3));
    _mm_storeu_pd(out, _mm_add_pd(_mm256_castpd256_pd128(sum), _mm256_extractf128_pd(sum, 1)));
}

} // namespace

// Two pairs per vector: 76 vectors, 19 rounds of four accumulators.
__attribute__((target("avx2,fma"))) void halfbandSumAvx2Fma(const double* oddTaps,
                                                            const double* pairs, double out[2]) {
    __m256d acc0 = _mm256_setzero_pd(), acc1 = _mm256_setzero_pd();
    __m256d acc2 = _mm256_setzero_pd(), acc3 = _mm256_setzero_pd();
    // Unrolled whole: the loop's own counting would add a third to the instructions.
#pragma GCC unroll 19
    for (int v = 0; v < kAvx2Vectors; v += 4) {
        const double* t = oddTaps + 4 * v;
        const double* p = pairs + 4 * v;
        acc0 = _mm256_fmadd_pd(_mm256_load_pd(t), _mm256_loadu_pd(p), acc0);
        acc1 = _mm256_fmadd_pd(_mm256_load_pd(t + 4), _mm256_loadu_pd(p + 4), acc1);
        acc2 = _mm256_fmadd_pd(_mm256_load_pd(t + 8), _mm256_loadu_pd(p + 8), acc2);
        acc3 = _mm256_fmadd_pd(_mm256_load_pd(t + 12), _mm256_loadu_pd(p + 12), acc3);
    }
    reduceAvx2(acc0, acc1, acc2, acc3, out);
}

namespace {

// Adds the four accumulators' lanes in the order the single kernel has always used.
__attribute__((target("avx512f"))) inline void
reduceAvx512(__m512d acc0, __m512d acc1, __m512d acc2, __m512d acc3, double out[2]) {
    alignas(64) double lanes[8];
    _mm512_store_pd(lanes, _mm512_add_pd(_mm512_add_pd(acc0, acc1), _mm512_add_pd(acc2, acc3)));
    out[0] = (lanes[0] + lanes[2]) + (lanes[4] + lanes[6]);
    out[1] = (lanes[1] + lanes[3]) + (lanes[5] + lanes[7]);
}

} // namespace

// Four pairs per vector: 38 vectors, 19 rounds of two in four accumulators. Half the
// instructions of the 256-bit kernel leave more room for the core's serial chain beside it.
__attribute__((target("avx512f"))) void halfbandSumAvx512(const double* oddTaps,
                                                          const double* pairs, double out[2]) {
    __m512d acc0 = _mm512_setzero_pd(), acc1 = _mm512_setzero_pd();
    __m512d acc2 = _mm512_setzero_pd(), acc3 = _mm512_setzero_pd();
    for (int i = 0; i < 2 * kHalfbandOddTaps; i += 32) {
        acc0 = _mm512_fmadd_pd(_mm512_load_pd(oddTaps + i), _mm512_loadu_pd(pairs + i), acc0);
        acc1 =
            _mm512_fmadd_pd(_mm512_load_pd(oddTaps + i + 8), _mm512_loadu_pd(pairs + i + 8), acc1);
        if (i + 16 >= 2 * kHalfbandOddTaps) break;
        acc2 = _mm512_fmadd_pd(_mm512_load_pd(oddTaps + i + 16), _mm512_loadu_pd(pairs + i + 16),
                               acc2);
        acc3 = _mm512_fmadd_pd(_mm512_load_pd(oddTaps + i + 24), _mm512_loadu_pd(pairs + i + 24),
                               acc3);
    }
    reduceAvx512(acc0, acc1, acc2, acc3, out);
}

// halfbandSumAvx512 for two histories side by side, each tap vector loaded once for both.
__attribute__((target("avx512f"))) void halfbandPairSumAvx512(const double* oddTaps,
                                                              const double* pairsA,
                                                              const double* pairsB, double outA[2],
                                                              double outB[2]) {
    fusedHalfbandPairSum<EightLanes>(oddTaps, pairsA, pairsB, outA, outB);
}

// Where the loads of the taps are not the limit, two single sums.
void halfbandPairSumSse2(const double* oddTaps, const double* pairsA, const double* pairsB,
                         double outA[2], double outB[2]) {
    halfbandSumSse2(oddTaps, pairsA, outA);
    halfbandSumSse2(oddTaps, pairsB, outB);
}

// halfbandSumAvx2Fma for two histories side by side, each tap vector loaded once for both.
__attribute__((target("avx2,fma"))) void halfbandPairSumAvx2Fma(const double* oddTaps,
                                                                const double* pairsA,
                                                                const double* pairsB,
                                                                double outA[2], double outB[2]) {
    fusedHalfbandPairSum<WideLanes>(oddTaps, pairsA, pairsB, outA, outB);
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
