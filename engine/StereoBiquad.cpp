#include "engine/StereoBiquad.h"

#include <cmath>

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

BiquadCoefficients designLowShelf(double centreHz, double q, double gainDb, double internalRateHz) {
    const double w0 = centreHz / internalRateHz * kTwoPi;
    const double cs = std::cos(w0);
    const double sn = std::sin(w0);
    const double a = std::pow(10.0, gainDb * 0.025);
    const double beta = std::sqrt(a) / q * sn;
    const double a0 = (a + 1.0) + (a - 1.0) * cs + beta;
    const double inverseA0 = 1.0 / a0;
    BiquadCoefficients c;
    c.b0 = a * ((a + 1.0) - (a - 1.0) * cs + beta) * inverseA0;
    c.b1 = 2.0 * a * ((a - 1.0) - (a + 1.0) * cs) * inverseA0;
    c.b2 = a * ((a + 1.0) - (a - 1.0) * cs - beta) * inverseA0;
    c.a1 = -2.0 * ((a - 1.0) + (a + 1.0) * cs) * inverseA0;
    c.a2 = ((a + 1.0) + (a - 1.0) * cs - beta) * inverseA0;
    return c;
}
