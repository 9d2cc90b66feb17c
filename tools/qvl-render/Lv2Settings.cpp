#include "Lv2Settings.h"

#include "HostedLv2Plugin.h"
#include "OwnPlugin.h"
#include "SimplifiedName.h"

#include "formats/lv2/Lv2Ports.h"
#include "plugin/ValueFromText.h"

#include <lv2/core/lv2.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string portName(HostedLv2Plugin& plugin, const LilvPort* port) {
    LilvNode* name = lilv_port_get_name(plugin.plugin(), port);
    std::string text = name ? lilv_node_as_string(name) : "";
    lilv_node_free(name);
    return text;
}

bool scalePointValue(HostedLv2Plugin& plugin, const LilvPort* port, const std::string& text,
                     float& value) {
    LilvScalePoints* points = lilv_port_get_scale_points(plugin.plugin(), port);
    bool found = false;
    LILV_FOREACH(scale_points, i, points) {
        const LilvScalePoint* point = lilv_scale_points_get(points, i);
        if (simplifiedName(lilv_node_as_string(lilv_scale_point_get_label(point))) ==
            simplifiedName(text)) {
            value = lilv_node_as_float(lilv_scale_point_get_value(point));
            found = true;
            break;
        }
    }
    lilv_scale_points_free(points);
    return found;
}

// A port of another plug-in: its own value, with or without its unit, a scale point's label,
// or on/off for a switch; values outside the port's range are refused.
bool applyOtherPortValue(HostedLv2Plugin& plugin, uint32_t p, const std::string& symbol,
                         const std::string& text, std::string& error) {
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin.plugin(), p);
    float value = 0.0f;
    if (scalePointValue(plugin, port, text, value)) {
        plugin.control(p) = value;
        return true;
    }
    if (simplifiedName(text) == "on" || simplifiedName(text) == "off") {
        plugin.control(p) = simplifiedName(text) == "on" ? 1.0f : 0.0f;
        return true;
    }
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(number)) {
        error = "\"" + text + "\" is no value for " + symbol;
        return false;
    }
    float minimum = NAN, maximum = NAN;
    LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
    lilv_port_get_range(plugin.plugin(), port, &def, &min, &max);
    if (min) minimum = lilv_node_as_float(min);
    if (max) maximum = lilv_node_as_float(max);
    lilv_node_free(def);
    lilv_node_free(min);
    lilv_node_free(max);
    if (number < minimum || number > maximum) {
        char range[64];
        std::snprintf(range, sizeof range, "%g to %g", static_cast<double>(minimum),
                      static_cast<double>(maximum));
        error = text + " is outside " + symbol + "'s range " + range;
        return false;
    }
    plugin.control(p) = static_cast<float>(number);
    return true;
}

} // namespace

bool selectPreset(HostedLv2Plugin& plugin, const std::string& presetText, std::string& error) {
    const std::vector<std::string> names = plugin.presetNames();
    char* end = nullptr;
    const long number = std::strtol(presetText.c_str(), &end, 10);
    if (!presetText.empty() && *end == '\0') {
        if (number >= 0 && number < static_cast<long>(names.size()) &&
            plugin.applyPreset(names[static_cast<std::size_t>(number)]))
            return true;
        error = "preset " + presetText + " does not exist; the plug-in has presets 0 to " +
                std::to_string(static_cast<long>(names.size()) - 1);
        return false;
    }
    std::string offered;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (simplifiedName(names[i]) == simplifiedName(presetText))
            return plugin.applyPreset(names[i]);
        offered += "\n  " + std::to_string(i) + "  " + names[i];
    }
    error = "no preset named \"" + presetText + "\"; the plug-in offers:" + offered;
    return false;
}

bool applyPortValue(HostedLv2Plugin& plugin, const std::string& assignment, std::string& error) {
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos) {
        error = "--param needs NAME=VALUE, not \"" + assignment + "\"";
        return false;
    }
    const std::string name = assignment.substr(0, equals);
    const std::string text = assignment.substr(equals + 1);
    for (uint32_t p = 0; p < plugin.numPorts(); ++p) {
        if (!plugin.isControlInput(p)) continue;
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin.plugin(), p);
        const std::string symbol = lilv_node_as_string(lilv_port_get_symbol(plugin.plugin(), port));
        if (simplifiedName(symbol) != simplifiedName(name) &&
            simplifiedName(portName(plugin, port)) != simplifiedName(name))
            continue;
        if (isOwnPlugin(plugin) && lv2port::isParameterPort(p)) {
            // Read as in the VST 2 edition; the port carries the normalized value as the LV2
            // edition's own mapping presents it.
            const int parameter = lv2port::parameterOf(p);
            const ParsedValue value = valueFromText(parameter, text);
            if (!value.ok) {
                error = value.refusal;
                return false;
            }
            const lv2port::PortValues ports = lv2port::toPlain(parameter, value.normalized);
            plugin.control(p) = ports.value;
            const uint32_t zonePort = lv2port::zonePortOf(parameter);
            if (zonePort != lv2port::kNoPort) plugin.control(zonePort) = ports.zone;
            return true;
        }
        return applyOtherPortValue(plugin, p, symbol, text, error);
    }
    error = "the plug-in has no control named \"" + name + "\"";
    return false;
}
