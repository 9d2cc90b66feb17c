#include "EditionParts.h"
#include "HostedLv2Plugin.h"

#include <lv2/core/lv2.h>
#include <lv2/port-props/port-props.h>
#include <lv2/units/units.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Nodes {
    explicit Nodes(LilvNodes* nodes) : list(nodes) {}
    ~Nodes() { lilv_nodes_free(list); }
    LilvNodes* list;
};

std::string text(LilvNode* node) {
    std::string result = node ? lilv_node_as_string(node) : "-";
    lilv_node_free(node);
    return result;
}

std::string firstValue(HostedLv2Plugin& plugin, const char* predicate) {
    LilvNode* p = lilv_new_uri(plugin.world(), predicate);
    const Nodes values(lilv_plugin_get_value(plugin.plugin(), p));
    lilv_node_free(p);
    return values.list && lilv_nodes_size(values.list) > 0
               ? lilv_node_as_string(lilv_nodes_get_first(values.list))
               : "0";
}

std::string list(HostedLv2Plugin& plugin, LilvNodes* nodes) {
    const Nodes owned(nodes);
    std::string result;
    LILV_FOREACH(nodes, i, nodes)
    result += (result.empty() ? "" : " ") + std::string(lilv_node_as_uri(lilv_nodes_get(nodes, i)));
    (void)plugin;
    return result.empty() ? "none" : result;
}

// The unit's symbol, as a value is shown with it.
std::string unitOf(HostedLv2Plugin& plugin, const LilvPort* port) {
    LilvNode* unitPredicate = lilv_new_uri(plugin.world(), LV2_UNITS__unit);
    LilvNode* symbolPredicate = lilv_new_uri(plugin.world(), LV2_UNITS__symbol);
    const Nodes units(lilv_port_get_value(plugin.plugin(), port, unitPredicate));
    std::string symbol;
    if (units.list && lilv_nodes_size(units.list) > 0) {
        LilvNode* s = lilv_world_get(plugin.world(), lilv_nodes_get_first(units.list),
                                     symbolPredicate, nullptr);
        if (s) symbol = lilv_node_as_string(s);
        lilv_node_free(s);
    }
    lilv_node_free(unitPredicate);
    lilv_node_free(symbolPredicate);
    return symbol;
}

std::string properties(HostedLv2Plugin& plugin, const LilvPort* port) {
    static const struct {
        const char* uri;
        const char* name;
    } kProperties[] = {
        {LV2_CORE__toggled, "toggled"},       {LV2_CORE__enumeration, "enumeration"},
        {LV2_CORE__integer, "integer"},       {LV2_PORT_PROPS__logarithmic, "logarithmic"},
        {LV2_PORT_PROPS__notOnGUI, "hidden"}, {LV2_CORE__reportsLatency, "latency"}};
    std::string result;
    for (const auto& known : kProperties) {
        LilvNode* node = lilv_new_uri(plugin.world(), known.uri);
        if (lilv_port_has_property(plugin.plugin(), port, node))
            result += (result.empty() ? "" : ",") + std::string(known.name);
        lilv_node_free(node);
    }
    return result;
}

std::string scalePoints(HostedLv2Plugin& plugin, const LilvPort* port) {
    std::vector<std::pair<float, std::string>> sorted;
    LilvScalePoints* points = lilv_port_get_scale_points(plugin.plugin(), port);
    LILV_FOREACH(scale_points, i, points) {
        const LilvScalePoint* point = lilv_scale_points_get(points, i);
        sorted.emplace_back(lilv_node_as_float(lilv_scale_point_get_value(point)),
                            lilv_node_as_string(lilv_scale_point_get_label(point)));
    }
    lilv_scale_points_free(points);
    std::sort(sorted.begin(), sorted.end());
    std::string result;
    for (const auto& [value, label] : sorted) {
        char entry[96];
        std::snprintf(entry, sizeof entry, "%s%g=\"%s\"", result.empty() ? "" : " ",
                      static_cast<double>(value), label.c_str());
        result += entry;
    }
    return result;
}

} // namespace

