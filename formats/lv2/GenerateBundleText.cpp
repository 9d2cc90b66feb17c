// Writes the bundle's Turtle files (manifest, plug-in and UI description, presets) from the
// parameter table, the port table and the factory programs, so the description can never
// drift from the code that runs.
//   qvl-lv2-ttl OUTPUT_DIRECTORY VERSION
#include "ProductIdentity.h"
#include "formats/lv2/Lv2Ports.h"
#include "formats/lv2/Lv2Uris.h"
#include "plugin/CompressorProgram.h"
#include "plugin/FactoryPrograms.h"
#include "plugin/ParameterTable.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

constexpr const char* kPrefixes = "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
                                  "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
                                  "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                                  "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
                                  "@prefix pg: <http://lv2plug.in/ns/ext/port-groups#> .\n"
                                  "@prefix pprops: <http://lv2plug.in/ns/ext/port-props#> .\n"
                                  "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                                  "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
                                  "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                                  "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
                                  "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
                                  "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n";

constexpr const char* kDescriptionFile = QVL_MODULE_NAME ".ttl";
constexpr const char* kPresetsFile = "presets.ttl";

// The shortest plain decimal that reads back as the same float (nine significant digits
// always do).
std::string number(float value) {
    char text[32];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        const bool plain = std::string(text).find('e') == std::string::npos;
        if (plain && std::strtof(text, nullptr) == value) break;
    }
    std::string result = text;
    // A Turtle literal without a point or exponent is an integer; hosts read both, but a
    // decimal says what the port holds.
    if (result.find_first_of(".e") == std::string::npos) result += ".0";
    return result;
}

std::string uri(const std::string& text) {
    return "<" + text + ">";
}

std::string quoted(const std::string& text) {
    std::string result = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') result += '\\';
        result += c;
    }
    return result + "\"";
}

// The published preset URIs count from 1 while programs count from 0; hosts store them in
// sessions, so they stay as released.
std::string presetUri(int program) {
    return uri(std::string(lv2uri::kPresetPrefix) + std::to_string(program + 1));
}

const char* unitNode(ParameterUnit unit) {
    switch (unit) {
    case ParameterUnit::decibels:
        return "units:db";
    case ParameterUnit::milliseconds:
        return "units:ms";
    case ParameterUnit::hertz:
        return "units:hz";
    case ParameterUnit::percent:
        return "units:pc";
    case ParameterUnit::ratio:
        return "[ a units:Unit ; rdfs:label \"ratio\" ; units:symbol \":1\" ; units:render "
               "\"%.1f:1\" ]";
    case ParameterUnit::none:
        break;
    }
    return nullptr;
}

struct Programs {
    CompressorProgram rows[kNumPrograms];
    Programs() { fillFactoryPrograms(rows); }
};

void writeAudioPort(std::ostream& out, uint32_t index, bool input, bool left) {
    const char* side = left ? "left" : "right";
    out << "  [\n    a lv2:AudioPort, " << (input ? "lv2:InputPort" : "lv2:OutputPort") << " ;\n"
        << "    lv2:index " << index << " ;\n"
        << "    lv2:symbol \"" << (input ? "in_" : "out_") << (left ? "l" : "r") << "\" ;\n"
        << "    lv2:name \"" << (input ? "Input " : "Output ") << (left ? "Left" : "Right")
        << "\" ;\n"
        << "    pg:group " << uri(std::string(lv2uri::kPlugin) + (input ? "#in" : "#out")) << " ;\n"
        << "    lv2:designation pg:" << side << " ;\n  ]";
}

// The key's inputs: a stereo group of their own, a side chain of the main input, so hosts
// neither feed them the track's signal nor count them as main inputs. A host may leave them
// unconnected: no key is silence, one key port alone a mono key.
void writeKeyPort(std::ostream& out, uint32_t index, bool left) {
    const char* side = left ? "left" : "right";
    out << "  [\n    a lv2:AudioPort, lv2:InputPort ;\n"
        << "    lv2:index " << index << " ;\n"
        << "    lv2:symbol \"sidechain_" << side << "\" ;\n"
        << "    lv2:name \"Sidechain " << (left ? "Left" : "Right") << "\" ;\n"
        << "    lv2:portProperty lv2:isSideChain, lv2:connectionOptional ;\n"
        << "    pg:group " << uri(std::string(lv2uri::kPlugin) + "#sidechain") << " ;\n"
        << "    lv2:designation pg:" << side << " ;\n  ]";
}

