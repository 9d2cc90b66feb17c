#pragma once

// Where the editor places its controls on the 690 x 270 window (left, top, right, bottom;
// right and bottom exclusive). The background's captions and wells are drawn around these.
struct PxRect {
    int left, top, right, bottom;
    double centreX() const { return (left + right) * 0.5; }
};

namespace layout {
constexpr int windowWidthPx = 690;
constexpr int windowHeightPx = 270;

constexpr PxRect detectionKnob{20, 45, 71, 71};
constexpr PxRect scFilterTypeSwitch{19, 100, 74, 171};
constexpr PxRect thresholdKnob{107, 48, 177, 118};
constexpr PxRect kneeKnob{184, 48, 254, 118};
constexpr PxRect ratioKnob{261, 48, 331, 118};
constexpr PxRect attackKnob{107, 171, 177, 241};
constexpr PxRect releaseKnob{184, 171, 254, 241};
constexpr PxRect releaseSlowKnob{261, 171, 331, 241};
constexpr PxRect makeUpKnob{607, 48, 677, 118};
constexpr PxRect dryMixKnob{607, 171, 677, 241};
constexpr PxRect releaseLampLeft{246, 154, 258, 166};
constexpr PxRect releaseLampRight{256, 154, 268, 166};
constexpr PxRect transferGraph{374, 57, 504, 187};
constexpr PxRect scMeter{509, 57, 519, 187};
constexpr PxRect meterScale{521, 52, 544, 187};
constexpr PxRect grMeter{544, 57, 574, 187};
constexpr PxRect versionDisplay{562, 3, 712, 18};
} // namespace layout
