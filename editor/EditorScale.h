#pragma once

#include "views/CGeometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The display scales the editor is drawn at, in percent of its own 690 x 270 pixels.
constexpr int32_t kEditorScalePercents[] = {100, 125, 150, 175, 200, 250, 300};

bool isSupportedScale(int32_t percent);

// The supported scale nearest to `factor` (1.0 = 100 %), or nothing for a factor no display
// asks for: not a number, zero or negative, or far outside the supported range (a percentage
// passed as a factor, a broken DPI setting).
std::optional<int32_t> nearestEditorScale(double factor);

// Whoever has a say about the scale, the first usable one wins.
struct ScaleSources {
    // The user's own choice from the editor's menu; nothing for "Automatic".
    std::optional<int32_t> userPercent;
    // What the host announced (0 when it said nothing).
    double hostFactor = 0.0;
    // What the desktop is set to, its most authoritative setting first.
    std::vector<double> desktopFactors;
    // The screen the editor's window is on, in device pixels; empty when the platform does not
    // say.
    CRect screen;
};

// The scale in percent to draw at: one of kEditorScalePercents, 100 when no source is usable.
// The user's choice is taken as it is; a scale found for them is lowered until the editor's
// window fits the screen (down to 100 %).
int32_t chooseEditorScale(const ScaleSources& sources);

// The user's choice as kept in the settings file: a supported percentage, or nothing for
// "Automatic". Anything else in the file (missing, truncated, nonsense) counts as
// "Automatic".
std::optional<int32_t> parseScaleSetting(const std::string& fileText);
std::string formatScaleSetting(std::optional<int32_t> percent);

// Reading and writing the settings file at `path`; a file that cannot be read is "Automatic",
// a failed write is false and leaves the editor as it is.
std::optional<int32_t> readScaleSetting(const std::string& path);
bool writeScaleSetting(const std::string& path, std::optional<int32_t> percent);
