// The artwork for larger display scales is drawn at that resolution, not enlarged from the
// 100 % images: an enlargement, blocky or smooth, holds no detail finer than the 100 % pixels,
// a drawing at the finer resolution does. Each image is weighed against both enlargements of
// its own 100 % picture.
#include "views/BitmapResample.h"
#include "views/CBitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

// The 100 % image blown up by repeating its pixels.
SharedRef<CBitmap> repeated(const CBitmap& small, int32_t width, int32_t height) {
    auto big = SharedRef<CBitmap>::adopt(new CBitmap(width, height));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            big->pixels()[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                small.pixelAt(x * small.getWidth() / width, y * small.getHeight() / height);
    return big;
}

// The 100 % image blown up smoothly (each pixel the area-weighted mean of what it covers).
SharedRef<CBitmap> smoothed(const CBitmap& small, int32_t width, int32_t height) {
    auto big = SharedRef<CBitmap>::adopt(new CBitmap(width, height));
    resampleArea(small, *big);
    return big;
}

// Of the pixels on the 100 % image's edges (a pixel unlike a neighbour), the share that the
// large image shows exactly as repeating the 100 % pixel would: 1 for a blocky enlargement.
double repeatedEdgeShare(const CBitmap& small, const CBitmap& big) {
    int edges = 0;
    int same = 0;
    for (int32_t y = 0; y < big.getHeight(); ++y)
        for (int32_t x = 0; x < big.getWidth(); ++x) {
            const int32_t sx = x * small.getWidth() / big.getWidth();
            const int32_t sy = y * small.getHeight() / big.getHeight();
            const uint32_t p = small.pixelAt(sx, sy);
            if (p == small.pixelAt(sx + 1, sy) && p == small.pixelAt(sx, sy + 1) &&
                p == small.pixelAt(sx - 1, sy) && p == small.pixelAt(sx, sy - 1))
                continue;
            ++edges;
            same += big.pixelAt(x, y) == p;
        }
    return edges ? double(same) / edges : 1.0;
}

// Detail finer than the 100 % pixel grid: how far the image is from itself brought down to
// `small`'s size and up again, mean per channel. An enlargement has next to none.
double fineDetail(const CBitmap& image, const CBitmap& small) {
    CBitmap down(small.getWidth(), small.getHeight());
    resampleArea(image, down);
    CBitmap up(image.getWidth(), image.getHeight());
    resampleArea(down, up);
    double sum = 0;
    for (int32_t y = 0; y < image.getHeight(); ++y)
        for (int32_t x = 0; x < image.getWidth(); ++x)
            for (int shift = 0; shift < 32; shift += 8)
                sum += std::abs(int((image.pixelAt(x, y) >> shift) & 0xff) -
                                int((up.pixelAt(x, y) >> shift) & 0xff));
    return sum / (4.0 * image.getWidth() * image.getHeight());
}

class ScaledArtwork : public ::testing::TestWithParam<int32_t> {};

TEST_P(ScaledArtwork, IsDrawnForItsResolutionNotEnlarged) {
    const int32_t percent = GetParam();
    const double scale = percent / 100.0;
    for (int32_t id = 201; id <= 216; ++id) {
        const SharedRef<CBitmap> small = SharedRef<CBitmap>::adopt(new CBitmap(id));
        if (!small->isLoaded()) continue; // images the editor does not use need not exist
        const CBitmap& big = small->representationFor(scale);
        const int32_t width = int32_t(std::lround(small->getWidth() * scale));
        const int32_t height = int32_t(std::lround(small->getHeight() * scale));
        ASSERT_EQ(big.getWidth(), width) << id;
        ASSERT_EQ(big.getHeight(), height) << id;
        EXPECT_EQ(big.getScale(), scale);

        // Not blocky: many edge pixels differ from the 100 % pixel they lie on.
        EXPECT_LT(repeatedEdgeShare(*small, big), 0.95) << id << " at " << percent << " %";
        // Not smooth: clearly more fine detail than the smooth enlargement, and (where the
        // scale is whole, so that blocks are regular) than the blocky one.
        const double drawn = fineDetail(big, *small);
        const double soft = fineDetail(*smoothed(*small, width, height), *small);
        EXPECT_GT(drawn, 1.5 * soft)
            << id << " at " << percent << " %: " << drawn << " against " << soft;
        if (percent % 100 == 0) {
            EXPECT_GT(drawn, 1.5 * fineDetail(*repeated(*small, width, height), *small))
                << id << " at " << percent << " %";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledArtwork, ::testing::Values(150, 200, 300));

} // namespace
