#include "engine/SidechainFilter.h"

namespace {
constexpr double kTwoPi = 6.283185307179586;
constexpr double kSideCornerFixedRadPerS = 314.1592653589793; // 50 Hz
constexpr double kMidCornerFixedRadPerS = 62.83185307179586;  // 10 Hz
} // namespace

void SidechainFilter::design(ScFilterType newType, double frequencyHz, double internalRateHz) {
    type = newType;
    if (type == ScFilterType::sixPerOctave) {
        // The side corner sits a third above the mid corner.
        sideHighPass.design(frequencyHz * 1.3333 * kTwoPi, internalRateHz);
        midHighPass.design(frequencyHz * kTwoPi, internalRateHz);
    } else {
        sideHighPass.design(kSideCornerFixedRadPerS, internalRateHz);
        midHighPass.design(kMidCornerFixedRadPerS, internalRateHz);
    }
    // Both shelves are designed for every type so a later switch to 3 dB/oct needs nothing more.
    shelf1.setCoefficients(designLowShelf(0.2 * frequencyHz, 0.3, -18.9, internalRateHz));
    shelf2.setCoefficients(designLowShelf(0.5 * frequencyHz, 0.2, -0.9, internalRateHz));
}

void SidechainFilter::clear() {
    sideHighPass.clear();
    midHighPass.clear();
    shelf1.clear();
    shelf2.clear();
}
