#pragma once

#include <cstdint>
#include <vector>

// A picture as 0xRRGGBB per pixel, row by row.
using Picture = std::vector<uint32_t>;

// The number of pixels in which two pictures differ; -1 when they cannot be compared (their
// sizes differ, or one could not be taken at all).
int differences(const Picture& a, const Picture& b);
