#include "HalfbandKernels.h"

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

// Four independent accumulators hide the add latency; the order of the additions changes,
// which moves the result by a few ulps of the sum only.
__attribute__((target("sse2"))) void halfbandSumSse2(const double* oddTaps, const double* pairs, double out[2]) {
    __m128d acc0 = _mm_setzero_pd();
    __m128d acc1 = _mm_setzero_pd();
    __m128d acc2 = _mm_setzero_pd();
    __m128d acc3 = _mm_setzero_pd();
    for (int i = 0; i < 2 * kHalfbandOddTaps; i += 8) {
        acc0 = _mm_add_pd(acc0, _mm_mul_pd(_mm_load_pd(oddTaps + i), _mm_load_pd(pairs + i)));
        acc1 = _mm_add_pd(acc1, _mm_mul_pd(_mm_load_pd(oddTaps + i + 2), _mm_load_pd(pairs + i + 2)));
        acc2 = _mm_add_pd(acc2, _mm_mul_pd(_mm_load_pd(oddTaps + i + 4), _mm_load_pd(pairs + i + 4)));
        acc3 = _mm_add_pd(acc3, _mm_mul_pd(_mm_load_pd(oddTaps + i + 6), _mm_load_pd(pairs + i + 6)));
    }
    _mm_storeu_pd(out, _mm_add_pd(_mm_add_pd(acc0, acc1), _mm_add_pd(acc2, acc3)));
}

// Two pairs per 256-bit vector; 304 doubles make 19 rounds of four vectors.
__attribute__((target("avx2,fma"))) void halfbandSumAvx2Fma(const double* oddTaps, const double* pairs,
                                                             double out[2]) {
    __m256d acc0 = _mm256_setzero_pd();
    __m256d acc1 = _mm256_setzero_pd();
    __m256d acc2 = _mm256_setzero_pd();
    __m256d acc3 = _mm256_setzero_pd();
    for (int i = 0; i < 2 * kHalfbandOddTaps; i += 16) {
        acc0 = _mm256_fmadd_pd(_mm256_load_pd(oddTaps + i), _mm256_loadu_pd(pairs + i), acc0);
        acc1 = _mm256_fmadd_pd(_mm256_load_pd(oddTaps + i + 4), _mm256_loadu_pd(pairs + i + 4), acc1);
        acc2 = _mm256_fmadd_pd(_mm256_load_pd(oddTaps + i + 8), _mm256_loadu_pd(pairs + i + 8), acc2);
        acc3 = _mm256_fmadd_pd(_mm256_load_pd(oddTaps + i + 12), _mm256_loadu_pd(pairs + i + 12), acc3);
    }
    const __m256d sum = _mm256_add_pd(_mm256_add_pd(acc0, acc1), _mm256_add_pd(acc2, acc3));
    _mm_storeu_pd(out, _mm_add_pd(_mm256_castpd256_pd128(sum), _mm256_extractf128_pd(sum, 1)));
}

// Four pairs per 512-bit vector; 304 doubles make 19 rounds of two vectors. Half the
// instructions of the 256-bit kernel leave more room for the core's serial chain beside it.
__attribute__((target("avx512f"))) void halfbandSumAvx512(const double* oddTaps, const double* pairs, double out[2]) {
    __m512d acc0 = _mm512_setzero_pd();
    __m512d acc1 = _mm512_setzero_pd();
    for (int i = 0; i < 2 * kHalfbandOddTaps; i += 16) {
        acc0 = _mm512_fmadd_pd(_mm512_load_pd(oddTaps + i), _mm512_loadu_pd(pairs + i), acc0);
        acc1 = _mm512_fmadd_pd(_mm512_load_pd(oddTaps + i + 8), _mm512_loadu_pd(pairs + i + 8), acc1);
    }
    alignas(64) double lanes[8];
    _mm512_store_pd(lanes, _mm512_add_pd(acc0, acc1));
    out[0] = (lanes[0] + lanes[2]) + (lanes[4] + lanes[6]);
    out[1] = (lanes[1] + lanes[3]) + (lanes[5] + lanes[7]);
}

HalfbandKernel bestHalfbandKernel() {
    static const HalfbandKernel kernel = [] {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx512f")) return &halfbandSumAvx512;
        if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) return &halfbandSumAvx2Fma;
        return &halfbandSumSse2;
    }();
    return kernel;
}

#else

HalfbandKernel bestHalfbandKernel() { return &halfbandSumScalar; }

#endif
