#include "views/BitmapResample.h"

#include "views/CBitmap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

// How much of each source pixel (first index, weight) one target pixel covers along one axis.
struct Span {
    int32_t first = 0;
    std::vector<double> weights;
};

std::vector<Span> coverage(int32_t sourceSize, int32_t targetSize) {
    std::vector<Span> spans(static_cast<std::size_t>(targetSize));
    const double step = double(sourceSize) / targetSize;
    for (int32_t t = 0; t < targetSize; ++t) {
        const double from = t * step;
        const double to = std::min((t + 1) * step, double(sourceSize));
        Span& span = spans[std::size_t(t)];
        span.first = int32_t(std::floor(from));
        for (int32_t s = span.first; s < to; ++s)
            span.weights.push_back((std::min(to, s + 1.0) - std::max(from, double(s))) / step);
    }
    return spans;
}

using Channels = std::array<double, 4>;

Channels unpack(uint32_t pixel) {
    return {double(pixel >> 24), double((pixel >> 16) & 0xff), double((pixel >> 8) & 0xff),
            double(pixel & 0xff)};
}

uint32_t pack(const Channels& c) {
    const auto channel = [](double v) { return uint32_t(std::clamp(std::lround(v), 0L, 255L)); };
    return channel(c[0]) << 24 | channel(c[1]) << 16 | channel(c[2]) << 8 | channel(c[3]);
}

} // namespace

void resampleArea(const CBitmap& source, CBitmap& target) {
    const int32_t w = target.getWidth();
    const int32_t h = target.getHeight();
    if (!source.isLoaded() || w <= 0 || h <= 0) return;
    const std::vector<Span> columns = coverage(source.getWidth(), w);
    const std::vector<Span> rows = coverage(source.getHeight(), h);
    uint32_t* out = target.pixels();
    for (int32_t y = 0; y < h; ++y) {
        const Span& row = rows[std::size_t(y)];
        for (int32_t x = 0; x < w; ++x) {
            const Span& column = columns[std::size_t(x)];
            Channels sum{};
            for (std::size_t j = 0; j < row.weights.size(); ++j)
                for (std::size_t i = 0; i < column.weights.size(); ++i) {
                    const double weight = row.weights[j] * column.weights[i];
                    const Channels c =
                        unpack(source.pixelAt(column.first + int32_t(i), row.first + int32_t(j)));
                    for (std::size_t k = 0; k < 4; ++k)
                        sum[k] += c[k] * weight;
                }
            *out++ = pack(sum);
        }
    }
}
