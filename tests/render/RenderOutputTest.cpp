// What qvl-render does to files that exist already, and how an output's name chooses its
// format: the user's files are never lost by accident.
#include "RenderTestSupport.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace rendertest;

std::string bytesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

constexpr int kFrames = 20000;
constexpr int kInput24 = SF_FORMAT_WAV | SF_FORMAT_PCM_24;

TEST(RenderOutputFiles, TheInputUnderAnyNameIsKeptUnlessOverwriteIsGiven) {
    struct Case {
        std::string arguments;
        const char* output; // the file that --overwrite replaces
    };
    TempDirectory dir;
    const std::string folder = std::filesystem::path(dir.path).filename().string();
    const Case cases[] = {{"in.wav -o in.wav", "in.wav"},
                          {"in.wav -o ./in.wav", "in.wav"},
                          {"in.wav -o ../" + folder + "/in.wav", "in.wav"},
                          {"in.wav -o " + dir.file("in.wav"), "in.wav"},
                          {"in.wav -o hard.wav", "hard.wav"},
                          {"in.wav -o soft.wav", "in.wav"},
                          {"soft.wav -o in.wav", "in.wav"},
                          // The default output name, taken by a link to the input.
                          {"in.wav", "in.wav"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        for (const std::string& name : filesIn(dir.path))
            std::remove(dir.file(name).c_str());
        ASSERT_TRUE(writeFile(dir.file("in.wav"), kInput24, 2, kFrames));
        ASSERT_EQ(link(dir.file("in.wav").c_str(), dir.file("hard.wav").c_str()), 0);
        ASSERT_EQ(symlink("in.wav", dir.file("soft.wav").c_str()), 0);
        ASSERT_EQ(symlink("in.wav", dir.file("in-processed.wav").c_str()), 0);
        const std::string before = bytesOf(dir.file("in.wav"));
        const std::string arguments = c.arguments + " --program 4";

        const RunResult refused = run(dir.path, arguments);
        EXPECT_EQ(refused.exitCode, 1) << refused.output;
        EXPECT_TRUE(contains(refused.output, "it is the input file")) << refused.output;
        EXPECT_TRUE(contains(refused.output, "--overwrite replaces it")) << refused.output;
        EXPECT_EQ(bytesOf(dir.file("in.wav")), before);
        EXPECT_EQ(filesIn(dir.path).size(), 4u);

        const RunResult replaced = run(dir.path, arguments + " --overwrite");
        EXPECT_EQ(replaced.exitCode, 0) << replaced.output;
        EXPECT_NE(bytesOf(dir.file(c.output)), before);
        // A link named as the output stays a link; the file it names is replaced.
        EXPECT_TRUE(std::filesystem::is_symlink(dir.file("soft.wav")));
        EXPECT_EQ(filesIn(dir.path).size(), 4u);
    }
}

TEST(RenderOutputFiles, AnExistingOutputIsReplacedOnlyWhenAskedAndKeepsItsPermissions) {
    TempDirectory dir;
    ASSERT_TRUE(writeFile(dir.file("in.wav"), kInput24, 2, kFrames));
    ASSERT_TRUE(writeFile(dir.file("out.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 100));
    ASSERT_EQ(chmod(dir.file("out.wav").c_str(), 0640), 0);
    const std::string before = bytesOf(dir.file("out.wav"));

    const RunResult refused = run(dir.path, "in.wav -o out.wav");
    EXPECT_EQ(refused.exitCode, 1) << refused.output;
    EXPECT_TRUE(contains(refused.output, "out.wav: the file exists; --overwrite replaces it"))
        << refused.output;
    EXPECT_EQ(bytesOf(dir.file("out.wav")), before);

    const RunResult replaced = run(dir.path, "in.wav -o out.wav --overwrite");
    ASSERT_EQ(replaced.exitCode, 0) << replaced.output;
    EXPECT_EQ(readFile(dir.file("out.wav")).info.frames, kFrames);
    struct stat s;
    ASSERT_EQ(stat(dir.file("out.wav").c_str(), &s), 0);
    EXPECT_EQ(s.st_mode & 0777, 0640u);
    EXPECT_EQ(filesIn(dir.path).size(), 2u);
}

// The quick start runs the demo: a second run in the same folder must work, and a file of
// the user's that happens to have a demo file's name must survive it.
TEST(RenderOutputFiles, TheDemoReplacesItsOwnFilesOnly) {
    TempDirectory dir;
    ASSERT_EQ(run(dir.path, "").exitCode, 0);
    const RunResult again = run(dir.path, "");
    EXPECT_EQ(again.exitCode, 0) << again.output;

    for (const char* name : {"demo-input.wav", "demo-processed.wav"}) {
        SCOPED_TRACE(name);
        TempDirectory other;
        ASSERT_TRUE(writeFile(other.file(name), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, kFrames));
        const std::string mine = bytesOf(other.file(name));
        const RunResult refused = run(other.path, "");
        EXPECT_EQ(refused.exitCode, 1) << refused.output;
        EXPECT_TRUE(contains(refused.output, "--overwrite")) << refused.output;
        EXPECT_EQ(bytesOf(other.file(name)), mine);
        EXPECT_EQ(filesIn(other.path).size(), 1u);
        EXPECT_EQ(run(other.path, "--overwrite").exitCode, 0);
        EXPECT_EQ(readFile(other.file(name)).info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    }
}

TEST(RenderOutputFormats, TheExtensionChoosesContainerAndEncoding) {
    struct Case {
        int input;
        const char* output;
        int expected;
        bool lossless; // in Bypass the samples come back as they went in
    };
    const Case cases[] = {
        {kInput24, "out.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, true},
        {SF_FORMAT_WAV | SF_FORMAT_PCM_16, "out.aif", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, true},
        {SF_FORMAT_WAV | SF_FORMAT_PCM_16, "OUT.FLAC", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, true},
        // FLAC holds neither 32-bit integers nor float: the nearest is 24 bits.
        {SF_FORMAT_WAV | SF_FORMAT_PCM_32, "out.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, false},
        {SF_FORMAT_WAV | SF_FORMAT_FLOAT, "out.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, false},
        {SF_FORMAT_FLAC | SF_FORMAT_PCM_16, "out.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, true},
        {kInput24, "out.caf", SF_FORMAT_CAF | SF_FORMAT_PCM_24, true},
        {kInput24, "out.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        TempDirectory dir;
        const std::string input =
            (c.input & SF_FORMAT_TYPEMASK) == SF_FORMAT_FLAC ? "in.flac" : "in.wav";
        ASSERT_TRUE(writeFile(dir.file(input), c.input, 2, kFrames));
        const RunResult r = run(dir.path, input + " --param Bypass=1 -o " + c.output);
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const SoundFile in = readFile(dir.file(input)), out = readFile(dir.file(c.output));
        EXPECT_EQ(out.info.format, c.expected);
        EXPECT_EQ(out.info.frames, kFrames);
        if (c.lossless) {
            EXPECT_EQ(out.ints, in.ints);
        }
    }
}

TEST(RenderOutputFormats, FloatIsWrittenOnRequestWhereTheContainerHoldsIt) {
    TempDirectory dir;
    ASSERT_TRUE(writeFile(dir.file("in.wav"), kInput24, 2, kFrames));
    ASSERT_EQ(run(dir.path, "in.wav --float -o out.wav").exitCode, 0);
    EXPECT_EQ(readFile(dir.file("out.wav")).info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    const RunResult r = run(dir.path, "in.wav --float -o out.flac");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(contains(r.output, "cannot write float samples in .flac files")) << r.output;
    EXPECT_FALSE(exists(dir.file("out.flac")));
}

TEST(RenderOutputFormats, AnUnknownExtensionIsRefusedWithTheWritableOnes) {
    TempDirectory dir;
    ASSERT_TRUE(writeFile(dir.file("in.wav"), kInput24, 2, kFrames));
    const RunResult r = run(dir.path, "in.wav -o out.xyz");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(contains(r.output, "cannot write .xyz files")) << r.output;
    for (const char* extension : {"aiff", "caf", "flac", "ogg", "w64", "wav"})
        EXPECT_TRUE(contains(r.output, extension)) << extension;
    EXPECT_EQ(filesIn(dir.path).size(), 1u);
}

// A loud file through the program with the most make-up gain: the float render shows how far
// the peak goes past 0 dBFS, and the advice names that excess, rounded up to 0.1 dB.
TEST(RenderOutputLevels, PeaksPastFullScaleAreNamedWithTheRemedy) {
    TempDirectory dir;
    ASSERT_TRUE(writeFile(dir.file("in.wav"), kInput24, 2, kFrames));
    const RunResult floating = run(dir.path, "in.wav --program 4 --float -o float.wav");
    ASSERT_EQ(floating.exitCode, 0) << floating.output;
    double peak = 0.0;
    for (const double x : readFile(dir.file("float.wav")).doubles)
        peak = std::fmax(peak, std::fabs(x));
    ASSERT_GT(peak, 1.0) << "the test input no longer drives the program past full scale";
    char excess[32];
    std::snprintf(excess, sizeof excess, "%.1f dB", std::ceil(200.0 * std::log10(peak)) / 10.0);

    EXPECT_TRUE(contains(floating.output, "The float file keeps those peaks")) << floating.output;
    EXPECT_TRUE(contains(floating.output, std::string("lower Make Up Gain by ") + excess))
        << floating.output;
    const RunResult integer = run(dir.path, "in.wav --program 4 -o int.wav");
    ASSERT_EQ(integer.exitCode, 0) << integer.output;
    EXPECT_TRUE(contains(integer.output, "is clipped in this file's format")) << integer.output;
    EXPECT_TRUE(contains(integer.output, std::string("Lower Make Up Gain by ") + excess))
        << integer.output;
    EXPECT_TRUE(contains(integer.output, "--float")) << integer.output;

    const RunResult quiet = run(dir.path, "in.wav --param Bypass=1 -o quiet.wav");
    ASSERT_EQ(quiet.exitCode, 0) << quiet.output;
    EXPECT_FALSE(contains(quiet.output, "Make Up Gain")) << quiet.output;
}

} // namespace
