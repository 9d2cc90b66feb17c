// The built bundle as a host reads it through lilv, checked against the VST2 module where
// both editions must tell a user the same thing.
#include "HostedPlugin.h"
#include "Lv2TestSupport.h"

#include <gtest/gtest.h>
#include <lv2/core/lv2.h>
#include <lv2/port-groups/port-groups.h>
#include <lv2/port-props/port-props.h>
#include <lv2/units/units.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

class Lv2Bundle : public testing::Test {
  protected:
    std::unique_ptr<HostedLv2Plugin> host = loadLv2(48000.0);
    HostedPlugin vst2{QVL_MODULE_PATH};

    void SetUp() override {
        ASSERT_TRUE(host->isLoaded()) << host->error();
        ASSERT_TRUE(vst2.isLoaded()) << vst2.error();
    }

    LilvNode* uri(const char* text) { return lilv_new_uri(host->world(), text); }
    const LilvPort* port(uint32_t index) {
        return lilv_plugin_get_port_by_index(host->plugin(), index);
    }
    bool portIs(uint32_t index, const char* predicate, const char* object) {
        LilvNode* p = uri(predicate);
        LilvNode* o = uri(object);
        LilvNodes* values = lilv_port_get_value(host->plugin(), port(index), p);
        const bool found = values && lilv_nodes_contains(values, o);
        lilv_nodes_free(values);
        lilv_node_free(p);
        lilv_node_free(o);
        return found;
    }
    bool hasProperty(uint32_t index, const char* property) {
        LilvNode* node = uri(property);
        const bool has = lilv_port_has_property(host->plugin(), port(index), node);
        lilv_node_free(node);
        return has;
    }
    std::string portName(uint32_t index) {
        LilvNode* name = lilv_port_get_name(host->plugin(), port(index));
        std::string text = name ? lilv_node_as_string(name) : "";
        lilv_node_free(name);
        return text;
    }
    // The unit as a user reads it next to a value: the symbol of the port's unit.
    std::string unitSymbol(uint32_t index) {
        LilvNode* unitPredicate = uri(LV2_UNITS__unit);
        LilvNode* symbolPredicate = uri(LV2_UNITS__symbol);
        LilvNodes* units = lilv_port_get_value(host->plugin(), port(index), unitPredicate);
        std::string symbol;
        if (units && lilv_nodes_size(units) > 0) {
            const LilvNode* unit = lilv_nodes_get_first(units);
            LilvNode* s = lilv_world_get(host->world(), unit, symbolPredicate, nullptr);
            if (s) symbol = lilv_node_as_string(s);
            lilv_node_free(s);
        }
        lilv_nodes_free(units);
        lilv_node_free(unitPredicate);
        lilv_node_free(symbolPredicate);
        return symbol;
    }
    std::vector<std::pair<float, std::string>> scalePoints(uint32_t index) {
        std::vector<std::pair<float, std::string>> points;
        LilvScalePoints* all = lilv_port_get_scale_points(host->plugin(), port(index));
        LILV_FOREACH(scale_points, i, all) {
            const LilvScalePoint* point = lilv_scale_points_get(all, i);
            points.emplace_back(lilv_node_as_float(lilv_scale_point_get_value(point)),
                                lilv_node_as_string(lilv_scale_point_get_label(point)));
        }
        lilv_scale_points_free(all);
        std::sort(points.begin(), points.end());
        return points;
    }
    std::string vst2Text(int parameter, float normalized) {
        vst2.setParameter(parameter, normalized);
        return vst2.parameterDisplay(parameter);
    }
};

std::string lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST_F(Lv2Bundle, IsFoundOnLv2PathWithNameClassMakerAndVersion) {
    EXPECT_EQ(host->name(), "QVL Feedback Compressor");
    EXPECT_STREQ(lilv_node_as_uri(lilv_plugin_class_get_uri(lilv_plugin_get_class(host->plugin()))),
                 LV2_CORE__CompressorPlugin);
    LilvNode* author = lilv_plugin_get_author_name(host->plugin());
    ASSERT_NE(author, nullptr);
    EXPECT_STREQ(lilv_node_as_string(author), "Velmorinth Labs");
    lilv_node_free(author);

    int major = 0, minor = 0, micro = 0;
    ASSERT_EQ(std::sscanf(QVL_PROJECT_VERSION, "%d.%d.%d", &major, &minor, &micro), 3);
    for (const auto& [predicate, expected] :
         {std::pair{LV2_CORE__minorVersion, minor}, std::pair{LV2_CORE__microVersion, micro}}) {
        LilvNode* p = uri(predicate);
        LilvNodes* values = lilv_plugin_get_value(host->plugin(), p);
        ASSERT_EQ(lilv_nodes_size(values), 1u) << predicate;
        EXPECT_EQ(lilv_node_as_int(lilv_nodes_get_first(values)), expected) << predicate;
        lilv_nodes_free(values);
        lilv_node_free(p);
    }
}

