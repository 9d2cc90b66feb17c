#pragma once

// The names of the settings that are named rather than numbered, as the host texts print
// them; the plain scales' points carry the same names to every format. Meter Scale's names
// stand beside the spans they name, in ParameterCurves.h.
namespace settingLabel {

constexpr const char* kScFilterType[] = {"off", "3 dB/oct", "6 dB/oct"};
constexpr const char* kOnOff[] = {"off", "on"};
constexpr const char* kDetectionPeak = "Peak";
constexpr const char* kDetectionDynRms = "Dyn RMS";
constexpr const char* kRatioFourToOne = "4:1";
constexpr const char* kRatioEightToOne = "8:1";
constexpr const char* kDryMixOut = "Out";
constexpr const char* kScSource[] = {"Internal", "External"};

// The sidechain filter's positions as the editor's selector captions them. LV2 hosts' generic
// controls show these names, VST hosts the host texts above; a value typed by a user may be
// either.
constexpr const char* kScFilterCaptions[] = {"Off", "3dB HP", "6dB HP"};

} // namespace settingLabel
