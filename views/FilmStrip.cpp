#include "views/FilmStrip.h"

int32_t nearestFrame(float value, int32_t frameCount) {
    if (frameCount <= 1 || !(value > 0.0f)) return 0;
    const float position = float(frameCount - 1) * value + 0.5f;
    if (position >= float(frameCount - 1)) return frameCount - 1;
    return static_cast<int32_t>(position);
}
