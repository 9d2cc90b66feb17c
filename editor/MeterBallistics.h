#pragma once

#include <cstdint>

// What the engine reports at one meter tick.
struct MeterReadings {
    float gain = 1.0f;       // linear gain factor, 1 = no reduction
    float levelADb = -70.0f; // detector levels
    float levelBDb = -70.0f;
    bool active = false; // processing runs and SC Preview is off
};

// The peak hold of the gain reduction and the two shown detector levels: instant attack,
// a fall of 1 dB/s for the hold and 12 dB/s for the levels, both levels floored at -70 dB.
// Plain state kept by the editor across close and open.
struct MeterBallistics {
    static constexpr float kLevelFloorDb = -70.0f;
    static constexpr double kHoldFallDbPerMs = 0.001;
    static constexpr double kLevelFallDbPerMs = 0.012;

    float grHoldDb = 0.0f;
    float levelADisplayDb = kLevelFloorDb;
    float levelBDisplayDb = kLevelFloorDb;

    // One tick, `elapsedMs` after the previous one; `gainReductionDb` as from gainReductionDb.
    void update(const MeterReadings& readings, float gainReductionDbValue, uint32_t elapsedMs);
};

// G in dB, positive while the gain is at most 1. Gains that are not positive numbers give
// a defined value: 0 for NaN or a negative gain, kMeterLimitDb for 0.
float gainReductionDb(float gain);

// The gain-reduction meter's pixels per dB over 10, from the Meter Scale value: 1 at the span
// of unity, and as many times more as the chosen span is smaller.
float meterScaleFactor(float scale);

// A detector level made safe for the ballistics: NaN counts as the lowest level, and levels
// are limited to +-kMeterLimitDb so that a stray infinity cannot freeze a falling display.
float meterLevelDb(float levelDb);

// Far beyond any level the engine produces.
constexpr float kMeterLimitDb = 1000.0f;

// Which release lamp is lit: none while the reduction is below 0.01 dB; the left (fast) one
// while the second detector level is above the first or the fast release is the longer;
// otherwise the right (slow) one. The release arguments are the normalized parameter values.
struct ReleaseLamps {
    bool left = false;
    bool right = false;
};
ReleaseLamps releaseLamps(float gainReductionDbValue, float levelADb, float levelBDb, float release,
                          float releaseSlow);
