#include "AudioPlugin.h"
#include "Bench.h"
#include "CommandLine.h"
#include "DemoSignal.h"
#include "HostedLv2Plugin.h"
#include "HostedPlugin.h"
#include "InfoReport.h"
#include "Lv2InfoReport.h"
#include "Lv2Settings.h"
#include "OutputFormat.h"
#include "OutputRule.h"
#include "PluginSearch.h"
#include "PluginSettings.h"
#include "Render.h"

#include "ProductIdentity.h"

#include <iostream>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr double kDemoSeconds = 8.0;
constexpr int kDemoRateHz = 44100;
constexpr const char* kDemoInputFile = "demo-input.wav";
constexpr const char* kDemoOutputFile = "demo-processed.wav";
// A program that audibly works on the demo, chosen when the command line chooses none.
constexpr const char* kDemoProgram = "Mastering: Aggressive";

std::string joined(const std::vector<std::string>& places) {
    std::string text;
    for (const std::string& place : places)
        text += (text.empty() ? "" : ", ") + place;
    return text;
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
    const bool demo = o.inputPath.empty();
    const std::string inputPath = demo ? kDemoInputFile : o.inputPath;
    std::string outputPath = o.outputPath;
    if (demo) {
        if (outputPath.empty()) outputPath = kDemoOutputFile;
        // A second run of the demo replaces what the first wrote; a file of the user's under
        // one of its names is kept unless --overwrite is given.
        const bool ownInput = holdsDemoOutput(kDemoInputFile, kDemoRateHz, kDemoSeconds);
        const std::string refusal = refusalToWrite(kDemoInputFile, {}, o.overwrite || ownInput);
        if (!refusal.empty()) return fail(refusal);
        input = makeDemoSignal(kDemoRateHz, kDemoSeconds);
    } else {
        if (!readAudioFile(inputPath, input, error)) return fail(error);
        if (outputPath.empty()) outputPath = processedFileName(inputPath);
    }
    const bool ownOutput = demo && outputPath == kDemoOutputFile &&
                           holdsDemoOutput(outputPath, kDemoRateHz, kDemoSeconds);
    const std::string refusal = refusalToWrite(outputPath, inputPath, o.overwrite || ownOutput);
    if (!refusal.empty()) return fail(refusal);
    int outputFormat = 0;
    if (!chooseOutputFormat(outputPath, o.inputPath, input.format, input.channels,
                            input.sampleRateHz, o.floatSamples, outputFormat, error))
        return fail(error);
    const auto plugin = load(o.pluginPath, error);
    if (!plugin) return fail(error);
    const bool demoDefaults = demo && o.program.empty() && o.parameters.empty();
    const bool demoProgram = demoDefaults && selectProgramOrPreset(*plugin, kDemoProgram, error);
    if (!configure(*plugin, o, error)) return fail(error);
    if (demo) {
        if (!writeAudioFile(kDemoInputFile, input, error)) return fail(error);
        std::cout << "Wrote the demo signal to " << kDemoInputFile << '\n';
    }
    if (demoProgram) std::cout << "Demo with the program \"" << kDemoProgram << "\"\n";

    RenderSettings settings;
    settings.blockSize = o.blockSize;
    settings.singlePrecision = o.singlePrecision;
    settings.keepLatency = o.keepLatency;
    settings.showProgress = isatty(STDERR_FILENO) != 0;
    RenderResult result = renderAudio(*plugin->audio, input, settings);
    result.output.format = outputFormat;
    if (!writeAudioFile(outputPath, result.output, error)) return fail(error);
    std::cout << "Wrote " << outputPath << " (" << formatName(outputFormat) << ", latency "
              << result.latencyFrames << " frames, " << (o.keepLatency ? "kept" : "compensated")
              << ")\n";
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

// What --version says about the module a run would load.
void printPluginVersion(const std::string& target, const std::vector<std::string>& places) {
    std::cout << "Plug-in:    ";
    if (target.empty()) {
        std::cout << "none found at " << joined(places) << '\n';
        return;
    }
    if (isLv2Target(target)) {
        std::cout << target << " (LV2; --info shows its version)\n";
        return;
    }
    HostOptions options;
    options.recordCalls = false;
    HostedPlugin plugin(target, options);
    if (!plugin.isLoaded()) {
        std::cout << target << " does not load: " << plugin.error() << '\n';
        return;
    }
    std::cout << plugin.effectName() << " by " << plugin.vendorString() << ", vendor version "
              << plugin.vendorVersion() << " (" << target << ")\n";
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> places = pluginPlaces(thisRenderersPluginSearch());
    const ParsedCommandLine parsed = parseCommandLine(argc, argv, firstReadableFile(places));
    if (!parsed.ok) {
        std::cerr << "qvl-render: " << parsed.error << "\nqvl-render --help lists the options\n";
        return kExitUsage;
    }
    const RenderOptions& o = parsed.options;
    if (o.command == RenderCommand::help) {
        std::cout << usageText();
        return 0;
    }
    if (o.command == RenderCommand::version) {
        std::cout << "qvl-render " QVL_VERSION_TEXT "\n";
        printPluginVersion(o.pluginPath, places);
        return 0;
    }
    if (o.pluginPath.empty())
        return fail("no plug-in found at " + joined(places) + "; --plugin PATH names one");
    switch (o.command) {
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
    case RenderCommand::help:
    case RenderCommand::version:
        break;
    }
    return render(o);
}