TEST_F(Lv2Bundle, LoadsByBundlePathAsByUri) {
    HostedLv2Plugin byPath(QVL_LV2_FOLDER "/qvl-feedback-compressor.lv2", 44100.0);
    ASSERT_TRUE(byPath.isLoaded()) << byPath.error();
    // Sessions in every host find the plug-in by this URI.
    EXPECT_EQ(byPath.uri(), "http://www.velmorinthlabs.com/plugins/qvl-feedback-compressor");
    HostedLv2Plugin missing(QVL_LV2_FOLDER "/no-such.lv2", 44100.0);
    EXPECT_FALSE(missing.isLoaded());
    EXPECT_FALSE(missing.error().empty());
}

TEST_F(Lv2Bundle, PortsAreAStereoPairTheParametersTheHostBypassLatencyAndMeters) {
    ASSERT_EQ(host->audioInputs().size(), 4u);
    ASSERT_EQ(host->audioOutputs().size(), 2u);
    for (const auto* pair : {&host->audioInputs(), &host->audioOutputs()}) {
        EXPECT_TRUE(portIs((*pair)[0], LV2_CORE__designation, LV2_PORT_GROUPS__left));
        EXPECT_TRUE(portIs((*pair)[1], LV2_CORE__designation, LV2_PORT_GROUPS__right));
        EXPECT_FALSE(hasProperty((*pair)[0], LV2_CORE_PREFIX "isSideChain"));
    }
    // The key's pair, last of all ports so that no port a saved session names has moved: side
    // chain inputs a host may leave unconnected.
    const std::vector<uint32_t>& inputs = host->audioInputs();
    EXPECT_EQ(inputs[2], host->numPorts() - 2);
    EXPECT_EQ(inputs[3], host->numPorts() - 1);
    EXPECT_EQ(host->portIndex("sidechain_left"), static_cast<int>(inputs[2]));
    EXPECT_EQ(host->portIndex("sidechain_right"), static_cast<int>(inputs[3]));
    EXPECT_TRUE(portIs(inputs[2], LV2_CORE__designation, LV2_PORT_GROUPS__left));
    EXPECT_TRUE(portIs(inputs[3], LV2_CORE__designation, LV2_PORT_GROUPS__right));
    for (const uint32_t key : {inputs[2], inputs[3]}) {
        EXPECT_TRUE(hasProperty(key, LV2_CORE_PREFIX "isSideChain")) << key;
        EXPECT_TRUE(hasProperty(key, LV2_CORE__connectionOptional)) << key;
    }

    // The parameters in the VST2 order with the VST2 names, then the host's enable switch, then
    // the zone lists of Detection and Ratio, which carry those parameters' names (their own
    // ports are named for the continuous zone they set), then SC Source, which the VST2 edition
    // has not, as a list of its two settings. The two slots without function, which the VST2
    // edition calls "-", say what they are to hosts that list them.
    std::vector<uint32_t> controlInputs;
    for (uint32_t p = 0; p < host->numPorts(); ++p)
        if (host->isControlInput(p)) controlInputs.push_back(p);
    ASSERT_EQ(controlInputs.size(), 25u);
    for (int i = 0; i < 21; ++i) {
        const std::string name = portName(controlInputs[static_cast<std::size_t>(i)]);
        if (i == 0)
            EXPECT_EQ(name, "RMS Window");
        else if (i == 5)
            EXPECT_EQ(name, "Variable Ratio");
        else if (i >= 19)
            EXPECT_EQ(name, "Unused " + std::to_string(i));
        else
            EXPECT_EQ(name, vst2.parameterName(i));
    }
    EXPECT_EQ(portName(controlInputs[22]), vst2.parameterName(0));
    EXPECT_EQ(portName(controlInputs[23]), vst2.parameterName(5));
    for (std::size_t zone : {22u, 23u})
        EXPECT_TRUE(hasProperty(controlInputs[zone], LV2_CORE__enumeration));
    const uint32_t source = controlInputs[24];
    EXPECT_EQ(portName(source), "SC Source");
    EXPECT_EQ(host->portIndex("sc_source"), static_cast<int>(source));
    EXPECT_TRUE(hasProperty(source, LV2_CORE__enumeration));
    EXPECT_EQ(host->control(source), 0.0f) << "Internal by default";
    const uint32_t enabled = controlInputs[21];
    EXPECT_TRUE(portIs(enabled, LV2_CORE__designation, LV2_CORE__enabled));
    EXPECT_TRUE(hasProperty(enabled, LV2_CORE__toggled));
    EXPECT_EQ(host->control(enabled), 1.0f);

    // The latency the VST2 module reports once resumed, reported through the designated port.
    vst2.resume();
    float silence[64] = {};
    float left[64], right[64];
    const float* in[2] = {silence, silence};
    float* out[2] = {left, right};
    host->activate();
    host->run(in, out, 64);
    EXPECT_EQ(host->latency(), vst2.effect().initialDelay);
    EXPECT_EQ(host->latency(), 151);

    for (const char* meter : {"meter_gain", "meter_level_a", "meter_level_b", "meter_active"}) {
        const int index = host->portIndex(meter);
        ASSERT_GE(index, 0) << meter;
        EXPECT_TRUE(host->isControlOutput(static_cast<uint32_t>(index))) << meter;
    }
    EXPECT_EQ(host->control("meter_active"), 1.0f);
    EXPECT_EQ(host->control("meter_gain"), 1.0f); // silence: no gain reduction
}

