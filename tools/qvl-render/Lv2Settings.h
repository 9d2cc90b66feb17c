#pragma once

#include <string>

class HostedLv2Plugin;

// Applies a preset given by number (0 is the first in the listing of --info) or by name (case,
// blanks and underscores ignored). False with a message naming the presets on offer.
bool selectPreset(HostedLv2Plugin& plugin, const std::string& presetText, std::string& error);

// Applies NAME=VALUE to a control input. NAME is the port's symbol or name (case, blanks and
// underscores ignored). Our plug-in's parameters read VALUE as the VST 2 edition does (see
// plugin/ValueFromText.h). Another plug-in's ports take their own value, with or without the
// unit, a scale point's label, or on/off for a switch; values outside a range are refused.
bool applyPortValue(HostedLv2Plugin& plugin, const std::string& assignment, std::string& error);
