#include "CommandLine.h"
#include "HostedPlugin.h"
#include "InfoReport.h"

#include <iostream>

int main(int argc, char** argv) {
    const ParsedCommandLine parsed = parseCommandLine(argc, argv, QVL_DEFAULT_PLUGIN_PATH);
    if (!parsed.ok) {
        std::cerr << "qvl-render: " << parsed.error << '\n' << usageText();
        return 2;
    }
    if (parsed.options.command == RenderCommand::help) {
        std::cout << usageText();
        return 0;
    }

    HostedPlugin plugin(parsed.options.pluginPath);
    if (!plugin.isLoaded()) {
        std::cerr << "qvl-render: cannot load the plug-in: " << plugin.error() << '\n';
        return 1;
    }
    printInfoReport(plugin, std::cout);
    return 0;
}
