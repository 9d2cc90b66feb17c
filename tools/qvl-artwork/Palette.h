#pragma once

#include "Canvas.h"

// The artwork's colours. The accent cyan and the signal red are those the meters and the graph
// draw in, so the printed panel and the live views read as one instrument.
namespace palette {
constexpr Rgba windowTop = rgb8(34, 36, 40);
constexpr Rgba windowBottom = rgb8(22, 23, 26);
constexpr Rgba titleStrip = rgb8(10, 10, 12);
constexpr Rgba panelTop = rgb8(44, 47, 52);
constexpr Rgba panelBottom = rgb8(33, 35, 39);
constexpr Rgba panelBorder = rgb8(62, 66, 72);
constexpr Rgba wellFill = rgb8(8, 8, 9);
constexpr Rgba wellBorder = rgb8(66, 66, 66);
constexpr Rgba caption = rgb8(178, 184, 192);
constexpr Rgba captionDim = rgb8(120, 126, 134);
constexpr Rgba title = rgb8(232, 236, 240);
constexpr Rgba accent = rgb8(0, 204, 255);
constexpr Rgba accentDeep = rgb8(0, 84, 108);
constexpr Rgba signalRed = rgb8(255, 20, 0);
constexpr Rgba amber = rgb8(255, 170, 0);
constexpr Rgba buttonTop = rgb8(58, 62, 68);
constexpr Rgba buttonBottom = rgb8(40, 43, 48);
constexpr Rgba buttonBorder = rgb8(18, 19, 21);
constexpr Rgba buttonLabel = rgb8(150, 156, 164);
constexpr Rgba buttonLabelLit = rgb8(245, 250, 255);
constexpr Rgba plateFill = rgb8(12, 13, 15);
constexpr Rgba plateBorder = rgb8(70, 74, 80);
} // namespace palette
