#include "editor/EditorScale.h"

#include "editor/ControlRects.h"
#include "views/DeviceScale.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// Factors outside this range come from no real display; they are taken as no answer at all
// rather than drawn as an editor too small to use or too large for any screen.
constexpr double kLowestFactor = 0.5;
constexpr double kHighestFactor = 4.0;

constexpr const char* kScaleKey = "scale=";
constexpr std::size_t kLongestSettingsFile = 4096;
constexpr const char* kAutomatic = "automatic";

} // namespace

bool isSupportedScale(int32_t percent) {
    for (int32_t supported : kEditorScalePercents)
        if (supported == percent) return true;
    return false;
}

std::optional<int32_t> nearestEditorScale(double factor) {
    if (!std::isfinite(factor) || factor < kLowestFactor || factor > kHighestFactor) return {};
    const double percent = factor * 100.0;
    int32_t nearest = kEditorScalePercents[0];
    for (int32_t supported : kEditorScalePercents)
        if (std::fabs(supported - percent) < std::fabs(nearest - percent)) nearest = supported;
    return nearest;
}

namespace {

bool fitsScreen(int32_t percent, const CRect& screen) {
    if (screen.isEmpty()) return true;
    const double scale = percent / 100.0;
    return toDevicePixels(kEditorWidthPx, scale) <= screen.width() &&
           toDevicePixels(kEditorHeightPx, scale) <= screen.height();
}

// The largest supported scale up to `percent` whose window fits; the smallest when none does.
int32_t largestFitting(int32_t percent, const CRect& screen) {
    int32_t fitting = kEditorScalePercents[0];
    for (int32_t supported : kEditorScalePercents)
        if (supported <= percent && fitsScreen(supported, screen)) fitting = supported;
    return fitting;
}

} // namespace

int32_t chooseEditorScale(const ScaleSources& sources) {
    if (sources.userPercent && isSupportedScale(*sources.userPercent)) return *sources.userPercent;
    if (const auto host = nearestEditorScale(sources.hostFactor))
        return largestFitting(*host, sources.screen);
    for (double factor : sources.desktopFactors)
        if (const auto desktop = nearestEditorScale(factor))
            return largestFitting(*desktop, sources.screen);
    return 100;
}

std::optional<int32_t> parseScaleSetting(const std::string& fileText) {
    std::istringstream lines(fileText);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(kScaleKey, 0) != 0) continue;
        const std::string value = line.substr(std::string(kScaleKey).size());
        char* end = nullptr;
        const long percent = std::strtol(value.c_str(), &end, 10);
        // The whole value must be the number: "20" cut from "200" by a short write is not
        // followed by its line end and reads as no choice.
        if (end == value.c_str() || *end != '\0' || lines.eof()) return {};
        if (percent >= 0 && percent <= 1000 && isSupportedScale(int32_t(percent)))
            return int32_t(percent);
        return {};
    }
    return {};
}

std::string formatScaleSetting(std::optional<int32_t> percent) {
    return std::string(kScaleKey) +
           (percent && isSupportedScale(*percent) ? std::to_string(*percent) : kAutomatic) + "\n";
}

std::optional<int32_t> readScaleSetting(const std::string& path) {
    if (path.empty()) return {};
    const std::filesystem::path file = std::filesystem::u8path(path);
    std::error_code error;
    // A folder, a device or a pipe in the file's place is no settings file.
    if (!std::filesystem::is_regular_file(file, error)) return {};
    std::ifstream stream(file, std::ios::binary);
    if (!stream) return {};
    // The file holds one short line; a huge one is nonsense and is not read in full.
    std::string text(kLongestSettingsFile, '\0');
    stream.read(text.data(), std::streamsize(text.size()));
    text.resize(std::size_t(stream.gcount()));
    return parseScaleSetting(text);
}

bool writeScaleSetting(const std::string& path, std::optional<int32_t> percent) {
    if (path.empty()) return false;
    const std::filesystem::path target = std::filesystem::u8path(path);
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    // Written beside and renamed over the old file, so another instance reading at the same
    // moment sees the old choice or the new one, never half of it.
    std::filesystem::path temporary = target;
    temporary += ".new";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) return false;
        file << formatScaleSetting(percent);
        if (!file.flush()) return false;
    }
    std::filesystem::rename(temporary, target, error);
    if (!error) return true;
    std::filesystem::remove(temporary, error);
    return false;
}
