// The engine's double-precision arithmetic may run in any algebraically equal order, fused or
// not, with reciprocals in place of divisions; each such change moves a result by about 1e-16
// relative. This pins what that may add up to at the output: for every factory program, rate,
// signal and sample type, within 1e-7 of full scale of the renders kept from the engine before
// its arithmetic was reordered, at every sample.
#include "ReferenceRenders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

constexpr double kBudget = 1e-7;

class OutputBudget : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const std::size_t samples = reference::allCases().size() * 2 * reference::kFrames;
        renders_ = new std::vector<double>(reference::readRenders(QVL_REFERENCE_RENDERS, samples));
    }
    static void TearDownTestSuite() {
        delete renders_;
        renders_ = nullptr;
    }

    // The kept render of case number index, left then right.
    static const double* kept(std::size_t index) {
        return renders_->data() + index * 2 * reference::kFrames;
    }

    // The largest difference of the output from the kept render, over both channels, less what
    // the sample type's own rounding of the output allows: a float output was the double output
    // rounded to the nearest float, before and after, and the kept render is that double.
    template <typename Sample> static double largestDifference(std::size_t index) {
        const reference::Case c = reference::allCases()[index];
        const reference::StereoOutput out = reference::render<Sample>(c);
        const double* keptLeft = kept(index);
        const double* keptRight = keptLeft + reference::kFrames;
        double largest = 0.0;
        for (int n = 0; n < reference::kFrames; ++n) {
            largest = std::fmax(largest, std::fabs(out.left[n] - keptLeft[n]) -
                                             halfStep<Sample>(keptLeft[n]));
            largest = std::fmax(largest, std::fabs(out.right[n] - keptRight[n]) -
                                             halfStep<Sample>(keptRight[n]));
        }
        return largest;
    }

    // Half the distance between neighbouring values of the sample type around x; nothing for the
    // double, whose own rounding the kept precision covers.
    template <typename Sample> static double halfStep(double x) {
        if (sizeof(Sample) == sizeof(double)) return 0.0;
        const float f = static_cast<float>(std::fabs(x));
        return 0.5 * static_cast<double>(std::nextafter(f, 2.0f * f + 1.0f) - f);
    }

    template <typename Sample> static void expectWithinBudget() {
        ASSERT_FALSE(renders_->empty()) << "cannot read " << QVL_REFERENCE_RENDERS;
        const std::vector<reference::Case> cases = reference::allCases();
        double largest = 0.0;
        std::size_t largestCase = 0;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const double d = largestDifference<Sample>(i);
            EXPECT_LE(d, kBudget - reference::kKeptPrecision) << reference::describe(cases[i]);
            // NaN would pass a comparison that fails.
            EXPECT_FALSE(std::isnan(d)) << reference::describe(cases[i]);
            if (d > largest) {
                largest = d;
                largestCase = i;
            }
        }
        // How much of the budget the engine uses, for whoever changes it next.
        std::cout << "largest difference " << largest << " of " << kBudget << ", "
                  << reference::describe(cases[largestCase]) << "\n";
    }

    static std::vector<double>* renders_;
};

std::vector<double>* OutputBudget::renders_ = nullptr;

TEST_F(OutputBudget, DoubleProcessingStaysWithinTheBudgetOfTheKeptRenders) {
    expectWithinBudget<double>();
}

TEST_F(OutputBudget, FloatProcessingStaysWithinTheBudgetOfTheKeptRenders) {
    expectWithinBudget<float>();
}

// The runs under a cap must run the capped path, or they would only repeat the widest one.
TEST(OutputBudgetPath, TheEffectRunsTheInstructionSetOfTheCap) {
    const char* cap = std::getenv(kInstructionSetVariable);
    const InstructionSet set = CompressorEffect(nullptr).engine().instructionSet();
    if (cap != nullptr && std::strcmp(cap, "sse2") == 0) {
        EXPECT_EQ(set, InstructionSet::sse2);
    }
    EXPECT_EQ(set, bestInstructionSet());
}

} // namespace
