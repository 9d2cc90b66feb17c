#pragma once

#include <string>

class LoadedEdition;

// Selects a program (an LV2 preset) given by number or by name (case, blanks, hyphens and
// underscores ignored). False with a message naming the programs on offer.
bool selectProgram(LoadedEdition& plugin, const std::string& programText, std::string& error);

// Applies NAME=VALUE. For our plug-in, in every edition, NAME and VALUE are read as
// tools/parameter-input/ParameterInput.h says. Another plug-in's parameter is named as its
// host lists it or by its number, and takes a normalized value (norm:0.5) or a number within
// the plain range it declares.
bool applyParameter(LoadedEdition& plugin, const std::string& assignment, std::string& error);

// Applies INDEX=VALUE with a bare normalized value, as the yardstick's parameters are given.
bool applyIndexedParameter(LoadedEdition& plugin, const std::string& assignment,
                           std::string& error);
