#include "ParameterInput.h"

#include "plugin/ParameterTable.h"
#include "plugin/ValueFromText.h"

#include <cctype>
#include <cstdlib>
#include <iterator>

namespace {

// The captions the editor's panel prints over the controls whose caption is not their name.
struct PanelCaption {
    const char* caption;
    int index;
};
constexpr PanelCaption kPanelCaptions[] = {
    {"DETECTOR", kDetection}, {"SC FILTER", kScFilterType}, {"RELEASE FAST", kRelease},
    {"MAKEUP", kMakeUpGain},  {"HI COLOR", kHfHarmonics},   {"LO COLOR", kLfHarmonics},
    {"SC PREV", kScPreview},
};

bool isIndexText(const std::string& text) {
    if (text.empty()) return false;
    for (const char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string namesOnOffer() {
    std::string names;
    for (const ParameterInfo& info : kParameters)
        if (hasFunction(info.index)) names += (names.empty() ? "" : ", ") + std::string(info.name);
    return names;
}

} // namespace

std::string foldedName(const std::string& name) {
    std::string out;
    for (const char c : name)
        if (c != ' ' && c != '-' && c != '_')
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

ParameterChoice ourParameterNamed(const std::string& name) {
    ParameterChoice choice;
    if (isIndexText(name)) {
        const long index = name.size() > 3 ? -1 : std::strtol(name.c_str(), nullptr, 10);
        if (isParameterIndex(static_cast<int>(index))) {
            choice.ok = true;
            choice.index = static_cast<int>(index);
        } else {
            choice.refusal = "no parameter with the number " + name + "; they are numbered 0 to " +
                             std::to_string(kNumParameters - 1);
        }
        return choice;
    }
    const std::string wanted = foldedName(name);
    for (const ParameterInfo& info : kParameters)
        if (hasFunction(info.index) && foldedName(info.name) == wanted) {
            choice.ok = true;
            choice.index = info.index;
            return choice;
        }
    for (const PanelCaption& caption : kPanelCaptions)
        if (foldedName(caption.caption) == wanted) {
            choice.ok = true;
            choice.index = caption.index;
            return choice;
        }
    choice.refusal = "no parameter named \"" + name + "\"; the parameters are " + namesOnOffer() +
                     " (or their numbers 0 to " + std::to_string(kNumParameters - 1) + ")";
    return choice;
}

ParameterAssignment readOurAssignment(const std::string& assignment) {
    ParameterAssignment result;
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos) {
        result.refusal = "--param needs NAME=VALUE, not \"" + assignment + "\"";
        return result;
    }
    const ParameterChoice choice = ourParameterNamed(assignment.substr(0, equals));
    if (!choice.ok) {
        result.refusal = choice.refusal;
        return result;
    }
    const ParsedValue value = valueFromText(choice.index, assignment.substr(equals + 1));
    if (!value.ok) {
        result.refusal = value.refusal;
        return result;
    }
    result.ok = true;
    result.index = choice.index;
    result.normalized = value.normalized;
    return result;
}
