#pragma once

// A parameter as a user reads it, in its own unit (-24 dB, 15 ms, 120 Hz, 2.0:1, "RMS"), beside
// the normalized 0..1 value that the effect stores. Formats that show controls in plain values
// describe their ports with it and convert at the edge; everything inside stays normalized.
//
// Round trip: toNormalized(toPlain(v)) == v for every normalized value a program holds (and
// for every float in a continuous range except where the curve is flat to double precision,
// right at the start of the Detection RMS window). A plain value written as text keeps that
// when printed with "%.9g" or more digits: the curves are computed in double precision, so
// nine digits pin the value far closer than half a float step of the normalized value.
enum class ParameterUnit { none, decibels, milliseconds, hertz, percent, ratio };

// The unit as a text shows it after the number: "dB", "ms", "Hz", "%", ":1"; empty for none.
const char* unitSymbol(ParameterUnit unit);

// What a format's description needs to present the control.
enum ParameterHint : unsigned {
    kHintToggled = 1u << 0,     // off or on: plain 0 or 1
    kHintEnumeration = 1u << 1, // only the scale points are settings
    kHintInteger = 1u << 2,     // plain values are whole numbers
    kHintLogarithmic = 1u << 3, // the plain value sweeps logarithmically over the travel
};

// A named plain value: a switch position, or a setting at one end of a continuous range
// ("Peak", "Dyn RMS", "Out", "4:1"). Labels are the host texts of those settings.
struct ScalePoint {
    const char* label;
    double plain;
};

struct PlainScale {
    ParameterUnit unit;
    unsigned hints;
    double min;
    double max;
    // Normalized to plain for any float; plain to normalized for any double, limited to
    // min..max first (not a number counts as min).
    double (*toPlain)(float normalized);
    float (*toNormalized)(double plain);
    const ScalePoint* points;
    int numPoints;
};

// A switch: its plain values are the positions min ... max and nothing between them. Every
// edition that reads a switch's plain value takes the nearest position (toNormalized).
bool isStepped(const PlainScale& scale);
// The steps between a switch's positions (1 for off and on); 0 for a continuous control.
int stepCount(const PlainScale& scale);
// A switch whose positions are named settings to pick from a list, rather than off and on.
bool isList(const PlainScale& scale);

// Where the plain value falls as the normalized value rises (Threshold: 0 dB at 0, -50 dB at 1).
bool fallsAsValueRises(const PlainScale& scale);
// A normalized value that rises with the plain value, for the editions whose normalized values
// are their own: the effect's value, turned round where the plain value falls. The effect, the
// editor, the VST 2 module and the state record keep the effect's value.
double risingNormalized(const PlainScale& scale, float value);
float valueFromRising(const PlainScale& scale, double rising);

namespace plainScale {

extern const PlainScale detection;       // ms: 0 "Peak", 0.1 ... 60 RMS window, 600 "Dyn RMS"
extern const PlainScale scFilterType;    // positions 0, 1, 2
extern const PlainScale scFilterFreq;    // 30 ... 300 Hz
extern const PlainScale threshold;       // -50 ... 0 dB
extern const PlainScale knee;            // 0 ... 20 dB
extern const PlainScale ratio;           // 1 ... 3, then 4 and 8 (:1)
extern const PlainScale attack;          // 0.1 ... 500 ms
extern const PlainScale release;         // 0.1 ... 2000 ms
extern const PlainScale dryMix;          // -100 dB ("Out") ... 0 dB
extern const PlainScale makeUpGain;      // -60 ... +12 dB
extern const PlainScale onOff;           // 0 "off", 1 "on"
extern const PlainScale harmonicsAmount; // 0 ... 200 %
extern const PlainScale meterScale;      // positions 0 ... 3: 6, 12, 24, 48 dB
extern const PlainScale scSource;        // positions 0 "Internal", 1 "External"
extern const PlainScale noFunction;      // the normalized value itself, 0 ... 1

} // namespace plainScale
