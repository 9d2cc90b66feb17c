#pragma once

#include <string>
#include <vector>

enum class RenderCommand { render, info, bench, help, version };

struct RenderOptions {
    RenderCommand command = RenderCommand::render;
    std::string pluginPath;
    std::string inputPath;  // empty: render the built-in demo
    std::string outputPath; // empty: the default name
    std::string keyPath;    // empty: no key (sidechain) input
    int blockSize = 512;
    bool singlePrecision = false;
    bool keepLatency = false;
    bool overwrite = false;              // an existing output, the input included, may be replaced
    bool floatSamples = false;           // the output holds 32-bit float samples
    std::string program;                 // number or name; empty: the plug-in's own choice
    std::vector<std::string> parameters; // NAME=VALUE, applied in order after the program
    // --bench only.
    std::string yardstickPath;
    std::vector<std::string> yardstickParameters; // INDEX=VALUE, normalized
    double benchRateHz = 44100.0;
    double benchSeconds = 10.0;
    int benchRounds = 7;
};

struct ParsedCommandLine {
    bool ok = false;
    RenderOptions options;
    std::string error; // set when !ok
};

// pluginPath starts as defaultPluginPath (empty when no module was found); --plugin PATH
// overrides it.
ParsedCommandLine parseCommandLine(int argc, const char* const* argv,
                                   const std::string& defaultPluginPath);

const char* usageText();