// A generic view that shows port groups (jalv's) lists the ports without a group first and then
// each group under its name, in the order of the groups' URIs, each group's ports by index; the
// ports marked notOnGUI it leaves out (Qtractor ignores both, and lists every control input by
// index). The groups are the panel's sections in its order, and each zone list comes right
// after the slider it goes with, though the lists' ports were added last.
TEST_F(Lv2Bundle, AViewThatShowsGroupsListsThePanelsSectionsWithEachListBesideItsSlider) {
    LilvNode* groupPredicate = uri(LV2_PORT_GROUPS__group);
    LilvNode* namePredicate = uri(LV2_CORE__name);
    struct Shown {
        std::string group;
        uint32_t index;
        std::string name;
        bool operator<(const Shown& o) const {
            return group != o.group ? group < o.group : index < o.index;
        }
    };
    std::vector<Shown> shown;
    for (uint32_t p = 0; p < host->numPorts(); ++p) {
        if (host->isAudio(p) || hasProperty(p, LV2_PORT_PROPS__notOnGUI)) continue;
        LilvNodes* groups = lilv_port_get_value(host->plugin(), port(p), groupPredicate);
        std::string group;
        if (groups && lilv_nodes_size(groups) == 1) {
            const LilvNode* node = lilv_nodes_get_first(groups);
            group = lilv_node_as_uri(node);
            LilvNode* name = lilv_world_get(host->world(), node, namePredicate, nullptr);
            EXPECT_NE(name, nullptr) << group << " has no name to show";
            if (name) group += std::string(" ") + lilv_node_as_string(name);
            lilv_node_free(name);
        }
        lilv_nodes_free(groups);
        shown.push_back({group, p, portName(p)});
    }
    lilv_node_free(groupPredicate);
    lilv_node_free(namePredicate);
    std::stable_sort(shown.begin(), shown.end());

    const std::vector<std::string> panelOrder = {"RMS Window",
                                                 "Detection",
                                                 "SC Filter Type",
                                                 "SC Filter Freq",
                                                 "SC Source",
                                                 "Threshold",
                                                 "Knee",
                                                 "Variable Ratio",
                                                 "Ratio",
                                                 "Attack",
                                                 "Release",
                                                 "Release Slow",
                                                 "Dry Mix",
                                                 "Make Up Gain",
                                                 "HF Harmonics",
                                                 "LF Harmonics",
                                                 "HF Harmonics Amount",
                                                 "LF Harmonics Amount",
                                                 "Delta",
                                                 "Bypass",
                                                 "SC Preview",
                                                 "Meter Scale",
                                                 "Gain",
                                                 "Level A",
                                                 "Level B",
                                                 "Processing"};
    std::vector<std::string> names;
    for (const Shown& s : shown) {
        EXPECT_FALSE(s.group.empty()) << s.name << " would come before every group";
        names.push_back(s.name);
    }
    EXPECT_EQ(names, panelOrder);
}

