#pragma once

#include <cstddef>

// The texts that the editor's readouts and text knobs show for a normalized value (0..1).
// Each writes one zero-terminated string into `text` and keeps no state, so a display can
// call it whenever it draws. They differ in places from the host's parameter texts, which are
// made separately.
//
// Any value, also outside 0..1 or not finite, gives a defined text of at most
// kGuiValueTextCapacity bytes including the terminator; a null `text` is ignored.

constexpr std::size_t kGuiValueTextCapacity = 24;

// "version 0.9.03 beta [?]", whatever the value.
void versionText(float value, char* text);
// Detection: "Peak", "RMS <ms>" or "Dyn RMS".
void detectionText(float value, char* text);
// SC Filter Freq: 30..300 Hz, logarithmic.
void scFreqText(float value, char* text);
// Threshold: 0..-50 dB.
void thresholdText(float value, char* text);
// Knee: 0..20 dB.
void kneeText(float value, char* text);
// Ratio: 1.0:1..3.0:1, then the fixed settings 4:1 and 8:1.
void ratioText(float value, char* text);
// Attack: 0.1..500 ms.
void attackText(float value, char* text);
// Release and Release Slow: 0.1 ms..2.0 s.
void releaseText(float value, char* text);
// Dry Mix: -100..0 dB, "Out" at 0.
void dryMixText(float value, char* text);
// Make Up Gain: -60..+12 dB.
void makeUpText(float value, char* text);
// Harmonics amounts: 0..200 %.
void percentText(float value, char* text);
