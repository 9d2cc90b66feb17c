#pragma once

#include <cstdint>

// Frame of an n-image strip nearest to `value` in 0..1: trunc((n - 1) × value + 0.5), kept
// inside the strip so that no value reads outside the bitmap.
int32_t nearestFrame(float value, int32_t frameCount);
