#pragma once

#include <cstdint>

// Display scales (in percent) for which the artwork program draws its own images; a scaled
// image is embedded under scaledResourceId(id, percent).
constexpr int32_t kArtworkScalePercents[] = {150, 175, 200, 250, 300};
constexpr int32_t scaledResourceId(int32_t resourceId, int32_t percent) {
    return resourceId + percent * 100;
}
