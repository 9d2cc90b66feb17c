#pragma once

#include <string>

class HostedPlugin;

// Selects a program given by number or by name (as the plug-in names it, case ignored).
// False with a message naming the programs on offer when there is no such program.
bool selectProgram(HostedPlugin& plugin, const std::string& programText, std::string& error);

// Applies NAME=VALUE. NAME is compared ignoring case, blanks and underscores. VALUE is a
// normalized value in 0..1, or a number with a unit (dB, ms, Hz, %, :1, or any other text the
// display shows after the number), which is looked up on the parameter's display texts.
bool applyParameter(HostedPlugin& plugin, const std::string& assignment, std::string& error);

// Applies INDEX=VALUE with a normalized value, for plug-ins whose names are not needed.
bool applyIndexedParameter(HostedPlugin& plugin, const std::string& assignment, std::string& error);