// What a user reads at both ends of each control in the VST2 edition is the LV2 port's range
// with its unit, or a scale point's label where the end has a name.
TEST_F(Lv2Bundle, RangesUnitsAndNamedPositionsReadAsTheVst2Texts) {
    for (int i = 0; i < 21; ++i) {
        const uint32_t p = static_cast<uint32_t>(parameterPort(*host, i));
        SCOPED_TRACE(portName(p));
        if (hasProperty(p, LV2_PORT_PROPS__notOnGUI)) {
            EXPECT_EQ(vst2Text(i, 0.5f), "-");
            continue;
        }
        float minimum = 0, maximum = 0;
        LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
        lilv_port_get_range(host->plugin(), port(p), &def, &min, &max);
        ASSERT_TRUE(def && min && max);
        minimum = lilv_node_as_float(min);
        maximum = lilv_node_as_float(max);
        lilv_node_free(def);
        lilv_node_free(min);
        lilv_node_free(max);
        const auto points = scalePoints(p);
        // A zoned parameter's named settings are on its zone list, the port with its name.
        std::vector<std::pair<float, std::string>> zones;
        for (uint32_t z = 0; z < host->numPorts(); ++z)
            if (z != p && host->isControlInput(z) && portName(z) == vst2.parameterName(i))
                zones = scalePoints(z);

        if (hasProperty(p, LV2_CORE__toggled)) {
            EXPECT_EQ(vst2Text(i, 0.0f), "off");
            EXPECT_EQ(vst2Text(i, 1.0f), "on");
            EXPECT_EQ(minimum, 0.0f);
            EXPECT_EQ(maximum, 1.0f);
            continue;
        }
        if (hasProperty(p, LV2_CORE__enumeration)) {
            std::set<std::string> texts;
            for (int step = 0; step <= 100; ++step)
                texts.insert(vst2Text(i, static_cast<float>(step) / 100.0f));
            EXPECT_EQ(points.size(), texts.size());
            EXPECT_TRUE(hasProperty(p, LV2_CORE__integer));
            continue;
        }
        const std::string unit = unitSymbol(p);
        EXPECT_FALSE(unit.empty());
        const float ends[2] = {minimum, maximum};
        for (float normalized : {0.0f, 1.0f}) {
            const std::string text = vst2Text(i, normalized);
            char* rest = nullptr;
            const double number = std::strtod(text.c_str(), &rest);
            const bool atListEnd =
                !zones.empty() && (lowered(zones.front().second) == lowered(text) ||
                                   lowered(zones.back().second) == lowered(text));
            if (rest == text.c_str() || atListEnd) {
                // A named end: the scale point at one end of the range, or of the zone list,
                // carries the name.
                const bool named =
                    atListEnd || std::any_of(points.begin(), points.end(), [&](const auto& sp) {
                        return lowered(sp.second) == lowered(text) &&
                               (sp.first == minimum || sp.first == maximum);
                    });
                EXPECT_TRUE(named) << "\"" << text << "\" is no scale point at a range end";
                continue;
            }
            std::string suffix = rest;
            suffix.erase(0, suffix.find_first_not_of(' '));
            EXPECT_EQ(suffix, unit) << text;
            EXPECT_TRUE(std::fabs(number - ends[0]) < 0.05 || std::fabs(number - ends[1]) < 0.05)
                << text << " is neither end of " << minimum << ".." << maximum;
        }
    }
}

TEST_F(Lv2Bundle, SwitchesAreToggledAndSwitchPositionsNamed) {
    for (const char* symbol : {"hf_harmonics", "lf_harmonics", "delta", "bypass", "sc_preview"})
        EXPECT_TRUE(hasProperty(static_cast<uint32_t>(host->portIndex(symbol)), LV2_CORE__toggled))
            << symbol;
    const auto filter = scalePoints(static_cast<uint32_t>(host->portIndex("sc_filter_type")));
    ASSERT_EQ(filter.size(), 3u);
    EXPECT_EQ(filter[0].second, "Off");
    EXPECT_EQ(filter[1].second, "3dB HP");
    EXPECT_EQ(filter[2].second, "6dB HP");
    const auto detection = scalePoints(static_cast<uint32_t>(host->portIndex("detection_zone")));
    ASSERT_EQ(detection.size(), 3u);
    EXPECT_EQ(detection[0].second, "Peak");
    EXPECT_EQ(detection[1].second, "RMS");
    EXPECT_EQ(detection[2].second, "Dyn RMS");
    const auto ratio = scalePoints(static_cast<uint32_t>(host->portIndex("ratio_zone")));
    ASSERT_EQ(ratio.size(), 3u);
    EXPECT_EQ(ratio[0].second, "Variable");
    EXPECT_EQ(ratio[1].second, "4:1");
    EXPECT_EQ(ratio[2].second, "8:1");
    const auto source = scalePoints(static_cast<uint32_t>(host->portIndex("sc_source")));
    ASSERT_EQ(source.size(), 2u);
    EXPECT_EQ(source[0], (std::pair<float, std::string>{0.0f, "Internal"}));
    EXPECT_EQ(source[1], (std::pair<float, std::string>{1.0f, "External"}));
    EXPECT_TRUE(hasProperty(static_cast<uint32_t>(host->portIndex("sc_filter_freq")),
                            LV2_PORT_PROPS__logarithmic));
}

TEST_F(Lv2Bundle, PresetsAreTheFactoryProgramsByName) {
    std::vector<std::string> presets = host->presetNames();
    std::vector<std::string> programs;
    for (int p = 0; p < 7; ++p)
        programs.push_back(vst2.programNameIndexed(p));
    std::sort(presets.begin(), presets.end());
    std::sort(programs.begin(), programs.end());
    EXPECT_EQ(presets, programs);
    EXPECT_FALSE(host->applyPreset("No Such Preset"));
}

} // namespace