// jalv orders groups by URI: the section's number leads.
std::string groupUri(int group) {
    return uri(std::string(lv2uri::kPlugin) + "#section" + std::to_string(group + 1) + "_" +
               lv2port::kControlGroups[group].symbol);
}

void writeGroups(std::ostream& out) {
    for (int g = 0; g < lv2port::kNumControlGroups; ++g) {
        const lv2port::ControlGroup& group = lv2port::kControlGroups[g];
        out << groupUri(g) << "\n  a pg:Group ;\n  lv2:symbol \"" << group.symbol << "\" ;\n"
            << "  lv2:name " << quoted(group.name) << " ;\n  rdfs:label " << quoted(group.name)
            << " .\n\n";
    }
}

void writeControlPort(std::ostream& out, const lv2port::ControlPortDescription& port,
                      float defaultValue) {
    out << "  [\n    a lv2:InputPort, lv2:ControlPort ;\n"
        << "    lv2:index " << port.index << " ;\n"
        << "    lv2:symbol \"" << port.symbol << "\" ;\n"
        << "    lv2:name " << quoted(port.name) << " ;\n"
        << "    lv2:default " << number(defaultValue) << " ;\n"
        << "    lv2:minimum " << number(port.minimum) << " ;\n"
        << "    lv2:maximum " << number(port.maximum) << " ;\n";
    if (const char* unit = unitNode(port.unit)) out << "    units:unit " << unit << " ;\n";
    if (port.hints & kHintToggled) out << "    lv2:portProperty lv2:toggled ;\n";
    if (port.hints & kHintEnumeration) out << "    lv2:portProperty lv2:enumeration ;\n";
    if (port.hints & kHintInteger) out << "    lv2:portProperty lv2:integer ;\n";
    if (port.hints & kHintLogarithmic) out << "    lv2:portProperty pprops:logarithmic ;\n";
    if (port.hidden) out << "    lv2:portProperty pprops:notOnGUI ;\n";
    if (port.group != lv2port::kNoGroup) out << "    pg:group " << groupUri(port.group) << " ;\n";
    for (int point = 0; point < port.numPoints; ++point)
        out << "    lv2:scalePoint [ rdfs:label " << quoted(port.points[point].label)
            << " ; rdf:value " << number(port.points[point].value) << " ] ;\n";
    out << "  ]";
}

void writeOutputPort(std::ostream& out, uint32_t index, const char* symbol, const char* name,
                     float minimum, float maximum, int group, const char* extra) {
    out << "  [\n    a lv2:OutputPort, lv2:ControlPort ;\n"
        << "    lv2:index " << index << " ;\n"
        << "    lv2:symbol \"" << symbol << "\" ;\n"
        << "    lv2:name \"" << name << "\" ;\n"
        << "    lv2:minimum " << number(minimum) << " ;\n"
        << "    lv2:maximum " << number(maximum) << " ;\n";
    if (group != lv2port::kNoGroup) out << "    pg:group " << groupUri(group) << " ;\n";
    out << extra << "  ]";
}

