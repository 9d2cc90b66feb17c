#pragma once

#include <cctype>
#include <string>

// A name as the command line matches it: case, spaces and underscores do not count, so
// "make_up_gain", "Make Up Gain" and "makeupgain" name the same control.
inline std::string simplifiedName(const std::string& name) {
    std::string out;
    for (const char c : name)
        if (c != ' ' && c != '_')
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}
