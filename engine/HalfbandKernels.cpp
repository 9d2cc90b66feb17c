#include "HalfbandKernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

void halfbandSumScalar(const double* oddTaps, const double* pairs, double out[2]) {
    double left = 0.0;
    double right = 0.0;
    for (int j = 0; j < kHalfbandOddTaps; ++j) {
        left += oddTaps[2 * j] * pairs[4 * j];
        right += oddTaps[2 * j + 1] * pairs[4 * j + 1];
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
    for (int j = 0; j < kHalfbandOddTaps; j += 4) {
        acc0 = _mm_add_pd(acc0, _mm_mul_pd(_mm_load_pd(oddTaps + 2 * j), _mm_load_pd(pairs + 4 * j)));
        acc1 = _mm_add_pd(acc1, _mm_mul_pd(_mm_load_pd(oddTaps + 2 * j + 2), _mm_load_pd(pairs + 4 * j + 4)));
        acc2 = _mm_add_pd(acc2, _mm_mul_pd(_mm_load_pd(oddTaps + 2 * j + 4), _mm_load_pd(pairs + 4 * j + 8)));
        acc3 = _mm_add_pd(acc3, _mm_mul_pd(_mm_load_pd(oddTaps + 2 * j + 6), _mm_load_pd(pairs + 4 * j + 12)));
    }
    _mm_storeu_pd(out, _mm_add_pd(_mm_add_pd(acc0, acc1), _mm_add_pd(acc2, acc3)));
}

// Two odd pairs per 256-bit lane set: the history pairs are two pairs apart, so each vector is
// assembled from two 128-bit loads; the taps are already contiguous.
__attribute__((target("avx2,fma"))) void halfbandSumAvx2Fma(const double* oddTaps, const double* pairs,
                                                             double out[2]) {
    __m256d acc0 = _mm256_setzero_pd();
    __m256d acc1 = _mm256_setzero_pd();
    __m256d acc2 = _mm256_setzero_pd();
    __m256d acc3 = _mm256_setzero_pd();
    for (int j = 0; j < kHalfbandOddTaps; j += 8) {
        const double* p = pairs + 4 * j;
        const double* c = oddTaps + 2 * j;
        const __m256d h0 = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_load_pd(p)), _mm_load_pd(p + 4), 1);
        const __m256d h1 = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_load_pd(p + 8)), _mm_load_pd(p + 12), 1);
        const __m256d h2 = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_load_pd(p + 16)), _mm_load_pd(p + 20), 1);
        const __m256d h3 = _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_load_pd(p + 24)), _mm_load_pd(p + 28), 1);
        acc0 = _mm256_fmadd_pd(_mm256_loadu_pd(c), h0, acc0);
        acc1 = _mm256_fmadd_pd(_mm256_loadu_pd(c + 4), h1, acc1);
        acc2 = _mm256_fmadd_pd(_mm256_loadu_pd(c + 8), h2, acc2);
        acc3 = _mm256_fmadd_pd(_mm256_loadu_pd(c + 12), h3, acc3);
    }
    const __m256d sum = _mm256_add_pd(_mm256_add_pd(acc0, acc1), _mm256_add_pd(acc2, acc3));
    _mm_storeu_pd(out, _mm_add_pd(_mm256_castpd256_pd128(sum), _mm256_extractf128_pd(sum, 1)));
}

HalfbandKernel bestHalfbandKernel() {
    static const HalfbandKernel kernel = [] {
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) return &halfbandSumAvx2Fma;
        return &halfbandSumSse2;
    }();
    return kernel;
}

#else

HalfbandKernel bestHalfbandKernel() { return &halfbandSumScalar; }

#endif
