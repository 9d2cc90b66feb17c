#include "engine/StereoDelayLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Runs a ramp through a line in blocks of the given sizes, cycling through them; each channel
// must come out as the ramp `length` samples late, silence before it.
void expectRampDelayed(int capacity, int length, const std::vector<int>& blockSizes) {
    StereoDelayLine line(capacity);
    line.setLength(length);
    constexpr int kTotal = 1000;
    std::vector<double> a(kTotal), b(kTotal);
    for (int n = 0; n < kTotal; ++n) {
        a[n] = n + 1.0;
        b[n] = -(n + 1.0);
    }
    int start = 0;
    for (size_t k = 0; start < kTotal; ++k) {
        int count = blockSizes[k % blockSizes.size()];
        if (count > kTotal - start) count = kTotal - start;
        line.processBlock(a.data() + start, b.data() + start, count);
        start += count;
    }
    for (int n = 0; n < kTotal; ++n) {
        const double expected = n < length ? 0.0 : n + 1.0 - length;
        ASSERT_EQ(a[n], expected) << "sample " << n;
        ASSERT_EQ(b[n], -expected) << "sample " << n;
    }
}

TEST(StereoDelayLineTest, BlocksDelayByTheLengthAcrossWraps) {
    // Blocks shorter than, equal to and longer than the line, and an empty one.
    expectRampDelayed(151, 151, {64, 7, 0, 151, 300, 1});
    expectRampDelayed(500, 151, {64});
    expectRampDelayed(1, 1, {64, 3});
}

TEST(StereoDelayLineTest, BlocksAndSingleSamplesShareOnePosition) {
    StereoDelayLine line(5);
    double a[3] = {1.0, 2.0, 3.0}, b[3] = {4.0, 5.0, 6.0};
    line.processBlock(a, b, 3);
    double x = 7.0, y = 8.0;
    for (int n = 0; n < 2; ++n)
        line.process(x, y);
    double c[2] = {0.0, 0.0}, d[2] = {0.0, 0.0};
    line.processBlock(c, d, 2);
    EXPECT_EQ(c[0], 1.0);
    EXPECT_EQ(c[1], 2.0);
    EXPECT_EQ(d[0], 4.0);
    EXPECT_EQ(d[1], 5.0);
}

// A line fed by turns through the exchange, the copy out and the store alone keeps one position:
// every pair leaves as the ramp `length` late, and the copy leaves its inputs as they were.
TEST(StereoDelayLineTest, ExchangeCopyAndStoreAloneShareOnePosition) {
    StereoDelayLine line(151);
    constexpr int kTotal = 1000;
    std::vector<double> a(kTotal), b(kTotal), outA(kTotal, -1.0), outB(kTotal, -1.0);
    for (int n = 0; n < kTotal; ++n) {
        a[n] = n + 1.0;
        b[n] = -(n + 1.0);
    }
    const std::vector<double> inA = a, inB = b;
    const int sizes[] = {64, 7, 151, 300, 1, 13};
    std::vector<bool> heard(kTotal, true);
    int start = 0;
    for (int k = 0; start < kTotal; ++k) {
        const int count = std::min(sizes[k % 6], kTotal - start);
        switch (k % 3) {
        case 0:
            line.processBlock(a.data() + start, b.data() + start, count);
            std::copy(a.begin() + start, a.begin() + start + count, outA.begin() + start);
            std::copy(b.begin() + start, b.begin() + start + count, outB.begin() + start);
            break;
        case 1:
            line.delayBlock(a.data() + start, b.data() + start, outA.data() + start,
                            outB.data() + start, count);
            for (int n = start; n < start + count; ++n)
                ASSERT_TRUE(a[n] == inA[n] && b[n] == inB[n]) << "input " << n << " changed";
            break;
        default:
            line.pushBlock(a.data() + start, b.data() + start, count);
            std::fill(heard.begin() + start, heard.begin() + start + count, false);
            break;
        }
        start += count;
    }
    for (int n = 0; n < kTotal; ++n) {
        if (!heard[n]) continue;
        const double expected = n < 151 ? 0.0 : n + 1.0 - 151;
        ASSERT_EQ(outA[n], expected) << "sample " << n;
        ASSERT_EQ(outB[n], -expected) << "sample " << n;
    }
}

} // namespace
