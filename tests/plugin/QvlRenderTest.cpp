// qvl-render --info run as a program: what it prints for the built plug-in and how it fails.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct RunResult {
    int exitCode;
    std::string output; // standard output and standard error together
};

RunResult runProgram(const std::string& program, const std::string& arguments) {
    const std::string command = program + " " + arguments + " 2>&1";
    RunResult result{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        result.output += buffer;
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

RunResult run(const std::string& arguments) {
    return runProgram(QVL_RENDER_PATH, arguments);
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(QvlRenderInfo, ReportsIdentityLatencyParametersAndPrograms) {
    const RunResult result = run("--info");
    ASSERT_EQ(result.exitCode, 0) << result.output;
    for (const char* line :
         {"QVL Feedback Compressor", "Velmorinth Labs", "sKbd (0x734b6264)", "Vendor version: 1000",
          "mastering (4)", "Input Left (1), Input Right (2)", "0 samples before resume, 151 after",
          "Parameters (21)", "HF Harmonics Amount", "\" 90 Hz\"", "\"RMS  10\"", "Programs (7)",
          "* 0  Downward Comp. Reset", "6  Leveller"})
        EXPECT_TRUE(contains(result.output, line)) << "missing: " << line << "\n" << result.output;
}

TEST(QvlRenderInfo, ExplicitPluginPath) {
    const RunResult result = run(std::string("--info --plugin ") + QVL_MODULE_PATH);
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_TRUE(contains(result.output, "Mastering: Aggressive"));
    // The report says which file it describes.
    EXPECT_TRUE(contains(result.output, std::string("Module:         ") + QVL_MODULE_PATH + "\n"))
        << result.output;
}

// Installed (/usr, or the unpacked archive) the renderer lies in bin/ and the plug-in in
// lib/vst/: without --plugin it must take that one, not the build tree's.
TEST(QvlRenderInfo, InstalledRendererDefaultsToThePluginInstalledBesideIt) {
    namespace fs = std::filesystem;
    const fs::path root =
        fs::temp_directory_path() / ("qvl-render-installed-" + std::to_string(getpid()));
    fs::create_directories(root / "bin");
    fs::create_directories(root / "lib/vst");
    fs::copy_file(QVL_RENDER_PATH, root / "bin/qvl-render");
    const fs::path plugin = root / "lib/vst" / fs::path(QVL_MODULE_PATH).filename();
    fs::copy_file(QVL_MODULE_PATH, plugin);
    const RunResult result = runProgram((root / "bin/qvl-render").string(), "--info");
    fs::remove_all(root);
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_TRUE(contains(result.output, "Module:         " + plugin.string() + "\n"))
        << result.output;
}

TEST(QvlRenderInfo, UnloadablePluginFailsWithAMessage) {
    const RunResult result = run("--info --plugin /nonexistent/missing.so");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.output, "cannot find /nonexistent/missing.so")) << result.output;
}

TEST(QvlRenderInfo, ALibraryWithoutEntryIsRefused) {
    const RunResult result = run("--info --plugin /lib/x86_64-linux-gnu/libm.so.6");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.output,
                         "is no plug-in: it exports no plug-in entry (expected a VST "
                         "2.4 module file, a VST 3 bundle (.vst3), a CLAP module"))
        << result.output;
}

TEST(QvlRenderCommandLine, BadArgumentsGetOneLineAndAHint) {
    for (const char* arguments :
         {"--render", "--info --plugin", "--info --help", "--info in.wav"}) {
        const RunResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments;
        EXPECT_FALSE(contains(result.output, "usage: qvl-render")) << arguments;
        EXPECT_TRUE(contains(result.output, "qvl-render --help lists the options")) << arguments;
    }
    const RunResult help = run("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(contains(help.output, "--plugin PATH"));
}

TEST(QvlRenderCommandLine, VersionIsTheReleaseAndNamesThePlugin) {
    const RunResult version = run("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output.rfind("qvl-render 0.9.03 beta\nPlug-in:", 0), 0u) << version.output;
    EXPECT_TRUE(contains(version.output, "QVL Feedback Compressor, VST 2.4 edition"));
    EXPECT_EQ(run("--version --info").exitCode, 2);
}

} // namespace
