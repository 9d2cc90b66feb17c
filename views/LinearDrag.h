#pragma once

#include "views/CGeometry.h"

#include <cstdint>

// Relative linear drag of the knobs: moving right or up by `baseRangePx` pixels (× the fine
// factor with shift) sweeps the whole range. Changing shift mid-drag rebases so the value
// does not jump.
struct LinearDrag {
    CPoint firstPoint;
    CPoint lastPoint;
    float entryValue = 0;
    float range = 0;
    float coefficient = 0;
    int32_t oldButtons = 0;

    void begin(CPoint where, int32_t buttons, float value, float minimum, float maximum,
               float baseRangePx, float fineFactor);
    // False when the mouse did not move or the left button is up; else writes the new,
    // unclamped value.
    bool follow(CPoint where, int32_t buttons, float minimum, float maximum, float baseRangePx,
                float fineFactor, float& value);
};
