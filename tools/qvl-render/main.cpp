#include "AudioFile.h"
#include "Bench.h"
#include "CommandLine.h"
#include "DemoSignal.h"
#include "LoadedEdition.h"
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
// A program that audibly works on the demo, chosen when the command line chooses none, and
// the one suggested when a render changed nothing.
constexpr const char* kDemoProgram = "Mastering: Aggressive";

int fail(const std::string& message) {
    std::cerr << "qvl-render: " << message << '\n';
    return kExitFailure;
}

// "QVL Feedback Compressor, VST 3 edition (path)"
std::string loadedText(LoadedEdition& plugin, const std::string& target) {
    return plugin.name() + ", " + editionName(plugin.kind()) + " edition (" + target + ")";
}

bool configure(LoadedEdition& plugin, const RenderOptions& o, std::string& error) {
    if (!o.program.empty() && !selectProgram(plugin, o.program, error)) return false;
    for (const std::string& assignment : o.parameters)
        if (!applyParameter(plugin, assignment, error)) return false;
    return true;
}

// The key must arrive as the input does: at its rate, in one or two channels.
bool readKey(const std::string& path, int inputRateHz, AudioData& key, std::string& error) {
    if (!readAudioFile(path, key, error)) return false;
    if (key.sampleRateHz != inputRateHz) {
        error = "the sidechain file " + path + " is at " + std::to_string(key.sampleRateHz) +
                " Hz and the input at " + std::to_string(inputRateHz) +
                " Hz; the key must have the input's rate";
        return false;
    }
    return true;
}

// Why a render left the sound as it was, when the plug-in is ours and its settings do nothing.
void explainUnchangedOutput(LoadedEdition& plugin, std::ostream& out) {
    out << "The output is the input unchanged (they differ by less than -100 dB): ";
    if (!plugin.isOurs()) {
        out << "the plug-in's settings left the sound as it was.\n";
        return;
    }
    out << "with these settings the compressor does nothing (program 0, \""
        << plugin.programNames().front()
        << "\", holds Threshold at 0 dB). Choose a program, such as --program \"" << kDemoProgram
        << "\", or lower the threshold, such as --param Threshold=-20dB.\n";
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
    AudioData key;
    if (!o.keyPath.empty() && !readKey(o.keyPath, input.sampleRateHz, key, error))
        return fail(error);
    const auto plugin = loadEdition(o.pluginPath, error);
    if (!plugin) return fail(error);
    if (!plugin->connectKey(o.keyPath.empty() ? 0 : key.channels, error)) return fail(error);
    const bool demoDefaults = demo && o.program.empty() && o.parameters.empty();
    const bool demoProgram = demoDefaults && selectProgram(*plugin, kDemoProgram, error);
    if (!configure(*plugin, o, error)) return fail(error);
    if (demo) {
        if (!writeAudioFile(kDemoInputFile, input, error)) return fail(error);
        std::cout << "Wrote the demo signal to " << kDemoInputFile << '\n';
    }
    std::cout << "Plug-in: " << loadedText(*plugin, o.pluginPath) << '\n';
    if (demoProgram) std::cout << "Demo with the program \"" << kDemoProgram << "\"\n";

    RenderSettings settings;
    settings.blockSize = o.blockSize;
    settings.singlePrecision = o.singlePrecision;
    settings.keepLatency = o.keepLatency;
    settings.showProgress = isatty(STDERR_FILENO) != 0;
    settings.key = o.keyPath.empty() ? nullptr : &key;
    const RenderResult result = renderAudio(*plugin, input, outputFormat, settings);
    if (!writeAudioFile(outputPath, result.output, error)) return fail(error);
    std::cout << "Wrote " << outputPath << " (" << formatName(outputFormat) << ", latency "
              << result.latencyFrames << " frames, " << (o.keepLatency ? "kept" : "compensated")
              << ")\n";
    printSummary(input, result, std::cout);
    if (result.equalsInput) explainUnchangedOutput(*plugin, std::cout);
    return 0;
}

int bench(const RenderOptions& o) {
    std::string error;
    const auto plugin = loadEdition(o.pluginPath, error);
    if (!plugin || !configure(*plugin, o, error)) return fail(error);
    std::unique_ptr<LoadedEdition> yardstick;
    if (!o.yardstickPath.empty()) {
        yardstick = loadEdition(o.yardstickPath, error);
        if (!yardstick) return fail("yardstick: " + error);
        for (const std::string& assignment : o.yardstickParameters) {
            const bool applied = yardstick->kind() == EditionKind::lv2
                                     ? applyParameter(*yardstick, assignment, error)
                                     : applyIndexedParameter(*yardstick, assignment, error);
            if (!applied) return fail("yardstick: " + error);
        }
    }
    std::cout << "Plug-in:   " << loadedText(*plugin, o.pluginPath) << '\n';
    if (yardstick) std::cout << "Yardstick: " << loadedText(*yardstick, o.yardstickPath) << '\n';
    BenchSettings settings;
    settings.sampleRateHz = o.benchRateHz;
    settings.seconds = o.benchSeconds;
    settings.rounds = o.benchRounds;
    settings.blockSize = o.blockSize;
    runBench(*plugin, yardstick.get(), settings, std::cout);
    return 0;
}

int info(const RenderOptions& o) {
    std::string error;
    const auto plugin = loadEdition(o.pluginPath, error);
    if (!plugin || !configure(*plugin, o, error)) return fail(error);
    std::cout << "Module:         " << o.pluginPath << '\n'
              << "Edition:        " << editionName(plugin->kind()) << '\n';
    plugin->describe(std::cout);
    return 0;
}

// What --version says about the plug-in a run would load.
void printPluginVersion(const std::string& target, const std::vector<PluginPlace>& places) {
    std::cout << "Plug-in:    ";
    if (target.empty()) {
        std::cout << "none found: looked for " << placesLookedAt(places) << '\n';
        return;
    }
    std::string error;
    const auto plugin = loadEdition(target, error);
    if (!plugin) {
        std::cout << target << " does not load: " << error << '\n';
        return;
    }
    std::cout << loadedText(*plugin, target) << "; --info shows its version\n";
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<PluginPlace> places = pluginPlaces(thisRenderersPluginSearch());
    const ParsedCommandLine parsed = parseCommandLine(argc, argv, firstPluginFound(places));
    if (!parsed.ok) {
        std::cerr << "qvl-render: " << parsed.error << "\nqvl-render --help lists the options\n";
        return kExitUsage;
    }
    const RenderOptions& o = parsed.options;
    switch (o.command) {
    case RenderCommand::help:
        std::cout << usageText();
        return 0;
    case RenderCommand::version:
        std::cout << "qvl-render " QVL_VERSION_TEXT "\n";
        printPluginVersion(o.pluginPath, places);
        return 0;
    case RenderCommand::info:
    case RenderCommand::bench:
    case RenderCommand::render:
        break;
    }
    if (o.pluginPath.empty())
        return fail("no plug-in found: looked for " + placesLookedAt(places) +
                    "; --plugin PATH names one");
    if (o.command == RenderCommand::info) return info(o);
    if (o.command == RenderCommand::bench) return bench(o);
    return render(o);
}
