#pragma once

#include "StereoSignal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

// Bit for bit the same, as two editions of one effect must sound; names the first difference.
template <typename Sample>
::testing::AssertionResult sameSamples(const Stereo<Sample>& a, const Stereo<Sample>& b) {
    for (const auto& [x, y] : {std::pair{&a.left, &b.left}, std::pair{&a.right, &b.right}}) {
        if (x->size() != y->size()) return ::testing::AssertionFailure() << "lengths differ";
        for (std::size_t n = 0; n < x->size(); ++n)
            if (std::memcmp(&(*x)[n], &(*y)[n], sizeof(Sample)) != 0)
                return ::testing::AssertionFailure()
                       << "first difference at frame " << n << ": " << (*x)[n] << " vs " << (*y)[n];
    }
    return ::testing::AssertionSuccess();
}
