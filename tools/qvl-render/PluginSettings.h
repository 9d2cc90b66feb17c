#pragma once

#include <string>

class HostedPlugin;

// Selects a program given by number or by name (as the plug-in names it, case ignored).
// False with a message naming the programs on offer when there is no such program.
bool selectProgram(HostedPlugin& plugin, const std::string& programText, std::string& error);

// Applies NAME=VALUE. NAME is compared ignoring case, blanks and underscores. For our plug-in
// VALUE is read as a user reads it (see plugin/ValueFromText.h); another plug-in takes only a
// normalized value, written norm:0.5.
bool applyParameter(HostedPlugin& plugin, const std::string& assignment, std::string& error);

// Applies INDEX=VALUE with a normalized value, for plug-ins whose names are not needed.
bool applyIndexedParameter(HostedPlugin& plugin, const std::string& assignment, std::string& error);
