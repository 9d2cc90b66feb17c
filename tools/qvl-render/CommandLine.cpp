#include "CommandLine.h"

ParsedCommandLine parseCommandLine(int argc, const char* const* argv,
                                   const std::string& defaultPluginPath) {
    ParsedCommandLine parsed;
    parsed.options.pluginPath = defaultPluginPath;
    bool commandGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--info" || argument == "--help" || argument == "-h") {
            if (commandGiven) {
                parsed.error = "only one of --info and --help may be given";
                return parsed;
            }
            commandGiven = true;
            parsed.options.command =
                argument == "--info" ? RenderCommand::info : RenderCommand::help;
        } else if (argument == "--plugin") {
            if (i + 1 == argc) {
                parsed.error = "--plugin needs a path";
                return parsed;
            }
            parsed.options.pluginPath = argv[++i];
        } else {
            parsed.error = "unknown argument: " + argument;
            return parsed;
        }
    }
    if (!commandGiven) {
        parsed.error = "no command given";
        return parsed;
    }
    parsed.ok = true;
    return parsed;
}

const char* usageText() {
    return "usage: qvl-render --info [--plugin PATH]\n"
           "  --info          load the plug-in as a host does and print what it reports\n"
           "  --plugin PATH   the VST 2.4 module to load (default: the one built beside this "
           "tool)\n"
           "  --help          show this text\n";
}
