#include "Bench.h"
#include "CommandLine.h"
#include "DemoSignal.h"
#include "HostedPlugin.h"
#include "InfoReport.h"
#include "PluginSettings.h"
#include "Render.h"

#include "ProductVersion.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <unistd.h>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr double kDemoSeconds = 8.0;
constexpr int kDemoRateHz = 44100;
// A program that audibly works on the demo, chosen when the command line chooses none.
constexpr const char* kDemoProgram = "Mastering: Aggressive";

// An installed renderer (/usr/bin, or bin/ of the unpacked archive) renders through the module
// installed beside it; one run from the build tree, through the module built with it.
std::string defaultPluginPath() {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        const fs::path installed =
            fs::canonical(self.parent_path() / QVL_INSTALLED_PLUGIN_FROM_BIN, error);
        if (!error && access(installed.c_str(), R_OK) == 0) return installed.string();
    }
    return QVL_DEFAULT_PLUGIN_PATH;
}

int fail(const std::string& message) {
    std::cerr << "qvl-render: " << message << '\n';
    return kExitFailure;
}

// A plug-in for rendering or timing: its messages to the host are not kept.
std::unique_ptr<HostedPlugin> load(const std::string& path, std::string& error) {
    HostOptions options;
    options.recordCalls = false;
    auto plugin = std::make_unique<HostedPlugin>(path, options);
    if (!plugin->isLoaded()) {
        error = "cannot load the plug-in: " + plugin->error();
        return nullptr;
    }
    return plugin;
}

bool configure(HostedPlugin& plugin, const RenderOptions& o, std::string& error) {
    if (!o.program.empty() && !selectProgram(plugin, o.program, error)) return false;
    for (const std::string& assignment : o.parameters)
        if (!applyParameter(plugin, assignment, error)) return false;
    return true;
}

int render(const RenderOptions& o) {
    std::string error;
    AudioData input;
    std::string outputPath = o.outputPath;
    if (o.inputPath.empty()) {
        input = makeDemoSignal(kDemoRateHz, kDemoSeconds);
        if (!writeAudioFile("demo-input.wav", input, error)) return fail(error);
        std::cout << "Wrote the demo signal to demo-input.wav\n";
        if (outputPath.empty()) outputPath = "demo-processed.wav";
    } else {
        if (!readAudioFile(o.inputPath, input, error)) return fail(error);
        if (outputPath.empty()) outputPath = processedFileName(o.inputPath);
    }
    const auto plugin = load(o.pluginPath, error);
    if (!plugin) return fail(error);
    const bool demoDefaults = o.inputPath.empty() && o.program.empty() && o.parameters.empty();
    if (demoDefaults && selectProgram(*plugin, kDemoProgram, error))
        std::cout << "Demo with the program \"" << kDemoProgram << "\"\n";
    if (!configure(*plugin, o, error)) return fail(error);

    RenderSettings settings;
    settings.blockSize = o.blockSize;
    settings.singlePrecision = o.singlePrecision;
    settings.keepLatency = o.keepLatency;
    settings.showProgress = isatty(STDERR_FILENO) != 0;
    const RenderResult result = renderAudio(*plugin, input, settings);
    if (!writeAudioFile(outputPath, result.output, error)) return fail(error);
    std::cout << "Wrote " << outputPath << " (latency " << result.latencyFrames << " frames, "
              << (o.keepLatency ? "kept" : "compensated") << ")\n";
    printSummary(input, result, std::cout);
    return 0;
}

int bench(const RenderOptions& o) {
    std::string error;
    const auto plugin = load(o.pluginPath, error);
    if (!plugin || !configure(*plugin, o, error)) return fail(error);
    std::unique_ptr<HostedPlugin> yardstick;
    if (!o.yardstickPath.empty()) {
        yardstick = load(o.yardstickPath, error);
        if (!yardstick) return fail("yardstick: " + error);
        for (const std::string& assignment : o.yardstickParameters)
            if (!applyIndexedParameter(*yardstick, assignment, error))
                return fail("yardstick: " + error);
    }
    BenchSettings settings;
    settings.sampleRateHz = o.benchRateHz;
    settings.seconds = o.benchSeconds;
    settings.rounds = o.benchRounds;
    settings.blockSize = o.blockSize;
    runBench(*plugin, yardstick.get(), settings, std::cout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const ParsedCommandLine parsed = parseCommandLine(argc, argv, defaultPluginPath());
    if (!parsed.ok) {
        std::cerr << "qvl-render: " << parsed.error << '\n' << usageText();
        return kExitUsage;
    }
    const RenderOptions& o = parsed.options;
    switch (o.command) {
    case RenderCommand::help:
        std::cout << usageText();
        return 0;
    case RenderCommand::version:
        std::cout << "qvl-render " QVL_VERSION_TEXT "\n";
        return 0;
    case RenderCommand::info: {
        HostedPlugin plugin(o.pluginPath);
        if (!plugin.isLoaded()) return fail("cannot load the plug-in: " + plugin.error());
        std::string error;
        if (!configure(plugin, o, error)) return fail(error);
        std::cout << "Module:         " << o.pluginPath << '\n';
        printInfoReport(plugin, std::cout);
        return 0;
    }
    case RenderCommand::bench:
        return bench(o);
    case RenderCommand::render:
        break;
    }
    return render(o);
}
