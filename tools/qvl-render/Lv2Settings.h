#pragma once

#include <string>

class HostedLv2Plugin;

// Applies a preset given by number (0 is the first in the listing of --info) or by name (case,
// blanks and underscores ignored). False with a message naming the presets on offer.
bool selectPreset(HostedLv2Plugin& plugin, const std::string& presetText, std::string& error);

// Applies NAME=VALUE to a control input. NAME is the port's symbol or name (case, blanks and
// underscores ignored). VALUE is the port's own value, a number with or without its unit
// (Threshold=-24dB, Attack=15ms, Ratio=4:1), a scale point's label (Detection=Peak), or on/off
// for a switch; values outside the port's range are refused.
bool applyPortValue(HostedLv2Plugin& plugin, const std::string& assignment, std::string& error);
