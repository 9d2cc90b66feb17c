#include "AudioPlugin.h"
#include "Bench.h"
#include "CommandLine.h"
#include "DemoSignal.h"
#include "HostedLv2Plugin.h"
#include "HostedPlugin.h"
#include "InfoReport.h"
#include "Lv2InfoReport.h"
#include "Lv2Settings.h"
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

// A plug-in of either edition: a VST 2.4 module or an LV2 plug-in loaded through lilv.
struct LoadedPlugin {
    std::unique_ptr<HostedPlugin> vst2;
    std::unique_ptr<HostedLv2Plugin> lv2;
    std::unique_ptr<AudioPlugin> audio;
};

// For rendering or timing a VST2 plug-in's messages to the host are not kept. An LV2 plug-in is
// instantiated again when processing asks for another rate.
std::unique_ptr<LoadedPlugin> load(const std::string& target, std::string& error) {
    auto loaded = std::make_unique<LoadedPlugin>();
    if (isLv2Target(target)) {
        loaded->lv2 = std::make_unique<HostedLv2Plugin>(target, 48000.0);
        if (!loaded->lv2->isLoaded()) {
            error = "cannot load the LV2 plug-in: " + loaded->lv2->error();
            return nullptr;
        }
        loaded->audio = wrapLv2(loaded->lv2, target);
        return loaded;
    }
    HostOptions options;
    options.recordCalls = false;
    loaded->vst2 = std::make_unique<HostedPlugin>(target, options);
    if (!loaded->vst2->isLoaded()) {
        error = "cannot load the plug-in: " + loaded->vst2->error();
        return nullptr;
    }
    loaded->audio = wrapVst2(*loaded->vst2);
    return loaded;
}

bool selectProgramOrPreset(LoadedPlugin& plugin, const std::string& text, std::string& error) {
    return plugin.lv2 ? selectPreset(*plugin.lv2, text, error)
                      : selectProgram(*plugin.vst2, text, error);
}

bool configure(LoadedPlugin& plugin, const RenderOptions& o, std::string& error) {
    if (!o.program.empty() && !selectProgramOrPreset(plugin, o.program, error)) return false;
    for (const std::string& assignment : o.parameters) {
        const bool applied = plugin.lv2 ? applyPortValue(*plugin.lv2, assignment, error)
                                        : applyParameter(*plugin.vst2, assignment, error);
        if (!applied) return false;
    }
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
    if (demoDefaults && selectProgramOrPreset(*plugin, kDemoProgram, error))
        std::cout << "Demo with the program \"" << kDemoProgram << "\"\n";
    if (!configure(*plugin, o, error)) return fail(error);

    RenderSettings settings;
    settings.blockSize = o.blockSize;
    settings.singlePrecision = o.singlePrecision;
    settings.keepLatency = o.keepLatency;
    settings.showProgress = isatty(STDERR_FILENO) != 0;
    const RenderResult result = renderAudio(*plugin->audio, input, settings);
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
    std::unique_ptr<LoadedPlugin> yardstick;
    if (!o.yardstickPath.empty()) {
        yardstick = load(o.yardstickPath, error);
        if (!yardstick) return fail("yardstick: " + error);
        for (const std::string& assignment : o.yardstickParameters) {
            const bool applied = yardstick->lv2
                                     ? applyPortValue(*yardstick->lv2, assignment, error)
                                     : applyIndexedParameter(*yardstick->vst2, assignment, error);
            if (!applied) return fail("yardstick: " + error);
        }
    }
    BenchSettings settings;
    settings.sampleRateHz = o.benchRateHz;
    settings.seconds = o.benchSeconds;
    settings.rounds = o.benchRounds;
    settings.blockSize = o.blockSize;
    runBench(*plugin->audio, yardstick ? yardstick->audio.get() : nullptr, settings, std::cout);
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
        std::string error;
        LoadedPlugin plugin;
        if (isLv2Target(o.pluginPath)) {
            plugin.lv2 = std::make_unique<HostedLv2Plugin>(o.pluginPath, 48000.0);
            if (!plugin.lv2->isLoaded())
                return fail("cannot load the LV2 plug-in: " + plugin.lv2->error());
        } else {
            plugin.vst2 = std::make_unique<HostedPlugin>(o.pluginPath);
            if (!plugin.vst2->isLoaded())
                return fail("cannot load the plug-in: " + plugin.vst2->error());
        }
        if (!configure(plugin, o, error)) return fail(error);
        std::cout << "Module:         " << o.pluginPath << '\n';
        if (plugin.lv2)
            printLv2InfoReport(*plugin.lv2, std::cout);
        else
            printInfoReport(*plugin.vst2, std::cout);
        return 0;
    }
    case RenderCommand::bench:
        return bench(o);
    case RenderCommand::render:
        break;
    }
    return render(o);
}
