// Sound files through qvl-render and the built plug-in: latency compensation, formats,
// program and parameter selection, the demo.
#include "RenderTestSupport.h"

namespace {

using namespace rendertest;

constexpr int kFrames = 20000;
constexpr int kLatency = 151;

struct FormatCase {
    const char* name;
    int format;
    const char* extraArguments;
};

// With Bypass on the plug-in hands back its input delayed by its latency; compensated, the
// file that comes out is the file that went in, sample for sample.
TEST(RenderFiles, BypassGivesTheInputBackUnchanged) {
    const FormatCase cases[] = {
        {"24-bit WAV", SF_FORMAT_WAV | SF_FORMAT_PCM_24, ""},
        {"16-bit WAV, odd blocks", SF_FORMAT_WAV | SF_FORMAT_PCM_16, "--block 37"},
        {"float WAV", SF_FORMAT_WAV | SF_FORMAT_FLOAT, ""},
        {"float WAV in single precision", SF_FORMAT_WAV | SF_FORMAT_FLOAT, "--single --block 1000"},
        {"24-bit FLAC", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, ""},
        {"24-bit AIFF", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, ""},
    };
    for (const FormatCase& c : cases) {
        TempDirectory dir;
        const bool flac = (c.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_FLAC;
        const bool aiff = (c.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_AIFF;
        const std::string input = flac ? "in.flac" : aiff ? "in.aiff" : "in.wav";
        ASSERT_TRUE(writeFile(dir.file(input), c.format, 2, kFrames)) << c.name;
        const RunResult r = run(dir.path, input + " -o out --param Bypass=1 " + c.extraArguments);
        ASSERT_EQ(r.exitCode, 0) << c.name << "\n" << r.output;
        const SoundFile in = readFile(dir.file(input)), out = readFile(dir.file("out"));
        EXPECT_EQ(out.info.format, c.format) << c.name;
        EXPECT_EQ(out.info.samplerate, 44100) << c.name;
        EXPECT_EQ(out.info.channels, 2) << c.name;
        EXPECT_EQ(out.info.frames, kFrames) << c.name;
        EXPECT_EQ(out.ints, in.ints) << c.name;
        EXPECT_EQ(out.doubles, in.doubles) << c.name;
    }
}

TEST(RenderFiles, KeptLatencyDelaysByWhatThePluginReports) {
    TempDirectory dir;
    ASSERT_TRUE(writeFile(dir.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, kFrames));
    const RunResult r = run(dir.path, "in.wav --param Bypass=1 --keep-latency");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(contains(r.output, "latency 151 frames, kept")) << r.output;
    const SoundFile in = readFile(dir.file("in.wav")), out = readFile(dir.file("in-processed.wav"));
    ASSERT_EQ(out.info.frames, kFrames + kLatency);
    for (int i = 0; i < 2 * kLatency; ++i)
        ASSERT_EQ(out.doubles[static_cast<std::size_t>(i)], 0.0) << i;
    for (std::size_t i = 0; i < in.doubles.size(); ++i)
        ASSERT_EQ(out.doubles[i + 2 * kLatency], in.doubles[i]) << i;
}

// Mono goes to both inputs and comes back from the left output.
TEST(RenderFiles, MonoStaysMono) {
    TempDirectory dir;
    ASSERT_TRUE(writeFile(dir.file("mono.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1, kFrames));
    const RunResult r = run(dir.path, "mono.wav --param bypass=1");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const SoundFile in = readFile(dir.file("mono.wav")),
                    out = readFile(dir.file("mono-processed.wav"));
    EXPECT_EQ(out.info.channels, 1);
    EXPECT_EQ(out.ints, in.ints);
}

// Compression runs the same in either precision, to within single-precision rounding.
TEST(RenderFiles, CompressedOutputAgreesAcrossPrecisionsAndBlockSizes) {
    TempDirectory dir;
    ASSERT_TRUE(writeFile(dir.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, kFrames));
    ASSERT_EQ(run(dir.path, "in.wav -o a.wav --program 3").exitCode, 0);
    ASSERT_EQ(run(dir.path, "in.wav -o b.wav --program 3 --single --block 100").exitCode, 0);
    const SoundFile in = readFile(dir.file("in.wav")), a = readFile(dir.file("a.wav")),
                    b = readFile(dir.file("b.wav"));
    ASSERT_EQ(a.doubles.size(), b.doubles.size());
    double difference = 0.0, change = 0.0;
    for (std::size_t i = 0; i < a.doubles.size(); ++i) {
        difference = std::fmax(difference, std::fabs(a.doubles[i] - b.doubles[i]));
        change = std::fmax(change, std::fabs(a.doubles[i] - in.doubles[i]));
    }
    EXPECT_LT(difference, 1e-5);
    EXPECT_GT(change, 0.05) << "the program compresses and adds make-up gain";
}

TEST(RenderFiles, ProgramsByNameAndByNumberAreTheSame) {
    TempDirectory dir;
    ASSERT_TRUE(writeFile(dir.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, kFrames));
    ASSERT_EQ(run(dir.path, "in.wav -o number.wav --program 6").exitCode, 0);
    ASSERT_EQ(run(dir.path, "in.wav -o name.wav --program leveller").exitCode, 0);
    ASSERT_EQ(run(dir.path, "in.wav -o quoted.wav --program 'Mastering: Tight'").exitCode, 0);
    ASSERT_EQ(run(dir.path, "in.wav -o three.wav --program 3").exitCode, 0);
    EXPECT_EQ(readFile(dir.file("name.wav")).doubles, readFile(dir.file("number.wav")).doubles);
    EXPECT_EQ(readFile(dir.file("quoted.wav")).doubles, readFile(dir.file("three.wav")).doubles);
    EXPECT_NE(readFile(dir.file("name.wav")).doubles, readFile(dir.file("three.wav")).doubles);
}

// A value in its unit goes through the exact inverse of the control's curve: -24.5 dB and 2:1
// are the normalized 0.49 and 0.4, and the renders match bit for bit.
TEST(RenderFiles, ParameterValuesInTheirUnitsMatchNormalizedOnes) {
    TempDirectory dir;
    ASSERT_TRUE(writeFile(dir.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, kFrames));
    ASSERT_EQ(
        run(dir.path, "in.wav -o unit.wav --program 3 --param threshold=-24.5dB --param RATIO=2:1")
            .exitCode,
        0);
    ASSERT_EQ(
        run(dir.path,
            "in.wav -o plain.wav --program 3 --param Threshold=norm:0.49 --param Ratio=norm:0.4")
            .exitCode,
        0);
    const SoundFile a = readFile(dir.file("unit.wav")), b = readFile(dir.file("plain.wav"));
    ASSERT_EQ(a.doubles.size(), static_cast<std::size_t>(2 * kFrames));
    EXPECT_EQ(a.doubles, b.doubles);
}

TEST(RenderFiles, WithoutInputTheDemoIsWrittenAndRendered) {
    TempDirectory dir;
    const RunResult r = run(dir.path, "");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(contains(r.output, "Maximum gain reduction")) << r.output;
    const SoundFile in = readFile(dir.file("demo-input.wav")),
                    out = readFile(dir.file("demo-processed.wav"));
    EXPECT_EQ(in.info.channels, 2);
    EXPECT_EQ(in.info.samplerate, 44100);
    EXPECT_GE(in.info.frames, 3 * 44100);
    EXPECT_EQ(out.info.frames, in.info.frames);
    double peakIn = 0.0, changed = 0.0;
    for (std::size_t i = 0; i < in.doubles.size(); ++i) {
        peakIn = std::fmax(peakIn, std::fabs(in.doubles[i]));
        changed = std::fmax(changed, std::fabs(out.doubles[i] - in.doubles[i]));
    }
    // The demo peaks at -5 dBFS, which leaves room for its program's make-up gain.
    EXPECT_NEAR(peakIn, std::pow(10.0, -5.0 / 20.0), 0.01);
    double peakOut = 0.0;
    for (const double x : out.doubles)
        peakOut = std::fmax(peakOut, std::fabs(x));
    EXPECT_LT(peakOut, 1.0);
    EXPECT_FALSE(contains(r.output, "0 dBFS.")) << r.output;
    EXPECT_GT(changed, 0.05);
    // The demo is generated from a fixed seed: a second run writes the same input.
    const RunResult again = run(dir.path, "-o second.wav");
    ASSERT_EQ(again.exitCode, 0) << again.output;
    EXPECT_EQ(readFile(dir.file("demo-input.wav")).doubles, in.doubles);
    EXPECT_EQ(readFile(dir.file("second.wav")).doubles, out.doubles);
}

} // namespace
