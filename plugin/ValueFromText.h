#pragma once

#include <string>
#include <string_view>

// A value a user types for a parameter, read as the normalized value the effect stores.
//
// The text is what a user reads, in a host or in qvl-render --info: a number in the control's
// unit with or without the unit ("-24", "-24 dB", "15ms", "4:1", "50 %"), or a named position
// ("Peak", "Dyn RMS", "Out", "on", "3 dB/oct", "3dB HP"), case and blanks ignored. Switches
// also take their position number (SC Filter Type 0 ... 2, on/off 0 or 1), except Meter Scale,
// whose positions read as numbers of dB. A normalized value needs the prefix "norm:"
// ("norm:0.52"), so a bare number never means two things.
//
// Numbers go through the exact inverse of the control's curve. Nothing is moved to a setting:
// a number outside the range, between two zones or positions (Ratio 6:1), in another unit or
// not finite is refused, and the reason names the range or the nearest settings.
struct ParsedValue {
    bool ok = false;
    float normalized = 0.0f;
    std::string refusal; // one line naming the parameter and the reason, when !ok
};

ParsedValue valueFromText(int index, std::string_view text);

// The explicit normalized spelling alone, "norm:0 ... norm:1", for plug-ins whose curves are
// not known; the refusal names no parameter.
ParsedValue normalizedFromText(std::string_view text);

constexpr const char* kNormalizedPrefix = "norm:";
