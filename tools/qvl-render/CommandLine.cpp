#include "CommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

bool parseInt(const std::string& text, int low, int high, int& out) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < low || value > high) return false;
    out = static_cast<int>(value);
    return true;
}

bool parsePositive(const std::string& text, double high, double& out) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value) || value <= 0.0 || value > high)
        return false;
    out = value;
    return true;
}

} // namespace

ParsedCommandLine parseCommandLine(int argc, const char* const* argv,
                                   const std::string& defaultPluginPath) {
    ParsedCommandLine parsed;
    RenderOptions& o = parsed.options;
    o.pluginPath = defaultPluginPath;
    bool commandGiven = false;
    const auto fail = [&parsed](const std::string& error) {
        parsed.error = error;
        return parsed;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        // Options that take a value read it from the next argument.
        const auto value = [&](std::string& out) {
            if (i + 1 == argc) return false;
            out = argv[++i];
            return true;
        };
        std::string text;
        if (argument == "--info" || argument == "--help" || argument == "-h" ||
            argument == "--bench" || argument == "--version") {
            if (commandGiven)
                return fail("only one of --info, --bench, --version and --help may be given");
            commandGiven = true;
            o.command = argument == "--info"      ? RenderCommand::info
                        : argument == "--bench"   ? RenderCommand::bench
                        : argument == "--version" ? RenderCommand::version
                                                  : RenderCommand::help;
        } else if (argument == "--plugin") {
            if (!value(o.pluginPath) || o.pluginPath.empty())
                return fail("--plugin needs a path or an LV2 URI");
        } else if (argument == "-o" || argument == "--output") {
            if (!value(o.outputPath) || o.outputPath.empty())
                return fail(argument + " needs a file name");
        } else if (argument == "--sidechain") {
            if (!value(o.keyPath) || o.keyPath.empty())
                return fail("--sidechain needs a sound file");
        } else if (argument == "--block") {
            if (!value(text) || !parseInt(text, 1, 1 << 20, o.blockSize))
                return fail("--block needs a number of frames from 1 to 1048576");
        } else if (argument == "--single") {
            o.singlePrecision = true;
        } else if (argument == "--keep-latency") {
            o.keepLatency = true;
        } else if (argument == "--overwrite") {
            o.overwrite = true;
        } else if (argument == "--float") {
            o.floatSamples = true;
        } else if (argument == "--program") {
            if (!value(o.program) || o.program.empty())
                return fail("--program needs a number or a name");
        } else if (argument == "--param") {
            if (!value(text) || text.find('=') == std::string::npos)
                return fail("--param needs NAME=VALUE");
            o.parameters.push_back(text);
        } else if (argument == "--yardstick") {
            if (!value(o.yardstickPath)) return fail("--yardstick needs a path");
        } else if (argument == "--yardstick-param") {
            if (!value(text) || text.find('=') == std::string::npos)
                return fail("--yardstick-param needs INDEX=VALUE");
            o.yardstickParameters.push_back(text);
        } else if (argument == "--rate") {
            if (!value(text) || !parsePositive(text, 1e6, o.benchRateHz))
                return fail("--rate needs a rate in Hz");
        } else if (argument == "--seconds") {
            if (!value(text) || !parsePositive(text, 3600.0, o.benchSeconds))
                return fail("--seconds needs a duration in seconds");
        } else if (argument == "--rounds") {
            if (!value(text) || !parseInt(text, 1, 1000, o.benchRounds))
                return fail("--rounds needs a number from 1 to 1000");
        } else if (!argument.empty() && argument[0] == '-') {
            return fail("unknown option: " + argument);
        } else if (o.inputPath.empty()) {
            o.inputPath = argument;
        } else {
            return fail("only one input file may be given");
        }
    }
    const bool benchOnly = !o.yardstickPath.empty() || !o.yardstickParameters.empty();
    if (benchOnly && o.command != RenderCommand::bench) return fail("--yardstick needs --bench");
    if (o.command != RenderCommand::render && !o.inputPath.empty())
        return fail("an input file is read only when rendering");
    if (o.command != RenderCommand::render && !o.keyPath.empty())
        return fail("a sidechain file is read only when rendering");
    parsed.ok = true;
    return parsed;
}

