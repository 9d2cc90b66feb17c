#pragma once

// The sound of every factory program, pinned: the numbers were produced once, by running
// ProgramFingerprintTest on the first build that ran the engine behind the effect and copying
// what it printed (%.17g); they are not derived from anything else. An optimisation that only
// reorders floating-point work moves them by a few ulps; 1e-9 relative leaves room for that and
// for the different halfband kernels chosen per processor, and nothing more. The Windows
// modules are held to the same numbers, so that they sound as the Linux one does.
#include "EffectSignals.h"
#include "plugin/FactoryPrograms.h"

#include <cmath>
#include <cstdio>
#include <string>

inline constexpr double kRelativeTolerance = 1e-9;

struct Fingerprint {
    double rmsLeft, rmsRight, peakLeft, peakRight;
};

// Half a second of bursts at each rate, blocks of 512, double precision, after resume.
// clang-format off
inline const Fingerprint kAt44k[kNumPrograms] = {
    {0.11192911380694666, 0.089650696600460822, 0.83600155741600835, 0.67134805119535668},
    {0.11199338038248888, 0.089702205769427418, 0.83656387142468636, 0.67179961437939661},
    {0.13628798072094975, 0.10916939953440932, 1.042152179484664, 0.83683371530741812},
    {0.13475082326587781, 0.10797124415584608, 1.1865356196140175, 0.95299738103984288},
    {0.14501815018247016, 0.116224553427052, 1.3382590253640083, 1.0743609156931613},
    {0.13113623441566483, 0.10504664561894075, 1.0498583475562473, 0.84339469957539925},
    {0.17326699004279705, 0.13878215667179863, 1.3159676638503199, 1.0567825021761952},
};
inline const Fingerprint kAt96k[kNumPrograms] = {
    {0.11198200985402737, 0.089598392986379574, 0.83583709748393997, 0.6715974850355817},
    {0.11204627035447974, 0.089649827936338133, 0.83639876308885497, 0.67204871507860497},
    {0.13633319232799071, 0.10908767066145138, 1.0419087135872485, 0.83708568884808277},
    {0.13482137232467559, 0.10788687719608708, 1.1848463654588743, 0.9526172231282144},
    {0.14515428949867076, 0.11616609228658549, 1.3382363006022899, 1.0748102203904328},
    {0.13116200593597926, 0.10494647976825092, 1.048317701266291, 0.84302325755582919},
    {0.17314324537062606, 0.13853262314517936, 1.314114798226137, 1.0558876043765604},
};
// clang-format on

// Half a second of bursts at the given rate: the input every fingerprint was measured with.
inline StereoSignal fingerprintInput(float sampleRateHz) {
    return bursts<double>(static_cast<int>(sampleRateHz) / 2, sampleRateHz);
}

inline Fingerprint fingerprintOf(const StereoSignal& out) {
    return {rms(out.left), rms(out.right), peak(out.left), peak(out.right)};
}

// Frames in each process call, as the fingerprints were measured.
inline constexpr int kFingerprintBlock = 512;

// The fingerprint of what `process(inputs, outputs, frames)` makes of the input at the given
// rate, called block after block as a host calls it.
template <typename Process> Fingerprint measuredFingerprint(float sampleRateHz, Process process) {
    return fingerprintOf(
        processInBlocks(fingerprintInput(sampleRateHz), kFingerprintBlock, process));
}

inline bool matchesFingerprint(const Fingerprint& actual, const Fingerprint& expected) {
    const double pairs[4][2] = {{actual.rmsLeft, expected.rmsLeft},
                                {actual.rmsRight, expected.rmsRight},
                                {actual.peakLeft, expected.peakLeft},
                                {actual.peakRight, expected.peakRight}};
    for (const auto& pair : pairs)
        if (!(std::fabs(pair[0] - pair[1]) <= kRelativeTolerance * std::fabs(pair[1])))
            return false;
    return true;
}

// As the tables write it, for a failure message.
inline std::string fingerprintText(const Fingerprint& f) {
    char text[160];
    std::snprintf(text, sizeof text, "{%.17g, %.17g, %.17g, %.17g},", f.rmsLeft, f.rmsRight,
                  f.peakLeft, f.peakRight);
    return text;
}
