#include "views/LinearDrag.h"

#include "views/InputTypes.h"

namespace {

float rangeFor(int32_t buttons, float baseRangePx, float fineFactor) {
    return (buttons & kModShift) ? fineFactor * baseRangePx : baseRangePx;
}

} // namespace

void LinearDrag::begin(CPoint where, int32_t buttons, float value, float minimum, float maximum,
                       float baseRangePx, float fineFactor) {
    firstPoint = where;
    lastPoint = {-1, -1};
    entryValue = value;
    range = baseRangePx;
    coefficient = (maximum - minimum) * (1.0f / baseRangePx);
    oldButtons = buttons;
    if (buttons & kButtonLeft) {
        range = rangeFor(buttons, baseRangePx, fineFactor);
        lastPoint = where;
        coefficient = (maximum - minimum) / range;
    }
}

bool LinearDrag::follow(CPoint where, int32_t buttons, float minimum, float maximum,
                        float baseRangePx, float fineFactor, float& value) {
    if (!(buttons & kButtonLeft) || where == lastPoint) return false;
    lastPoint = where;
    // Right and up count positive, from the point where the button went down.
    const int32_t diff = (where.h - firstPoint.h) + (firstPoint.v - where.v);
    if (buttons != oldButtons) {
        range = rangeFor(buttons, baseRangePx, fineFactor);
        const float newCoefficient = (maximum - minimum) / range;
        entryValue += (coefficient - newCoefficient) * float(diff);
        coefficient = newCoefficient;
        oldButtons = buttons;
    }
    value = entryValue + float(diff) * coefficient;
    return true;
}
