#include "EditionParts.h"
#include "HostedPlugin.h"

#include <cstdio>
#include <ostream>
#include <string>

namespace {

std::string fourCharacterText(int32_t id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((static_cast<uint32_t>(id) >> shift) & 0xff);
        text += (c >= 0x20 && c < 0x7f) ? c : '.';
    }
    return text;
}

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", value);
    return text;
}

const char* categoryName(intptr_t category) {
    switch (category) {
    case vst2::kPlugCategEffect:
        return "effect";
    case vst2::kPlugCategSynth:
        return "synth";
    case vst2::kPlugCategAnalysis:
        return "analysis";
    case vst2::kPlugCategMastering:
        return "mastering";
    default:
        return "unknown";
    }
}

std::string flagNames(int32_t flags) {
    static const struct {
        int32_t flag;
        const char* name;
    } kFlags[] = {{vst2::effFlagsHasEditor, "HasEditor"},
                  {vst2::effFlagsCanReplacing, "CanReplacing"},
                  {vst2::effFlagsProgramChunks, "ProgramChunks"},
                  {vst2::effFlagsIsSynth, "IsSynth"},
                  {vst2::effFlagsNoSoundInStop, "NoSoundInStop"},
                  {vst2::effFlagsCanDoubleReplacing, "CanDoubleReplacing"}};
    std::string names;
    for (const auto& known : kFlags)
        if (flags & known.flag) names += (names.empty() ? "" : " ") + std::string(known.name);
    return names;
}

std::string inputLabel(HostedPlugin& plugin, int index) {
    vst2::VstPinProperties pin{};
    if (plugin.dispatch(vst2::effGetInputProperties, index, 0, &pin) == 0) return "-";
    pin.label[sizeof pin.label - 1] = '\0';
    return pin.label;
}

} // namespace

void editionParts::describeVst2(HostedPlugin& plugin, std::ostream& out) {
    vst2::AEffect& effect = plugin.effect();
    out << "Name:           " << plugin.effectName() << '\n'
        << "Vendor:         " << plugin.vendorString() << '\n'
        << "Product:        " << plugin.productString() << '\n'
        << "Unique ID:      " << fourCharacterText(effect.uniqueID) << " ("
        << hex(static_cast<uint32_t>(effect.uniqueID)) << ")\n"
        << "Version:        " << effect.version << '\n'
        << "Vendor version: " << plugin.vendorVersion() << '\n'
        << "VST version:    " << plugin.dispatch(vst2::effGetVstVersion) << '\n'
        << "Category:       " << categoryName(plugin.category()) << " (" << plugin.category()
        << ")\n"
        << "Inputs:         " << effect.numInputs;
    for (int i = 0; i < effect.numInputs; ++i)
        out << (i ? ", " : " (") << inputLabel(plugin, i);
    out << (effect.numInputs > 0 ? ")" : "") << '\n'
        << "Outputs:        " << effect.numOutputs << '\n'
        << "Flags:          " << hex(static_cast<uint32_t>(effect.flags)) << ' '
        << flagNames(effect.flags) << '\n'
        << "Latency:        " << effect.initialDelay << " samples before resume, ";
    plugin.resume();
    out << effect.initialDelay << " after\n";
    plugin.suspend();

    out << "\nParameters (" << effect.numParams << "):\n";
    for (int i = 0; i < effect.numParams; ++i) {
        // The value text is quoted: its leading blanks are part of what hosts show.
        const std::string quotedText = '"' + plugin.parameterDisplay(i) + '"';
        char line[160];
        std::snprintf(line, sizeof line, "  %2d  %-20s %-12s %.6g\n", i,
                      plugin.parameterName(i).c_str(), quotedText.c_str(),
                      static_cast<double>(plugin.getParameter(i)));
        out << line;
    }

    const int current = plugin.program();
    out << "\nPrograms (" << effect.numPrograms << "):\n";
    for (int i = 0; i < effect.numPrograms; ++i)
        out << (i == current ? "* " : "  ") << i << "  " << plugin.programNameIndexed(i) << '\n';
}
