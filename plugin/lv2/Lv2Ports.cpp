#include "plugin/lv2/Lv2Ports.h"

#include "plugin/HostValueText.h"

#include <algorithm>
#include <cmath>

namespace lv2port {
namespace {

float same(float v) {
    return v;
}

// A float port value has coarser steps than the normalized value where a curve is steep, so
// not every normalized float can be reached exactly. The way back is therefore rounded to a
// millionth: every stored setting (the programs use at most three decimals) is met exactly,
// and a millionth of a knob's travel is far below what anyone can hear.
float snapped(double normalized) {
    return static_cast<float>(std::round(normalized * 1e6) / 1e6);
}

// Detection: "Peak" below the RMS zone, RMS times 0.1..60 ms, "Dyn RMS" above it. The two
// named ends sit at 0 and 61 ms so a slider has room for both.
constexpr float kPeakMs = 0.0f;
constexpr float kDynRmsMs = 61.0f;

float detectionMs(float v) {
    const double x = static_cast<double>(v);
    if (x < 0.1) return kPeakMs;
    if (x > 0.9) return kDynRmsMs;
    const double offset = (x - 0.1) * 1.25;
    return static_cast<float>(offset * offset * offset * 59.9 + 0.1);
}
float detectionNormalized(float ms) {
    if (ms < 0.1f) return 0.0f;
    if (ms > 60.0f) return 1.0f;
    return snapped(0.1 + std::cbrt((static_cast<double>(ms) - 0.1) / 59.9) / 1.25);
}

// Three filter positions at 0, 0.5 and 1.
float filterPosition(float v) {
    return v < 0.3f ? 0.0f : v < 0.7f ? 1.0f : 2.0f;
}
float filterNormalized(float position) {
    return std::round(position) * 0.5f;
}

float filterHz(float v) {
    return hostText::scFilterFreqHz(v);
}
float filterFreqNormalized(float hz) {
    const double span = std::log(300.0) - std::log(30.0);
    const double v = (std::log(static_cast<double>(hz)) - std::log(30.0)) / span - 0.000001;
    return std::clamp(snapped(v), 0.0f, 1.0f);
}

// Adding zero turns the negative zero of the top end into a plain zero both ways.
float thresholdDb(float v) {
    return static_cast<float>(static_cast<double>(v) * -50.0) + 0.0f;
}
float thresholdNormalized(float db) {
    return snapped(static_cast<double>(db) / -50.0) + 0.0f;
}

float kneeDb(float v) {
    return v * 20.0f;
}
float kneeNormalized(float db) {
    return snapped(static_cast<double>(db) / 20.0);
}

// Ratio: 1:1..3:1 over the first 80 %, then the fixed 4:1 and 8:1 settings.
float ratioValue(float v) {
    if (v > 0.9f) return 8.0f;
    if (v > 0.8f) return 4.0f;
    return v * 1.25f * 2.0f + 1.0f;
}
float ratioNormalized(float ratio) {
    if (ratio >= 6.0f) return 1.0f;
    if (ratio > 3.0f) return 0.85f;
    return snapped((static_cast<double>(ratio) - 1.0) / 2.5);
}

// Times follow the cube the host text prints.
float cubicMs(float v, float rangeMs) {
    return v * v * v * rangeMs + 0.1f;
}
float cubicNormalized(float ms, float rangeMs) {
    const double cube = (static_cast<double>(ms) - 0.1) / static_cast<double>(rangeMs);
    return std::clamp(snapped(std::cbrt(cube)), 0.0f, 1.0f);
}
float attackMs(float v) {
    return cubicMs(v, 499.9f);
}
float attackNormalized(float ms) {
    return cubicNormalized(ms, 499.9f);
}
float releaseMs(float v) {
    return cubicMs(v, 1999.9f);
}
float releaseNormalized(float ms) {
    return cubicNormalized(ms, 1999.9f);
}

// Dry mix: -100 dB is the bottom of the scale and means "Out".
float dryDb(float v) {
    return 100.0f * v - 100.0f;
}
float dryNormalized(float db) {
    return snapped((static_cast<double>(db) + 100.0) / 100.0);
}

// Make-up gain: a squared fall to -60 dB below the middle, linear to +12 dB above it.
float makeUpDb(float v) {
    if (v < 0.5f) {
        const float fall = 1.0f - 2.0f * v;
        return static_cast<float>(static_cast<double>(fall * fall) * -60.0);
    }
    return 24.0f * v - 12.0f;
}
float makeUpNormalized(float db) {
    const double x = static_cast<double>(db);
    if (x < 0.0) return snapped((1.0 - std::sqrt(x / -60.0)) * 0.5);
    return snapped((x + 12.0) / 24.0);
}

float onOff(float v) {
    return v == 1.0f ? 1.0f : 0.0f;
}
float toggledNormalized(float plain) {
    return plain > 0.0f ? 1.0f : 0.0f;
}

float amountPercent(float v) {
    return static_cast<float>(200.0 * static_cast<double>(v));
}
float amountNormalized(float percent) {
    return snapped(static_cast<double>(percent) / 200.0);
}

// The meter's four ranges sit at 0, 0.25, 0.5 and 0.75.
float meterRangeDb(float v) {
    return v < 0.25f ? 6.0f : v < 0.5f ? 12.0f : v < 0.75f ? 24.0f : 48.0f;
}
float meterRangeNormalized(float db) {
    if (db < 9.0f) return 0.0f;
    if (db < 18.0f) return 0.25f;
    return db < 36.0f ? 0.5f : 0.75f;
}

constexpr std::array<ScalePoint, 4> kNone{};

using U = Unit;

} // namespace

// clang-format off
const std::array<ControlPort, kNumParameters> kControlPorts = {{
    // symbol          unit        min      max     toggled enum   log    hidden scale points                                                     to plain        to normalized
    {"detection",      U::ms,      0.0f,    61.0f,  false, false, false, false, {{{kPeakMs, "Peak"}, {kDynRmsMs, "Dyn RMS"}}},               detectionMs,   detectionNormalized},
    {"sc_filter_type", U::none,    0.0f,    2.0f,   false, true,  false, false, {{{0, "Off"}, {1, "3dB HP"}, {2, "6dB HP"}}},                filterPosition, filterNormalized},
    {"sc_filter_freq", U::hz,      30.0f,   300.0f, false, false, true,  false, kNone,                                                        filterHz,       filterFreqNormalized},
    {"threshold",      U::db,      -50.0f,  0.0f,   false, false, false, false, kNone,                                                        thresholdDb,    thresholdNormalized},
    {"knee",           U::db,      0.0f,    20.0f,  false, false, false, false, kNone,                                                        kneeDb,         kneeNormalized},
    {"ratio",          U::ratio,   1.0f,    8.0f,   false, false, false, false, {{{4, "4:1"}, {8, "8:1"}}},                                  ratioValue,     ratioNormalized},
    {"attack",         U::ms,      0.1f,    500.0f, false, false, true,  false, kNone,                                                        attackMs,       attackNormalized},
    {"release",        U::ms,      0.1f,    2000.0f,false, false, true,  false, kNone,                                                        releaseMs,      releaseNormalized},
    {"release_slow",   U::ms,      0.1f,    2000.0f,false, false, true,  false, kNone,                                                        releaseMs,      releaseNormalized},
    {"dry_mix",        U::db,      -100.0f, 0.0f,   false, false, false, false, {{{-100, "Out"}}},                                            dryDb,          dryNormalized},
    {"makeup_gain",    U::db,      -60.0f,  12.0f,  false, false, false, false, kNone,                                                        makeUpDb,       makeUpNormalized},
    {"hf_harmonics",   U::none,    0.0f,    1.0f,   true,  false, false, false, kNone,                                                        onOff,          toggledNormalized},
    {"lf_harmonics",   U::none,    0.0f,    1.0f,   true,  false, false, false, kNone,                                                        onOff,          toggledNormalized},
    {"hf_amount",      U::percent, 0.0f,    200.0f, false, false, false, false, kNone,                                                        amountPercent,  amountNormalized},
    {"lf_amount",      U::percent, 0.0f,    200.0f, false, false, false, false, kNone,                                                        amountPercent,  amountNormalized},
    {"delta",          U::none,    0.0f,    1.0f,   true,  false, false, false, kNone,                                                        onOff,          toggledNormalized},
    {"bypass",         U::none,    0.0f,    1.0f,   true,  false, false, false, kNone,                                                        onOff,          toggledNormalized},
    {"sc_preview",     U::none,    0.0f,    1.0f,   true,  false, false, false, kNone,                                                        onOff,          toggledNormalized},
    {"meter_scale",    U::db,      6.0f,    48.0f,  false, true,  false, false, {{{6, "6 dB"}, {12, "12 dB"}, {24, "24 dB"}, {48, "48 dB"}}}, meterRangeDb,   meterRangeNormalized},
    {"unused19",       U::none,    0.0f,    1.0f,   false, false, false, true,  kNone,                                                        same,           same},
    {"unused20",       U::none,    0.0f,    1.0f,   false, false, false, true,  kNone,                                                        same,           same},
}};
// clang-format on

float clampedPlain(const ControlPort& port, float plain, float previous) {
    if (std::isnan(plain)) return previous;
    return std::clamp(plain, port.minimum, port.maximum);
}

float exactPlain(const ControlPort& port, float normalized) {
    const float start = clampedPlain(port, port.toPlain(normalized), port.minimum);
    // Neighbouring floats are tried outwards from the curve's value; a few dozen steps cover
    // the rounding of every curve here.
    float up = start;
    float down = start;
    for (int step = 0; step < 4096; ++step) {
        if (port.toNormalized(up) == normalized) return up;
        if (port.toNormalized(down) == normalized) return down;
        up = std::min(std::nextafter(up, port.maximum), port.maximum);
        down = std::max(std::nextafter(down, port.minimum), port.minimum);
    }
    return start;
}

} // namespace lv2port