std::string pluginDescription(const Programs& programs, int minorVersion, int microVersion) {
    std::ostringstream out;
    const std::string plugin = uri(lv2uri::kPlugin);
    out << kPrefixes;
    out << uri(std::string(lv2uri::kPlugin) + "#in")
        << "\n  a pg:InputGroup, pg:StereoGroup ;\n  lv2:symbol \"in\" ;\n"
           "  rdfs:label \"Input\" .\n\n";
    out << uri(std::string(lv2uri::kPlugin) + "#out")
        << "\n  a pg:OutputGroup, pg:StereoGroup ;\n  lv2:symbol \"out\" ;\n"
           "  rdfs:label \"Output\" .\n\n";
    out << uri(std::string(lv2uri::kPlugin) + "#sidechain")
        << "\n  a pg:InputGroup, pg:StereoGroup ;\n  lv2:symbol \"sidechain\" ;\n"
           "  rdfs:label \"Sidechain\" ;\n  pg:sideChainOf "
        << uri(std::string(lv2uri::kPlugin) + "#in") << " .\n\n";
    writeGroups(out);
    out << uri(lv2uri::kUi) << "\n  a ui:X11UI ;\n"
        << "  lv2:requiredFeature ui:idleInterface ;\n"
        << "  lv2:optionalFeature ui:parent, ui:resize, ui:touch, opts:options, urid:map ;\n"
        // Only the editor's own size menu changes its size: a host that let the user drag the
        // window would only add empty margins, and one that knows this shrinks its window with
        // the editor.
        << "  lv2:optionalFeature ui:noUserResize ;\n"
        << "  opts:supportedOption ui:scaleFactor ;\n"
        << "  lv2:extensionData ui:idleInterface .\n\n";
    out << plugin << "\n  a lv2:Plugin, lv2:CompressorPlugin, doap:Project ;\n"
        << "  doap:name " << quoted(kProductName) << " ;\n"
        << "  doap:maintainer [ foaf:name " << quoted(kVendorName) << " ; foaf:homepage <"
        << kVendorUrl << "/> ] ;\n"
        << "  lv2:minorVersion " << minorVersion << " ;\n"
        << "  lv2:microVersion " << microVersion << " ;\n"
        << "  lv2:optionalFeature lv2:hardRTCapable ;\n"
        << "  pg:mainInput " << uri(std::string(lv2uri::kPlugin) + "#in") << " ;\n"
        << "  pg:mainOutput " << uri(std::string(lv2uri::kPlugin) + "#out") << " ;\n"
        << "  ui:ui " << uri(lv2uri::kUi) << " ;\n"
        << "  lv2:port\n";
    writeAudioPort(out, lv2port::kInputLeft, true, true);
    out << " ,\n";
    writeAudioPort(out, lv2port::kInputRight, true, false);
    out << " ,\n";
    writeAudioPort(out, lv2port::kOutputLeft, false, true);
    out << " ,\n";
    writeAudioPort(out, lv2port::kOutputRight, false, false);
    for (int i = 0; i < kNumParameters; ++i) {
        out << " ,\n";
        writeControlPort(out, lv2port::describeParameterPort(i),
                         lv2port::exactPlain(i, programs.rows[0].value(i)).value);
    }
    out << " ,\n";
    out << "  [\n    a lv2:InputPort, lv2:ControlPort ;\n"
        << "    lv2:index " << lv2port::kEnabled << " ;\n"
        << "    lv2:symbol \"enabled\" ;\n    lv2:name \"Enabled\" ;\n"
        << "    lv2:designation lv2:enabled ;\n"
        << "    lv2:default 1 ;\n    lv2:minimum 0 ;\n    lv2:maximum 1 ;\n"
        // The host's own bypass switch stands for it; a second one among the controls would
        // only confuse.
        << "    lv2:portProperty lv2:toggled, lv2:integer, pprops:notOnGUI ;\n  ] ,\n";
    writeOutputPort(out, lv2port::kLatency, "latency", "Latency", 0.0f, 1000.0f, lv2port::kNoGroup,
                    "    lv2:designation lv2:latency ;\n"
                    "    lv2:portProperty lv2:reportsLatency, lv2:integer, pprops:notOnGUI ;\n"
                    "    units:unit units:frame ;\n");
    out << " ,\n";
    writeOutputPort(out, lv2port::kMeterGain, "meter_gain", "Gain", 0.0f,
                    lv2port::kMeterGainMaximum, lv2port::kGroupMeters,
                    "    units:unit units:coef ;\n");
    out << " ,\n";
    writeOutputPort(out, lv2port::kMeterLevelA, "meter_level_a", "Level A", -120.0f, 24.0f,
                    lv2port::kGroupMeters, "    units:unit units:db ;\n");
    out << " ,\n";
    writeOutputPort(out, lv2port::kMeterLevelB, "meter_level_b", "Level B", -120.0f, 24.0f,
                    lv2port::kGroupMeters, "    units:unit units:db ;\n");
    out << " ,\n";
    writeOutputPort(out, lv2port::kMeterActive, "meter_active", "Processing", 0.0f, 1.0f,
                    lv2port::kGroupMeters, "    lv2:portProperty lv2:toggled ;\n");
    for (int i = 0; i < kNumParameters; ++i) {
        if (lv2port::zonePortOf(i) == lv2port::kNoPort) continue;
        out << " ,\n";
        writeControlPort(out, lv2port::describeZonePort(i),
                         lv2port::exactPlain(i, programs.rows[0].value(i)).zone);
    }
    out << " ,\n";
    writeKeyPort(out, lv2port::kKeyLeft, true);
    out << " ,\n";
    writeKeyPort(out, lv2port::kKeyRight, false);
    out << " .\n";
    return out.str();
}