const char* usageText() {
    return "usage: qvl-render [INPUT] [-o OUTPUT] [options]     render a sound file\n"
           "       qvl-render --info [--plugin PATH|URI]          show what the plug-in reports\n"
           "       qvl-render --bench [options]                   measure the plug-in's speed\n"
           "\n"
           "Rendering loads the plug-in as a host does and runs INPUT through it. INPUT may be "
           "any\n"
           "file libsndfile reads (WAV, AIFF, FLAC, Ogg, ...). Mono input is fed to both plug-in "
           "inputs\n"
           "and the left output is written back as mono; more than two channels are refused. The\n"
           "output has the input's sample rate and channel count; its extension chooses its format "
           "(an\n"
           "unknown one is refused with the list), keeping the input's bit depth where the format\n"
           "holds it. An existing file, the input above all, is replaced only with --overwrite.\n"
           "Without INPUT a built-in demo (drums and bass, 8 seconds, 44.1 kHz, float WAV) is "
           "written\n"
           "to demo-input.wav and rendered to demo-processed.wav (or OUTPUT), with a factory "
           "program\n"
           "that suits it (named when it runs) unless --program or --param is given. The next demo "
           "run\n"
           "replaces these two files; files of another kind under their names need --overwrite.\n"
           "\n"
           "  -o, --output FILE      output file (default: INPUT-processed.EXT next to INPUT)\n"
           "  --overwrite            replace an existing output file, even the input file\n"
           "  --float                write 32-bit float samples (default: the input's "
           "encoding)\n"
           "  --plugin PATH|URI      the plug-in to load, in any edition: a VST 2.4 module file, a "
           "VST 3\n"
           "                         bundle (.vst3), a CLAP module (.clap), an LV2 bundle (.lv2) "
           "or an\n"
           "                         LV2 URI. Default: our plug-in, the first found of the VST "
           "2.4 module\n"
           "                         in ../lib/vst beside this tool, ~/.vst, /usr/local/lib/vst, "
           "/usr/lib/vst,\n"
           "                         then the VST 3, CLAP and LV2 editions in their folders "
           "(lib/vst3,\n"
           "                         ~/.vst3, lib/clap, ~/.clap, lib/lv2, ~/.lv2). Every edition "
           "takes the\n"
           "                         same --program and --param; LV2 processes in 32-bit float\n"
           "  --sidechain KEY        a sound file for the plug-in's key (sidechain) input, at the "
           "input's\n"
           "                         rate; a shorter key ends in silence. Editions without a key "
           "input\n"
           "                         refuse it\n"
           "  --block N              frames per processing call (default 512)\n"
           "  --single               process in 32-bit float (default: 64-bit double)\n"
           "  --keep-latency         keep the plug-in's latency in the output (it then is longer "
           "by\n"
           "                         that many frames); by default the output lines up with the "
           "input\n"
           "  --program N|NAME       select a program by number or by name before processing\n"
           "  --param NAME=VALUE     set a parameter after the program; NAME as --info lists "
           "it, its\n"
           "                         number, or its caption on the panel (MAKEUP, \"LO COLOR\"); "
           "case,\n"
           "                         blanks and underscores ignored. VALUE as the plug-in shows "
           "it, the\n"
           "                         same in every edition: a number in the control's unit (s or "
           "ms, Hz or\n"
           "                         kHz, dB, %, :1), with or\n"
           "                         without the unit (Threshold=-24dB, Attack=15ms, \"Make Up "
           "Gain=0\",\n"
           "                         Ratio=4:1), or a named position (Detection=Peak, Bypass=on); "
           "a value\n"
           "                         between two settings or outside the range is refused. "
           "norm:0.5 is\n"
           "                         a normalized value; other plug-ins take it or a plain number. "
           "May "
           "be given\n"
           "                         several times.\n"
           "\n"
           "  --bench                process the demo signal repeatedly, in single precision, and "
           "print\n"
           "                         ns per stereo sample and the realtime factor (medians of "
           "rounds)\n"
           "  --rate HZ              bench sample rate (default 44100)\n"
           "  --seconds S            bench signal length per round (default 10)\n"
           "  --rounds N             bench rounds (default 7)\n"
           "  --yardstick PATH       a second plug-in, run interleaved with the first; prints the "
           "ratio\n"
           "  --yardstick-param INDEX=VALUE   normalized parameter of the yardstick (repeatable; "
           "NAME=VALUE\n"
           "                         for an LV2 yardstick)\n"
           "\n"
           "  --version              show the version of this tool and the plug-in and edition "
           "it would load\n"
           "  --help                 show this text\n"
           "Exit status: 0 on success, 1 when the work fails, 2 for a wrong command line.\n";
}
