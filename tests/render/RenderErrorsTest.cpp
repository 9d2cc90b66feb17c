// qvl-render's failures: a clear message, a non-zero exit and no output file, not even a
// partial one under a temporary name.
#include "RenderTestSupport.h"

namespace {

using namespace rendertest;

struct ErrorCase {
    const char* arguments;
    int exitCode;
    const char* message;
};

TEST(RenderErrors, FailuresLeaveNoOutputBehind) {
    const ErrorCase cases[] = {
        {"missing.wav", 1, "cannot read missing.wav"},
        {"text.wav", 1, "cannot read text.wav"},
        {"three.wav", 1, "3 channels"},
        {"in.wav --program 7", 1, "programs 0 to 6"},
        {"in.wav --program 1.5", 1, "programs 0 to 6"},
        {"in.wav --program Loudest", 1, "Mastering: Aggressive"},
        {"in.wav --param Loudness=0.5", 1, "no parameter named \"Loudness\""},
        {"in.wav --param Threshold=1.5", 1, "out of range"},
        {"in.wav --param Threshold=-80dB", 1, "out of range"},
        {"in.wav --param Threshold=loud", 1, "cannot read the value"},
        {"in.wav --param Threshold=norm:2", 1, "out of range, norm:0 to norm:1"},
        {"in.wav --param Ratio=6:1", 1, "lies between the settings 4:1 and 8:1"},
        {"in.wav --param \"SC Filter Type=1.5\"", 1, "between the settings 3 dB/oct and 6 dB/oct"},
        {"in.wav --plugin /nonexistent/plugin.so", 1, "cannot find /nonexistent/plugin.so"},
        {". --program 3", 1, "cannot read .: it is a folder, not a sound file"},
        {"in.wav --plugin .", 1,
         ". is a folder, not a plug-in (expected a VST 2.4 module file, a VST 3 bundle (.vst3), "
         "a CLAP module (.clap), an LV2 bundle (.lv2) or an LV2 URI)"},
        {"in.wav --sidechain in.wav", 1,
         "the VST 2.4 edition of QVL Feedback Compressor has no sidechain (key) input"},
        {"in.wav --sidechain three.wav", 1, "three.wav has 3 channels"},
        {"in.wav --block 0", 2, "--block needs"},
        {"in.wav --param Threshold", 2, "NAME=VALUE"},
        {"in.wav other.wav", 2, "only one input file"},
        {"in.wav --yardstick x.so", 2, "--yardstick needs --bench"},
        {"in.wav --unknown", 2, "unknown option"},
    };
    for (const ErrorCase& c : cases) {
        TempDirectory dir;
        ASSERT_TRUE(writeFile(dir.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 1000));
        ASSERT_TRUE(writeFile(dir.file("three.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 3, 1000));
        FILE* text = std::fopen(dir.file("text.wav").c_str(), "w");
        std::fputs("not a sound file\n", text);
        std::fclose(text);

        const RunResult r = run(dir.path, std::string(c.arguments) + " -o out.wav");
        EXPECT_EQ(r.exitCode, c.exitCode) << c.arguments << "\n" << r.output;
        EXPECT_TRUE(contains(r.output, c.message)) << c.arguments << "\n" << r.output;
        EXPECT_EQ(filesIn(dir.path).size(), 3u) << c.arguments << ": something was written";
        EXPECT_FALSE(exists(dir.file("out.wav"))) << c.arguments;
    }
}

TEST(RenderErrors, AnUnwritableOutputFailsAndLeavesTheInputAlone) {
    TempDirectory dir;
    ASSERT_TRUE(writeFile(dir.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 1000));
    const RunResult r = run(dir.path, "in.wav -o /nonexistent/dir/out.wav");
    EXPECT_EQ(r.exitCode, 1) << r.output;
    EXPECT_TRUE(contains(r.output, "cannot create a file in /nonexistent/dir")) << r.output;
    EXPECT_EQ(filesIn(dir.path).size(), 1u);
}

TEST(RenderErrors, HelpNamesTheChoices) {
    TempDirectory dir;
    const RunResult r = run(dir.path, "--help");
    EXPECT_EQ(r.exitCode, 0);
    for (const char* part : {"--program N|NAME", "--param NAME=VALUE", "normalized",
                             "Threshold=-24dB", "Mono", "more than two channels are refused",
                             "--keep-latency", "--single", "--block N", "--yardstick PATH"})
        EXPECT_TRUE(contains(r.output, part)) << part;
}

} // namespace