std::string manifest(const Programs& programs) {
    std::ostringstream out;
    out << kPrefixes;
    out << uri(lv2uri::kPlugin) << "\n  a lv2:Plugin ;\n"
        << "  lv2:binary <" << lv2uri::kDspBinary << "> ;\n"
        << "  rdfs:seeAlso <" << kDescriptionFile << "> .\n\n";
    out << uri(lv2uri::kUi) << "\n  a ui:X11UI ;\n"
        << "  ui:binary <" << lv2uri::kUiBinary << "> ;\n"
        << "  rdfs:seeAlso <" << kDescriptionFile << "> .\n";
    for (int p = 0; p < kNumPrograms; ++p)
        out << "\n"
            << presetUri(p) << "\n  a pset:Preset ;\n"
            << "  lv2:appliesTo " << uri(lv2uri::kPlugin) << " ;\n"
            << "  rdfs:label " << quoted(programs.rows[p].name) << " ;\n"
            << "  rdfs:seeAlso <" << kPresetsFile << "> .\n";
    return out.str();
}

std::string presets(const Programs& programs) {
    std::ostringstream out;
    out << kPrefixes;
    for (int p = 0; p < kNumPrograms; ++p) {
        out << presetUri(p) << "\n  a pset:Preset ;\n"
            << "  lv2:appliesTo " << uri(lv2uri::kPlugin) << " ;\n"
            << "  rdfs:label " << quoted(programs.rows[p].name) << " ;\n"
            << "  lv2:port";
        const char* separator = "\n";
        const auto writeValue = [&](const char* symbol, float value) {
            out << separator << "    [ lv2:symbol \"" << symbol << "\" ; pset:value "
                << number(value) << " ]";
            separator = " ,\n";
        };
        for (int i = 0; i < kNumParameters; ++i) {
            const lv2port::PortValues values = lv2port::exactPlain(i, programs.rows[p].value(i));
            writeValue(kParameters[i].symbol, values.value);
            if (lv2port::zonePortOf(i) != lv2port::kNoPort)
                writeValue(lv2port::describeZonePort(i).symbol, values.zone);
        }
        out << " .\n\n";
    }
    return out.str();
}

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    file.close();
    if (!file) std::cerr << "qvl-lv2-ttl: cannot write " << path << "\n";
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv) {
    int major = 0, minor = 0, micro = 0;
    if (argc != 3 || std::sscanf(argv[2], "%d.%d.%d", &major, &minor, &micro) != 3) {
        std::cerr << "usage: qvl-lv2-ttl OUTPUT_DIRECTORY MAJOR.MINOR.MICRO\n";
        return 2;
    }
    const std::string directory = argv[1];
    const Programs programs;
    const bool written =
        writeFile(directory + "/manifest.ttl", manifest(programs)) &&
        writeFile(directory + "/" + kDescriptionFile, pluginDescription(programs, minor, micro)) &&
        writeFile(directory + "/" + kPresetsFile, presets(programs));
    return written ? 0 : 1;
}
