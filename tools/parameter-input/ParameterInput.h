#pragma once

#include <string>

// One of our parameters as a user names it on a command line: by its index, by its
// name as hosts show it ("Make Up Gain", make_up_gain), or by the caption the editor's panel
// prints over its control ("MAKEUP", "LO COLOR"); case, blanks, hyphens and underscores do not
// count. Slots that do nothing are found only by their index.
struct ParameterChoice {
    bool ok = false;
    int index = -1;
    std::string refusal; // one line that lists the names on offer, when !ok
};
ParameterChoice ourParameterNamed(const std::string& name);

// NAME=VALUE for one of our parameters: NAME as above, VALUE as plugin/ValueFromText.h reads it.
struct ParameterAssignment {
    bool ok = false;
    int index = -1;
    float normalized = 0.0f;
    std::string refusal; // one line, when !ok
};
ParameterAssignment readOurAssignment(const std::string& assignment);

// A name as the command line compares it: lower case, without blanks, hyphens or underscores.
std::string foldedName(const std::string& name);
