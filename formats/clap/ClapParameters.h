#pragma once

#include <clap/ext/params.h>

#include <cstdint>

// The parameters as a CLAP host sees them: the VST 2 indices as IDs, the two slots that do
// nothing left out, values in the plain units of the core's PlainScale (the LV2 edition's
// ports show the same), and the VST 2 host texts, which carry their units.
namespace clapParams {

// Slots 19 and 20 exist only for saved sessions of the VST 2 edition.
constexpr uint32_t kCount = 19;

constexpr bool isShownId(clap_id id) {
    return id < kCount;
}

// Info for the parameter at list position `index` (equal to its ID); false past the list.
bool info(uint32_t index, clap_param_info_t& out);

// The plain value that shows a normalized value the effect holds.
double toPlain(clap_id id, float normalized);
// The normalized value the effect takes for a plain value; values outside the range are held
// to it. False for NaN, which changes nothing.
bool toNormalized(clap_id id, double plain, float& normalized);

// The host text of a plain value, cut to `size` bytes with its end; false for an ID that is
// not shown, a null or empty buffer, or NaN.
bool valueText(clap_id id, double plain, char* display, uint32_t size);

// The plain value of what a user typed ("-24 dB", "4:1", "Peak"), read as the other editions
// read it; false for an ID that is not shown, a null text or one that is no value.
bool valueFromText(clap_id id, const char* text, double& plain);

} // namespace clapParams
