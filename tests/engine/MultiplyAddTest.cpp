#include "engine/MultiplyAdd.h"
#include "engine/InstructionSet.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Operands whose product rounds away a part that the fused step keeps: (1 + e)(1 - e) - 1 is
// -e^2 exactly, and 0 when the product is rounded first. Each lane is scaled differently, so a
// swapped lane or operand shows too.
constexpr double kE = 1.0 / (1 << 30);
constexpr double kScale[4] = {1.0, -2.0, 4.0, 0.5};

double a(int lane) {
    return (1.0 + kE) * kScale[lane];
}
double b(int lane) {
    return (1.0 - kE) * kScale[lane];
}
double c(int lane) {
    return -kScale[lane] * kScale[lane];
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2,fma"))) Lanes fusedLanes(bool subtract) {
    const Lanes x{a(0), a(1)}, y{b(0), b(1)}, z{c(0), c(1)};
    return subtract ? subtractProduct<true>(-z, x, y) : multiplyAdd<true>(x, y, z);
}
// Through memory: a four-lane value returned to code compiled without AVX would cross the call
// in another register convention.
__attribute__((target("avx2,fma"))) void fusedWideLanes(bool subtract, double out[4]) {
    const WideLanes x{a(0), a(1), a(2), a(3)}, y{b(0), b(1), b(2), b(3)}, z{c(0), c(1), c(2), c(3)};
    WideLanes r = z;
    if (subtract) {
        r = -z;
        subtractProductFrom<true>(r, x, y);
    } else {
        addProductTo<true>(r, x, y);
    }
    for (int lane = 0; lane < 4; ++lane)
        out[lane] = r[lane];
}
#endif

TEST(MultiplyAdd, FusedLanesRoundOnceEachLaneWithItsOwnOperands) {
#if defined(__x86_64__) || defined(__i386__)
    if (!isSupported(InstructionSet::avx2Fma)) GTEST_SKIP() << "no fused multiply-add here";
    for (const bool subtract : {false, true}) {
        const Lanes two = fusedLanes(subtract);
        double four[4];
        fusedWideLanes(subtract, four);
        for (int lane = 0; lane < 4; ++lane) {
            const double exact = -kE * kE * kScale[lane] * kScale[lane];
            const double expected = subtract ? -exact : exact;
            if (lane < 2) {
                EXPECT_EQ(two[lane], expected) << "lane " << lane;
            }
            EXPECT_EQ(four[lane], expected) << "lane " << lane;
        }
    }
#else
    GTEST_SKIP() << "the fused lanes are written for x86";
#endif
}

TEST(MultiplyAdd, PlainLanesRoundTheProductFirst) {
    const Lanes x{a(0), a(1)}, y{b(0), b(1)}, z{c(0), c(1)};
    const Lanes sum = multiplyAdd<false>(x, y, z);
    const Lanes difference = subtractProduct<false>(-z, x, y);
    // The product rounds to the square of the lane's scale, which c cancels exactly.
    for (int lane = 0; lane < 2; ++lane) {
        EXPECT_EQ(sum[lane], 0.0) << "lane " << lane;
        EXPECT_EQ(difference[lane], 0.0) << "lane " << lane;
    }
}

} // namespace
