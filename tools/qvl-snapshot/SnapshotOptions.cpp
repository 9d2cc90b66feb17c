#include "SnapshotOptions.h"

#include "ParameterInput.h"

#include "editor/EditorScale.h"
#include "editor/MeterBallistics.h"
#include "plugin/FactoryPrograms.h"
#include "plugin/ParameterTable.h"
#include "plugin/ValueFromText.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool parseNumber(const char* text, float& value) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text, &end);
    if (*end != '\0' || errno != 0 || !std::isfinite(v)) return false;
    value = static_cast<float>(v);
    return true;
}

bool parseInteger(const char* text, int& value) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (*end != '\0' || errno != 0 || v < -1000000 || v > 1000000) return false;
    value = static_cast<int>(v);
    return true;
}

const std::string kValueOptions[] = {"--program", "--param",   "--gain-reduction",
                                     "--level-a", "--level-b", "--scale",
                                     "-o",        "--output"};

std::string decibels(float db) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(db));
    return text;
}

ParsedSnapshotOptions failure(std::string error) {
    ParsedSnapshotOptions parsed;
    parsed.error = std::move(error);
    return parsed;
}

} // namespace

ParsedSnapshotOptions parseSnapshotOptions(int argc, const char* const* argv) {
    ParsedSnapshotOptions parsed;
    SnapshotOptions& o = parsed.options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            o.help = true;
            continue;
        }
        if (arg == "--version") {
            o.version = true;
            continue;
        }
        if (arg == "--overwrite") {
            o.overwrite = true;
            continue;
        }
        if (arg.empty() || arg[0] != '-') return failure("unexpected argument: " + arg);
        if (std::find(std::begin(kValueOptions), std::end(kValueOptions), arg) ==
            std::end(kValueOptions))
            return failure("unknown option: " + arg);
        if (i + 1 >= argc) return failure(arg + " needs a value");
        const char* value = argv[++i];
        if (arg == "--program") {
            if (!parseInteger(value, o.program) || o.program < 0 || o.program >= kNumPrograms)
                return failure("--program wants a factory program from 0 to " +
                               std::to_string(kNumPrograms - 1) + ", not " + value);
        } else if (arg == "--param") {
            const ParameterAssignment assignment = readOurAssignment(value);
            if (!assignment.ok) return failure(assignment.refusal);
            o.parameters.emplace_back(assignment.index, assignment.normalized);
        } else if (arg == "--gain-reduction" || arg == "--level-a" || arg == "--level-b") {
            const bool reduction = arg == "--gain-reduction";
            float& target = reduction            ? o.gainReductionDb
                            : arg == "--level-a" ? o.levelADb
                                                 : o.levelBDb;
            // The spans the meters can show: a reduction of 0 dB up, levels from the level
            // meter's floor to its top at 0 dB.
            const float low = reduction ? 0.0f : MeterBallistics::kLevelFloorDb;
            const float high = reduction ? kMeterLimitDb : 0.0f;
            if (!parseNumber(value, target) || target < low || target > high)
                return failure(arg + " wants a number of dB from " + decibels(low) + " to " +
                               decibels(high) + ", not " + value);
        } else if (arg == "--scale") {
            std::string text = value;
            if (!text.empty() && text.back() == '%') text.pop_back();
            int percent = 0;
            if (!parseInteger(text.c_str(), percent) || !isSupportedScale(percent))
                return failure(std::string("scale must be 100, 125, 150, 175, 200, 250 or 300, "
                                           "not ") +
                               value);
            o.scalePercent = percent;
        } else if (arg == "-o" || arg == "--output") {
            o.outputPath = value;
        }
    }
    parsed.ok = true;
    return parsed;
}

const char* snapshotUsage() {
    return "Usage: qvl-snapshot [options]\n"
           "Draws the QVL Feedback Compressor's editor into a PNG image, without a display.\n"
           "\n"
           "  --program N            factory program 0 ... 6 (default 0)\n"
           "  --param NAME=VALUE     a parameter after the program; NAME as the host shows it,\n"
           "                         (\"Make Up Gain\", makeupgain) or its index; VALUE as the\n"
           "                         host shows it: a number in the control's unit, with or\n"
           "                         without the unit (Threshold=-24dB, \"Make Up Gain=0\"), or\n"
           "                         a named position (Detection=Peak); norm:0.5 is a normalized\n"
           "                         value; may be repeated\n"
           "  --gain-reduction DB    gain reduction shown by the GR meter (default 0)\n"
           "  --level-a DB           first sidechain level (default -70)\n"
           "  --level-b DB           second sidechain level (default -70)\n"
           "  --scale PERCENT        display scale: 100, 125, 150, 175, 200, 250 or 300\n"
           "                         (default 100); the image grows with it\n"
           "  -o, --output PATH      image to write (default qvl-snapshot.png); an existing file "
           "is\n"
           "                         replaced only with --overwrite\n"
           "  --overwrite            replace an existing image\n"
           "  --version              show the version of this tool\n"
           "  -h, --help             this text\n"
           "The meters show a gain reduction of 0 dB or more and levels from -70 to 0 dB.\n"
           "Exit status: 0 on success, 1 when the image cannot be made, 2 for a wrong command "
           "line.\n";
}
