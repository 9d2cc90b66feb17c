#include "editor/MeterBallistics.h"

#include "engine/Decibels.h"
#include "plugin/ParameterCurves.h"

#include <algorithm>
#include <cmath>

namespace {

// Instant rise; otherwise a fall by at most `maxFallDb`, never below the engine's level, and
// only while the display is above the floor.
float followLevel(float shownDb, float levelDb, float maxFallDb) {
    if (levelDb >= shownDb) return levelDb;
    if (shownDb > MeterBallistics::kLevelFloorDb)
        return shownDb - std::min(shownDb - levelDb, maxFallDb);
    return shownDb;
}

} // namespace

void MeterBallistics::update(const MeterReadings& readings, float gainReductionDbValue,
                             uint32_t elapsedMs) {
    const float holdFallDb = static_cast<float>(elapsedMs * kHoldFallDbPerMs);
    const float levelFallDb = static_cast<float>(elapsedMs * kLevelFallDbPerMs);
    const float g = gainReductionDbValue;

    if (!readings.active)
        grHoldDb = 0.0f;
    else if (g >= grHoldDb)
        grHoldDb = g;
    else if (grHoldDb > 0.0f)
        grHoldDb -= std::min(grHoldDb - g, holdFallDb);

    if (!readings.active) {
        levelADisplayDb = kLevelFloorDb;
        levelBDisplayDb = kLevelFloorDb;
        return;
    }
    levelADisplayDb = followLevel(levelADisplayDb, meterLevelDb(readings.levelADb), levelFallDb);
    levelBDisplayDb = followLevel(levelBDisplayDb, meterLevelDb(readings.levelBDb), levelFallDb);
}

float gainReductionDb(float gain) {
    const float g = std::log(gain) * -kExponentToDbSingle;
    if (std::isnan(g)) return 0.0f;
    return std::clamp(g, -kMeterLimitDb, kMeterLimitDb);
}

float meterScaleFactor(float scale) {
    const int spanDb = curve::kMeterScaleSettings[curve::meterScalePosition(scale)].spanDb;
    return static_cast<float>(curve::kMeterScaleUnitySpanDb) / static_cast<float>(spanDb);
}

float meterLevelDb(float levelDb) {
    if (std::isnan(levelDb)) return -kMeterLimitDb;
    return std::clamp(levelDb, -kMeterLimitDb, kMeterLimitDb);
}

ReleaseLamps releaseLamps(float gainReductionDbValue, float levelADb, float levelBDb, float release,
                          float releaseSlow) {
    if (gainReductionDbValue < 0.01f) return {};
    if (levelBDb > levelADb || release > releaseSlow) return {true, false};
    return {false, true};
}
