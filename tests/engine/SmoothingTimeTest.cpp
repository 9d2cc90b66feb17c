#include "engine/SmoothingTime.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(TimeCoefficient, TimesOfTenMicrosecondsOrLessDoNotSmooth) {
    EXPECT_EQ(timeCoefficient(0.01, 44100.0), 0.0);
    EXPECT_EQ(timeCoefficient(0.0, 88200.0), 0.0);
    EXPECT_EQ(timeCoefficient(-5.0, 88200.0), 0.0);
}

TEST(TimeCoefficient, FollowsTheCubicSeriesOfTheExponential) {
    // 1 ms at 88200 Hz: x = -1000 / 88200.
    const double x = -1000.0 / 88200.0;
    const double series = 1.0 + x + x * x / 2.0 + x * x * x / 6.0;
    const double c = timeCoefficient(1.0, 88200.0);
    EXPECT_NEAR(c, series, 1e-8);
    EXPECT_NEAR(c, std::exp(x), 1e-6);
    EXPECT_LT(c, 1.0);
}

TEST(TimeCoefficient, KeepsTheTruncatedSixth) {
    // For very long times x -> 0 and the series tends to 6 * 0.166666666, not 1.
    EXPECT_NEAR(timeCoefficient(1e12, 44100.0), 0.999999996, 1e-12);
}

TEST(TimeCoefficient, NeverGoesNegativeForSubSampleTimes) {
    // 0.011 ms at 44100 Hz is half a sample: the raw cubic would be about -0.4, and far below it
    // would pass -1 and make the smoother diverge.
    EXPECT_EQ(timeCoefficient(0.011, 44100.0), 0.0);
    EXPECT_EQ(timeCoefficient(0.02, 8000.0), 0.0);
    EXPECT_GT(timeCoefficient(0.1, 70000.0), 0.0);
}

TEST(SmoothingTime, CoefficientFollowsTimeAndRate) {
    SmoothingTime t(10.0, 44100.0);
    EXPECT_EQ(t.coefficient, timeCoefficient(10.0, 44100.0));
    t.set(10.0, 96000.0);
    EXPECT_EQ(t.coefficient, timeCoefficient(10.0, 96000.0));
    EXPECT_GT(t.coefficient, timeCoefficient(10.0, 44100.0));
}

TEST(SmoothingTime, StepMovesTowardTheTarget) {
    SmoothingTime t(1.0, 1000.0); // one sample per millisecond: x = -1
    const double c = (1.0 - 1.0 + 0.5 - 1.0 / 6.0);
    EXPECT_NEAR(t.coefficient, c, 1e-8);
    EXPECT_NEAR(t.smooth(0.0, 3.0), 3.0 - 3.0 * c, 1e-8);
}

} // namespace
