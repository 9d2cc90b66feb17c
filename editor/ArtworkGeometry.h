#pragma once

#include <cstdint>

// What the editor's controls expect inside their images: the artwork program paints to these
// sizes and zones, and the editor cuts frames and takes clicks by them.

// The side-chain filter switch: one frame per position, stacked from the top.
constexpr int32_t kFilterSwitchPositions = 3;
constexpr int32_t kFilterSwitchFrameHeightPx = 71;

// The about card: the editor shows its top kAboutCardShownHeightPx rows.
constexpr int32_t kAboutCardWidthPx = 200;
constexpr int32_t kAboutCardShownHeightPx = 150;
// A click in the card's link zone opens the version-check page. The zone is given by its
// distances from the shown card's edges: it starts 100 below the top and ends 60 before the
// right edge and 30 above the bottom; all borders are outside the zone.
constexpr int32_t kLinkZoneTopPx = 100;
constexpr int32_t kLinkZoneRightInsetPx = 60;
constexpr int32_t kLinkZoneBottomInsetPx = 30;
