#pragma once

#include <string>

enum class RenderCommand { info, help };

struct RenderOptions {
    RenderCommand command = RenderCommand::help;
    std::string pluginPath;
};

struct ParsedCommandLine {
    bool ok = false;
    RenderOptions options;
    std::string error; // set when !ok
};

// pluginPath starts as defaultPluginPath; --plugin PATH overrides it.
ParsedCommandLine parseCommandLine(int argc, const char* const* argv,
                                   const std::string& defaultPluginPath);

const char* usageText();
