#include "EngineTestSupport.h"
#include "engine/HalfbandFir.h"
#include "engine/HalfbandKernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

namespace {

using enginetest::kPi;

TEST(HalfbandTaps, MatchThePublishedValues) {
    const auto engine = std::make_unique<DynamicsEngine>();
    const auto& h = engine->halfbandTaps();
    EXPECT_NEAR(h[150], 0.49999936516553734, 1e-15);
    EXPECT_NEAR(h[151], 0.3182464637467153, 1e-15);
    EXPECT_NEAR(h[149], 0.3182464637467153, 1e-15);
    EXPECT_NEAR(h[1], 1.723599974111e-06, 1e-17);
    EXPECT_NEAR(h[299], 1.723599974111e-06, 1e-17);
}

TEST(HalfbandTaps, AreASymmetricHalfbandWithUnityDcGain) {
    const auto h = makeHalfbandTaps();
    double sum = 0.0;
    for (int k = 0; k < kHalfbandTaps; ++k) {
        sum += h[k];
        if (k > 300 || (k % 2 == 0 && k != 150)) {
            EXPECT_EQ(h[k], 0.0) << k;
        }
        if (k <= 300) {
            EXPECT_EQ(h[k], h[300 - k]) << k;
        }
    }
    EXPECT_NEAR(sum, 1.0, 1e-15);
}

// Reference: the plain sum over every tap, straight from the history as pushed.
struct ReferenceFir {
    std::vector<double> left, right; // most recent first
    std::array<double, kHalfbandTaps> h = makeHalfbandTaps();
    void push(double l, double r) {
        left.insert(left.begin(), l);
        right.insert(right.begin(), r);
    }
    double output(const std::vector<double>& x) const {
        double y = 0.0;
        for (int k = 0; k < kHalfbandTaps && k < static_cast<int>(x.size()); ++k)
            y += h[k] * x[k];
        return y;
    }
};

// Runs push(std::integral_constant<int, parity>) with the parity of push number i.
template <typename Push> void atParity(int i, Push push) {
    if (i % 2 == 0)
        push(std::integral_constant<int, 0>{});
    else
        push(std::integral_constant<int, 1>{});
}

TEST(HalfbandFir, FullAndCentreOutputsMatchAPlainConvolution) {
    const auto h = makeHalfbandTaps();
    HalfbandFir fir(h);
    ReferenceFir ref;
    const auto l = enginetest::randomSignal(2000, 1.0, 7);
    const auto r = enginetest::randomSignal(2000, 1.0, 8);
    for (int i = 0; i < 2000; ++i) {
        double a = l[i], b = r[i];
        ref.push(a, b);
        atParity(i, [&](auto parity) {
            if (i % 3 == 0) {
                fir.pushCentre<parity.value>(a, b);
                ASSERT_NEAR(a, h[150] * (i >= 150 ? l[i - 150] : 0.0), 1e-15);
            } else if (i % 3 == 1) {
                fir.pushFull<parity.value>(a, b);
                ASSERT_NEAR(a, ref.output(ref.left), 1e-12) << i;
                ASSERT_NEAR(b, ref.output(ref.right), 1e-12) << i;
            } else {
                fir.pushOnly<parity.value>(a, b);
            }
        });
    }
}

TEST(HalfbandFir, ClearForgetsTheHistory) {
    HalfbandFir fir(makeHalfbandTaps());
    for (int i = 0; i < 500; ++i) {
        double a = 1.0, b = -1.0;
        atParity(i, [&](auto parity) { fir.pushFull<parity.value>(a, b); });
    }
    fir.clear();
    double a = 0.0, b = 0.0;
    fir.pushFull<0>(a, b);
    EXPECT_EQ(a, 0.0);
    EXPECT_EQ(b, 0.0);
}

TEST(HalfbandFir, UpAndDownPassTheLowBandCleanlyWithTheirDelay) {
    // 2x up and 2x down as the oversampled frame does it, on a 5 kHz sine at 44.1 kHz.
    const double rate = 44100.0, f = 5000.0;
    const auto h = makeHalfbandTaps();
    HalfbandFir up(h), down(h);
    const auto x = enginetest::sine(4000, 1.0, f, rate);
    for (int i = 0; i < 4000; ++i) {
        double a = 2.0 * x[i], b = 0.0, c = 0.0, d = 0.0;
        up.pushCentre<0>(a, b);
        up.pushFull<1>(c, d);
        if (i >= 1000) {
            // 150 internal samples of delay: the pair sits at host times i - 75 and i - 74.5, and
            // any image of the zero stuffing would show as an error of the in-between sample.
            ASSERT_NEAR(a, std::sin(2.0 * kPi * f * (i - 75) / rate), 1e-4) << i;
            ASSERT_NEAR(c, std::sin(2.0 * kPi * f * (i - 74.5) / rate), 1e-4) << i;
        }
        down.pushFull<0>(a, b);
        down.pushOnly<1>(c, d);
        if (i >= 1000) {
            ASSERT_NEAR(a, x[i - 150], 1e-4) << i; // the core's extra sample is not here
        }
    }
}

#if defined(__x86_64__) || defined(__i386__)
// The oversampled frame's sums with AVX2: in two parts over shared taps.
__attribute__((target("avx2,fma"))) void
sumsInTwoParts(const HalfbandFir& up, const HalfbandFir& down, double zero[2], double pushed[2]) {
    HalfbandAccumulators sums[2] = {};
    HalfbandFir::accumulatePairSums<1, 0, 0>(up, down, sums);
    HalfbandFir::accumulatePairSums<1, 0, 1>(up, down, sums);
    finishHalfbandSum(sums[0], zero);
    finishHalfbandSum(sums[1], pushed);
}
#endif

// The interpolator's stuffed zero and the decimator's push as the oversampled frame takes them:
// summed whole by the filters' kernels, in two parts where the processor has AVX2, and the
// stuffed zero alone.
TEST(HalfbandFir, AStuffedZeroAndADecimatorsPushGiveThePlainConvolutions) {
    const auto h = makeHalfbandTaps();
    HalfbandFir up(h), down(h);
    ReferenceFir refUp, refDown;
    const auto x = enginetest::randomSignal(1000, 1.0, 9);
    const auto y = enginetest::randomSignal(1000, 1.0, 10);
    for (int i = 0; i + 1 < 1000; i += 2) {
        double a = x[i], b = y[i];
        refUp.push(a, b);
        up.pushCentre<0>(a, b);
        refUp.push(0.0, 0.0);
        refDown.push(x[i + 1], y[i + 1]);
        const double zeroLeft = refUp.output(refUp.left), zeroRight = refUp.output(refUp.right);
        double zero[2], pushed[2], alone[2];
        HalfbandFir::pairSums<1, 0>(up, down, zero, pushed);
        up.stuffedZero<1>(alone[0], alone[1]);
        EXPECT_NEAR(alone[0], zeroLeft, 1e-12) << i;
        EXPECT_NEAR(alone[1], zeroRight, 1e-12) << i;
#if defined(__x86_64__) || defined(__i386__)
        if (isSupported(InstructionSet::avx2Fma)) {
            double zeroInParts[2], pushedInParts[2];
            sumsInTwoParts(up, down, zeroInParts, pushedInParts);
            ASSERT_NEAR(zeroInParts[0], zeroLeft, 1e-12) << i;
            ASSERT_NEAR(zeroInParts[1], zeroRight, 1e-12) << i;
            ASSERT_NEAR(pushedInParts[0], pushed[0], 1e-12) << i;
            ASSERT_NEAR(pushedInParts[1], pushed[1], 1e-12) << i;
        }
#endif
        ASSERT_NEAR(zero[0], zeroLeft, 1e-12) << i;
        ASSERT_NEAR(zero[1], zeroRight, 1e-12) << i;
        double c = x[i + 1], d = y[i + 1];
        down.pushFull<0>(c, d, pushed);
        ASSERT_NEAR(c, refDown.output(refDown.left), 1e-12) << i;
        ASSERT_NEAR(d, refDown.output(refDown.right), 1e-12) << i;
        refDown.push(-y[i], x[i]);
        down.pushOnly<1>(-y[i], x[i]);
    }
}

// The vector kernels may add in another order than the plain loop, nothing more.
TEST(HalfbandKernels, AgreeWithThePlainLoopOnALongRandomSignal) {
    const auto h = makeHalfbandTaps();
    alignas(64) double taps[2 * kHalfbandOddTaps];
    for (int j = 0; j < kHalfbandOddTaps; ++j)
        taps[2 * j] = taps[2 * j + 1] = h[2 * j + 1];
    const auto signal = enginetest::randomSignal(200000, 1.0, 99);
    std::vector<HalfbandKernel> kernels = {&halfbandSumScalar, bestHalfbandKernel()};
#if defined(__x86_64__) || defined(__i386__)
    kernels.push_back(&halfbandSumSse2);
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        kernels.push_back(&halfbandSumAvx2Fma);
#endif
    const double* aligned = enginetest::firstPairAligned(signal);
    for (size_t start = 0; start + 2 * kHalfbandOddTaps < signal.size(); start += 2 * 97) {
        const double* pairs = aligned + start; // pair aligned: start is even
        double plain[2] = {0.0, 0.0};
        for (int j = 0; j < kHalfbandOddTaps; ++j) {
            plain[0] += h[2 * j + 1] * pairs[2 * j];
            plain[1] += h[2 * j + 1] * pairs[2 * j + 1];
        }
        for (const HalfbandKernel kernel : kernels) {
            double vec[2];
            ASSERT_EQ(reinterpret_cast<uintptr_t>(pairs) % 16u, 0u);
            kernel(taps, pairs, vec);
            ASSERT_NEAR(vec[0], plain[0], 1e-12) << start;
            ASSERT_NEAR(vec[1], plain[1], 1e-12) << start;
        }
    }
}

} // namespace
