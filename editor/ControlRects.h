#pragma once

#include "views/CGeometry.h"

#include <cstdint>

// The editor's window and where its controls sit in it (left, top, right, bottom; right and
// bottom exclusive). The editor places its views here, and the artwork generator paints the
// background's captions and wells around the same rectangles.
constexpr int32_t kEditorWidthPx = 690;
constexpr int32_t kEditorHeightPx = 270;

namespace controlRect {

constexpr CRect versionDisplay{562, 3, 712, 18};
constexpr CRect detectionKnob{20, 45, 71, 71};
constexpr CRect scFilterTypeSwitch{19, 100, 74, 171};
constexpr CRect scFilterFreqKnob{11, 171, 81, 241};
constexpr CRect thresholdKnob{107, 48, 177, 118};
constexpr CRect kneeKnob{184, 48, 254, 118};
constexpr CRect ratioKnob{261, 48, 331, 118};
constexpr CRect attackKnob{107, 171, 177, 241};
constexpr CRect releaseKnob{184, 171, 254, 241};
constexpr CRect releaseSlowKnob{261, 171, 331, 241};
constexpr CRect releaseLampLeft{246, 154, 258, 166};
constexpr CRect releaseLampRight{256, 154, 268, 166};
constexpr CRect makeUpKnob{607, 48, 677, 118};
constexpr CRect dryMixKnob{607, 171, 677, 241};
constexpr CRect transferGraph{374, 57, 504, 187};
constexpr CRect scMeter{509, 57, 519, 187};
constexpr CRect meterScale{521, 52, 544, 187};
constexpr CRect grMeter{544, 57, 574, 187};

} // namespace controlRect
