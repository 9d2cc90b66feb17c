// qvl-render with the LV2 edition, by bundle path and by URI, beside the VST2 module: the two
// editions render the same file to the same samples, and --info reads the LV2 description.
#include "ProductIdentity.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace rendertest;

const std::string kBundle = std::string(QVL_LV2_FOLDER) + "/qvl-feedback-compressor.lv2";
const std::string kUri = kLv2Uri;

class Lv2QvlRender : public testing::Test {
  protected:
    void SetUp() override {
        setenv("LV2_PATH", QVL_LV2_FOLDER ":/usr/lib/lv2", 1);
        ASSERT_TRUE(writeFile(dir.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 30000));
    }
    TempDirectory dir;
};

TEST_F(Lv2QvlRender, BothEditionsRenderAFileToTheSameSamples) {
    // Programs are exact in both editions.
    const std::string settings = " --program 3 --block 333 ";
    const RunResult vst2 = run(dir.path, "in.wav -o vst2.wav --single" + settings);
    ASSERT_EQ(vst2.exitCode, 0) << vst2.output;
    const RunResult byPath = run(dir.path, "in.wav -o bundle.wav --plugin " + kBundle + settings);
    ASSERT_EQ(byPath.exitCode, 0) << byPath.output;
    const RunResult byUri = run(dir.path, "in.wav -o uri.wav --plugin " + kUri + settings);
    ASSERT_EQ(byUri.exitCode, 0) << byUri.output;
    EXPECT_TRUE(contains(byPath.output, "latency 151 frames, compensated")) << byPath.output;

    const SoundFile reference = readFile(dir.file("vst2.wav"));
    ASSERT_EQ(reference.info.frames, 30000);
    for (const char* name : {"bundle.wav", "uri.wav"}) {
        const SoundFile lv2 = readFile(dir.file(name));
        EXPECT_EQ(lv2.doubles, reference.doubles) << name;
    }
    // The summary's gain reduction comes from the LV2 meter output as from the VST2 readout.
    const auto reduction = [](const std::string& out) {
        return out.substr(out.find("Maximum gain reduction"));
    };
    EXPECT_EQ(reduction(byPath.output), reduction(vst2.output));
}

TEST_F(Lv2QvlRender, InfoReadsTheDescriptionAndRefusesWhatIsNotThere) {
    const RunResult info = run(dir.path, "--info --plugin " + kBundle + " --program Leveller");
    ASSERT_EQ(info.exitCode, 0) << info.output;
    for (const char* part :
         {"Name:           QVL Feedback Compressor", "Compressor Plugin",
          "Latency:        151 samples", "Presets (7):", "6  Leveller", "threshold",
          "-50 .. 0 dB, value -35", "0=\"Peak\" 1=\"RMS\" 2=\"Dyn RMS\""})
        EXPECT_TRUE(contains(info.output, part)) << part << "\n" << info.output;

    const RunResult badPreset = run(dir.path, "--info --plugin " + kUri + " --program Nothing");
    EXPECT_EQ(badPreset.exitCode, 1);
    EXPECT_TRUE(contains(badPreset.output, "Mastering: Tight")) << badPreset.output;
    const RunResult outside = run(dir.path, "--info --plugin " + kUri + " --param Knee=40dB");
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_TRUE(contains(outside.output, "out of range, 0 dB to 20 dB")) << outside.output;
    const RunResult missing = run(dir.path, "--info --plugin urn:no-such-plugin");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(contains(missing.output, "cannot load the LV2 plug-in")) << missing.output;
}

// A value means what a user reads in both editions: "Make Up Gain=0" is 0 dB (the VST 2 edition
// once took it as the normalized 0, -60 dB), named positions are those --info shows, and
// norm: spells the normalized value. The same texts render to the same samples.
TEST_F(Lv2QvlRender, TheSameParameterTextsRenderTheSameInBothEditions) {
    const std::string settings[] = {
        " --program 3 --param \"Make Up Gain=0\" --param Ratio=4:1 --param Detection=Peak "
        "--param \"SC Filter Type=3dB HP\" --param Threshold=-30dB --param \"Dry Mix=Out\"",
        " --program 3 --param Bypass=on",
        " --program 3 --param Threshold=norm:0.5 --param \"make up gain=norm:0.5\"",
        " --program 3 --param Threshold=-25 --param \"make_up_gain=0 dB\"",
    };
    std::vector<double> outputs[std::size(settings)];
    for (std::size_t i = 0; i < std::size(settings); ++i) {
        SCOPED_TRACE(settings[i]);
        const RunResult vst2 =
            run(dir.path, "in.wav -o vst2.wav --overwrite --single" + settings[i]);
        ASSERT_EQ(vst2.exitCode, 0) << vst2.output;
        const RunResult lv2 =
            run(dir.path, "in.wav -o lv2.wav --overwrite --plugin " + kUri + settings[i]);
        ASSERT_EQ(lv2.exitCode, 0) << lv2.output;
        outputs[i] = readFile(dir.file("vst2.wav")).doubles;
        ASSERT_EQ(outputs[i].size(), 60000u);
        EXPECT_EQ(readFile(dir.file("lv2.wav")).doubles, outputs[i]);
    }
    EXPECT_EQ(outputs[1], readFile(dir.file("in.wav")).doubles) << "Bypass=on passes the input";
    EXPECT_EQ(outputs[2], outputs[3]) << "norm:0.5 is -25 dB and 0 dB";
    EXPECT_NE(outputs[0], outputs[3]);

    for (const std::string& plugin : {std::string(), " --plugin " + kUri}) {
        const RunResult between = run(dir.path, "in.wav -o x.wav --param Ratio=6:1" + plugin);
        EXPECT_EQ(between.exitCode, 1);
        EXPECT_TRUE(
            contains(between.output, "Ratio: \"6:1\" lies between the settings 4:1 and 8:1"))
            << between.output;
        EXPECT_FALSE(exists(dir.file("x.wav")));
    }
}

} // namespace
