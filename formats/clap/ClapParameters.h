#pragma once

#include <clap/ext/params.h>

#include <cstdint>

// The parameters as a CLAP host sees them: the effect's, as its table lists them for this
// edition, with their indices as IDs (the two slots that do nothing are left out), values in the
// plain units of the core's PlainScale (the LV2 edition's ports show the same), and the VST 2
// host texts, which carry their units.
namespace clapParams {

uint32_t count();
bool isShownId(clap_id id);

// Info for the parameter at list position `index`; false past the list.
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
