#include "PluginSettings.h"

#include "LoadedEdition.h"
#include "ParameterInput.h"

#include "plugin/ValueFromText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

bool parseWhole(const std::string& text, double& out) {
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(out);
}

// Another plug-in's parameter by its number or its name as the host lists it.
int findOtherParameter(LoadedEdition& plugin, const std::string& name) {
    double number;
    const std::vector<int> indices = plugin.parameterIndices();
    if (parseWhole(name, number)) {
        for (const int index : indices)
            if (index == number) return index;
        return -1;
    }
    for (const int index : indices)
        if (foldedName(plugin.parameter(index).name) == foldedName(name)) return index;
    return -1;
}

bool applyOtherParameter(LoadedEdition& plugin, const std::string& name,
                         const std::string& valueText, std::string& error) {
    const int index = findOtherParameter(plugin, name);
    if (index < 0) {
        error = "no parameter named \"" + name + "\"; see qvl-render --info";
        return false;
    }
    const ParameterReading reading = plugin.parameter(index);
    ParsedValue value = normalizedFromText(valueText);
    double plain;
    const double span = reading.maximum - reading.minimum;
    if (!value.ok && parseWhole(valueText, plain) && span > 0.0 && plain >= reading.minimum &&
        plain <= reading.maximum) {
        value.ok = true;
        value.normalized = static_cast<float>((plain - reading.minimum) / span);
    }
    if (!value.ok) {
        char range[80];
        std::snprintf(range, sizeof range, "%g to %g", reading.minimum, reading.maximum);
        error = name + ": \"" + valueText + "\" is no value for it; a plug-in other than ours " +
                "takes a number from " + range + " or a normalized value, norm:0 to norm:1";
        return false;
    }
    plugin.setParameter(index, value.normalized);
    return true;
}

} // namespace

bool selectProgram(LoadedEdition& plugin, const std::string& programText, std::string& error) {
    const std::vector<std::string> names = plugin.programNames();
    const char* kind = plugin.kind() == EditionKind::lv2 ? "preset" : "program";
    double number;
    if (parseWhole(programText, number)) {
        if (number != std::floor(number) || number < 0 ||
            number >= static_cast<double>(names.size()) ||
            !plugin.selectProgram(static_cast<int>(number))) {
            error = std::string(kind) + " " + programText + " does not exist; the plug-in has " +
                    kind + "s 0 to " + std::to_string(static_cast<long>(names.size()) - 1);
            return false;
        }
        return true;
    }
    std::string offered;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (foldedName(names[i]) == foldedName(programText))
            return plugin.selectProgram(static_cast<int>(i));
        offered += "\n  " + std::to_string(i) + "  " + names[i];
    }
    error = "no " + std::string(kind) + " named \"" + programText +
            "\"; the plug-in offers:" + (offered.empty() ? " none" : offered);
    return false;
}

bool applyParameter(LoadedEdition& plugin, const std::string& assignment, std::string& error) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos) {
        error = "--param needs NAME=VALUE, not \"" + assignment + "\"";
        return false;
    }
    if (!plugin.isOurs())
        return applyOtherParameter(plugin, assignment.substr(0, equals),
                                   assignment.substr(equals + 1), error);
    const ParameterAssignment ours = readOurAssignment(assignment);
    if (!ours.ok) {
        error = ours.refusal;
        return false;
    }
    plugin.setParameter(ours.index, ours.normalized);
    return true;
}

bool applyIndexedParameter(LoadedEdition& plugin, const std::string& assignment,
                           std::string& error) {
    const auto equals = assignment.find('=');
    double index, value;
    const std::vector<int> indices = plugin.parameterIndices();
    bool known = false;
    if (parseWhole(assignment.substr(0, equals), index))
        for (const int i : indices)
            known = known || i == index;
    if (!known) {
        error = "no parameter with index " + assignment.substr(0, equals);
        return false;
    }
    if (!parseWhole(assignment.substr(equals + 1), value) || value < 0.0 || value > 1.0) {
        error =
            "value of parameter " + assignment.substr(0, equals) + " must be normalized, 0 to 1";
        return false;
    }
    plugin.setParameter(static_cast<int>(index), value);
    return true;
}
