#pragma once

// Level conversions shared by the engine, the parameter curves and the editor.

// ln 10 / 20: exp(dB x kDbToExponent) is the linear factor 10^(dB / 20).
constexpr double kDbToExponent = 0.11512925464970228;
// 20 / ln 10: a natural logarithm of a factor, in decibels.
constexpr double kExponentToDb = 8.685889638065037;
// The same factor as a single-precision constant of seven digits, as the detector and the
// meters have always scaled with it; their readings depend on its last bit.
constexpr float kExponentToDbSingle = 8.685889f;
