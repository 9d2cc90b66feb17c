#include "PluginSettings.h"

#include "HostedPlugin.h"
#include "OwnPlugin.h"
#include "SimplifiedName.h"

#include "plugin/ValueFromText.h"

#include <cmath>
#include <cstdlib>

namespace {

bool parseWhole(const std::string& text, double& out) {
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(out);
}

int findParameter(HostedPlugin& plugin, const std::string& name) {
    const std::string wanted = simplifiedName(name);
    for (int i = 0; i < plugin.effect().numParams; ++i)
        if (simplifiedName(plugin.parameterName(i)) == wanted) return i;
    return -1;
}

} // namespace

bool selectProgram(HostedPlugin& plugin, const std::string& programText, std::string& error) {
    const int count = plugin.effect().numPrograms;
    double number;
    if (parseWhole(programText, number)) {
        if (number != std::floor(number) || number < 0 || number >= count) {
            error = "program " + programText + " does not exist; the plug-in has programs 0 to " +
                    std::to_string(count - 1);
            return false;
        }
        plugin.setProgram(static_cast<int>(number));
        return true;
    }
    std::string names;
    for (int i = 0; i < count; ++i) {
        const std::string name = plugin.programNameIndexed(i);
        if (simplifiedName(name) == simplifiedName(programText)) {
            plugin.setProgram(i);
            return true;
        }
        names += "\n  " + std::to_string(i) + "  " + name;
    }
    error = "no program named \"" + programText + "\"; the plug-in offers:" + names;
    return false;
}

bool applyParameter(HostedPlugin& plugin, const std::string& assignment, std::string& error) {
    const auto equals = assignment.find('=');
    const std::string name = assignment.substr(0, equals);
    const std::string valueText = assignment.substr(equals + 1);
    const int index = findParameter(plugin, name);
    if (index < 0) {
        error = "no parameter named \"" + name + "\"; see qvl-render --info";
        return false;
    }
    // Another plug-in's curves are unknown: only the explicit normalized spelling is a value.
    const bool own = isOwnPlugin(plugin);
    const ParsedValue value = own ? valueFromText(index, valueText) : normalizedFromText(valueText);
    if (!value.ok) {
        error = own ? value.refusal
                    : name + ": " + value.refusal +
                          " (a plug-in other than ours takes normalized values only)";
        return false;
    }
    plugin.setParameter(index, value.normalized);
    return true;
}

bool applyIndexedParameter(HostedPlugin& plugin, const std::string& assignment,
                           std::string& error) {
    const auto equals = assignment.find('=');
    double index, value;
    if (!parseWhole(assignment.substr(0, equals), index) || index != std::floor(index) ||
        index < 0 || index >= plugin.effect().numParams) {
        error = "no parameter with index " + assignment.substr(0, equals);
        return false;
    }
    if (!parseWhole(assignment.substr(equals + 1), value) || value < 0.0 || value > 1.0) {
        error =
            "value of parameter " + assignment.substr(0, equals) + " must be normalized, 0 to 1";
        return false;
    }
    plugin.setParameter(static_cast<int>(index), static_cast<float>(value));
    return true;
}
