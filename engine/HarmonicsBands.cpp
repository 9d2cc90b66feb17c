#include "engine/HarmonicsBands.h"

#include <cmath>

namespace {
constexpr double kLfCentreRadPerS = 565.4866776461628;     // 2 pi 90 Hz
constexpr double kLfHalfInverseQ = 0.7936507936507936;     // 1 / (2 * 0.63)
constexpr double kHfEvenCentreRadPerS = 18849.55592153876; // 2 pi 3000 Hz
constexpr double kHfOddCentreRadPerS = 31415.926535897932; // 2 pi 5000 Hz
} // namespace

BiquadCoefficients designLfBand(double internalRateHz) {
    const double w0 = (1.0 / internalRateHz) * kLfCentreRadPerS;
    const double cs = std::cos(w0);
    const double alpha = std::sin(w0) * kLfHalfInverseQ;
    const double a0 = 1.0 + alpha;
    BiquadCoefficients c;
    c.b0 = (1.0 - cs) * 0.5 / a0;
    c.b1 = (1.0 - cs) / a0;
    c.b2 = c.b0;
    c.a1 = -2.0 * cs / a0;
    c.a2 = (1.0 - alpha) / a0;
    return c;
}

BiquadCoefficients designHfBand(double centreRadPerS, double internalRateHz) {
    const double w0 = (1.0 / internalRateHz) * centreRadPerS;
    const double sn = std::sin(w0);
    const double alpha = sn * std::sinh(std::log(2.0) * w0 / sn);
    const double a0 = 1.0 + alpha;
    BiquadCoefficients c;
    c.b0 = 0.5 * sn / a0;
    c.b1 = 0.0;
    c.b2 = -0.5 * sn / a0;
    c.a1 = -2.0 * std::cos(w0) / a0;
    c.a2 = (1.0 - alpha) / a0;
    return c;
}

void BandPassPair::setCoefficients(const BiquadCoefficients& first,
                                   const BiquadCoefficients& second) {
    b0 = WideLanes{first.b0, first.b0, second.b0, second.b0};
    a1 = WideLanes{first.a1, first.a1, second.a1, second.a1};
    a2 = WideLanes{first.a2, first.a2, second.a2, second.a2};
}

void HarmonicsBands::design(double internalRateHz) {
    lfBand.setCoefficients(designLfBand(internalRateHz));
    hfBands.setCoefficients(designHfBand(kHfEvenCentreRadPerS, internalRateHz),
                            designHfBand(kHfOddCentreRadPerS, internalRateHz));
}

void HarmonicsBands::clear() {
    lfBand.clear();
    hfBands.clear();
}