void editionParts::describeLv2(HostedLv2Plugin& plugin, std::ostream& out) {
    const LilvPlugin* p = plugin.plugin();
    out << "Name:           " << plugin.name() << '\n'
        << "URI:            " << plugin.uri() << '\n'
        << "Class:          "
        << lilv_node_as_string(lilv_plugin_class_get_label(lilv_plugin_get_class(p))) << '\n'
        << "Maker:          " << text(lilv_plugin_get_author_name(p)) << '\n'
        << "Version:        " << firstValue(plugin, LV2_CORE__minorVersion) << '.'
        << firstValue(plugin, LV2_CORE__microVersion) << " (minor.micro)\n"
        << "Bundle:         " << lilv_node_as_uri(lilv_plugin_get_bundle_uri(p)) << '\n'
        << "Binary:         " << lilv_node_as_uri(lilv_plugin_get_library_uri(p)) << '\n'
        << "Required:       " << list(plugin, lilv_plugin_get_required_features(p)) << '\n'
        << "Optional:       " << list(plugin, lilv_plugin_get_optional_features(p)) << '\n';
    LilvUIs* uis = lilv_plugin_get_uis(p);
    LILV_FOREACH(uis, i, uis) {
        const LilvUI* ui = lilv_uis_get(uis, i);
        const LilvNodes* classes = lilv_ui_get_classes(ui);
        out << "UI:             " << lilv_node_as_uri(lilv_ui_get_uri(ui)) << " ("
            << (lilv_nodes_size(classes) ? lilv_node_as_uri(lilv_nodes_get_first(classes)) : "-")
            << ")\n";
    }
    lilv_uis_free(uis);

    // The latency port is written by a run; an empty one reports it without processing.
    plugin.activate();
    float nothing[1] = {};
    const float* inputs[2] = {nothing, nothing};
    float* outputs[2] = {nothing, nothing};
    plugin.run(inputs, outputs, 0);
    out << "Latency:        ";
    if (plugin.latency() < 0)
        out << "none reported\n";
    else
        out << plugin.latency() << " samples\n";
    plugin.deactivate();

    out << "\nPorts (" << plugin.numPorts() << "):\n";
    for (uint32_t i = 0; i < plugin.numPorts(); ++i) {
        const LilvPort* port = lilv_plugin_get_port_by_index(p, i);
        const char* kind = plugin.isAudio(i)           ? "audio"
                           : plugin.isControlInput(i)  ? "control in"
                           : plugin.isControlOutput(i) ? "control out"
                                                       : "other";
        char line[256];
        std::snprintf(line, sizeof line, "  %2u  %-16s %-22s %-11s", i,
                      lilv_node_as_string(lilv_port_get_symbol(p, port)),
                      text(lilv_port_get_name(p, port)).c_str(), kind);
        out << line;
        if (plugin.isControlInput(i) || plugin.isControlOutput(i)) {
            LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
            lilv_port_get_range(p, port, &def, &min, &max);
            std::snprintf(line, sizeof line, " %g .. %g", min ? lilv_node_as_float(min) : 0.0,
                          max ? lilv_node_as_float(max) : 0.0);
            out << line;
            const std::string unit = unitOf(plugin, port);
            if (!unit.empty()) out << ' ' << unit;
            if (plugin.isControlInput(i)) {
                std::snprintf(line, sizeof line, ", value %g",
                              static_cast<double>(plugin.control(i)));
                out << line;
            }
            lilv_node_free(def);
            lilv_node_free(min);
            lilv_node_free(max);
            const std::string props = properties(plugin, port);
            if (!props.empty()) out << " [" << props << ']';
            const std::string points = scalePoints(plugin, port);
            if (!points.empty()) out << "\n        " << points;
        }
        out << '\n';
    }

    const auto presets = plugin.presetNames();
    out << "\nPresets (" << presets.size() << "):\n";
    for (std::size_t i = 0; i < presets.size(); ++i)
        out << "  " << i << "  " << presets[i] << '\n';
}
