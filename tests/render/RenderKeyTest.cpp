// qvl-render --sidechain through every edition that has a key input: the key ducks the input
// with SC Source at External, a mono key file sounds as the same key in two channels, and a key
// shorter than the input ends in silence.
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace rendertest;

struct KeyedEdition {
    const char* label;
    std::string target;
};

std::vector<KeyedEdition> keyedEditions() {
    std::vector<KeyedEdition> editions;
#ifdef QVL_VST3_BUNDLE
    editions.push_back({"Vst3", QVL_VST3_BUNDLE});
#endif
#ifdef QVL_CLAP_MODULE_PATH
    editions.push_back({"Clap", QVL_CLAP_MODULE_PATH});
#endif
#ifdef QVL_LV2_FOLDER
    editions.push_back({"Lv2", std::string(QVL_LV2_FOLDER) + "/qvl-feedback-compressor.lv2"});
#endif
    return editions;
}

constexpr int kFrames = 44100;

// Bursts of a 1 kHz tone, a tenth of a second on and off, in `channels` equal channels, for
// the first `keyed` frames and silence after them.
bool writeKey(const std::string& path, int channels, int frames, int keyed) {
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    std::vector<double> data(static_cast<std::size_t>(frames * channels));
    for (int n = 0; n < keyed; ++n)
        for (int c = 0; c < channels; ++c)
            data[static_cast<std::size_t>(n * channels + c)] =
                (n / 4410) % 2 == 1 ? 0.8 * std::sin(2.0 * 3.141592653589793 * 1000.0 * n / 44100.0)
                                    : 0.0;
    const bool ok = sf_writef_double(file, data.data(), frames) == frames;
    sf_close(file);
    return ok;
}

class RenderKey : public testing::TestWithParam<KeyedEdition> {
  protected:
    void SetUp() override {
        // Our bundle alone: a copy installed on the system may be of another version.
#ifdef QVL_LV2_FOLDER
        setenv("LV2_PATH", QVL_LV2_FOLDER, 1);
#endif
        ASSERT_TRUE(writeFile(dir.file("in.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, kFrames));
        ASSERT_TRUE(writeKey(dir.file("mono.wav"), 1, kFrames, kFrames));
        ASSERT_TRUE(writeKey(dir.file("stereo.wav"), 2, kFrames, kFrames));
        ASSERT_TRUE(writeKey(dir.file("short.wav"), 1, kFrames / 2, kFrames / 2));
        ASSERT_TRUE(writeKey(dir.file("padded.wav"), 1, kFrames, kFrames / 2));
    }
    // Renders in.wav with the key (none for an empty name) into `output`.
    std::vector<double> render(const std::string& key, const std::string& output) {
        const std::string settings = " --param \"SC Source=External\" --param Threshold=-30dB "
                                     "--param Ratio=8:1 --float --block 333";
        const RunResult r =
            run(dir.path, "in.wav -o " + output + " --plugin '" + GetParam().target + "'" +
                              settings + (key.empty() ? "" : " --sidechain " + key));
        EXPECT_EQ(r.exitCode, 0) << r.output;
        const SoundFile file = readFile(dir.file(output));
        EXPECT_EQ(file.info.frames, kFrames) << output;
        return file.doubles;
    }
    TempDirectory dir;
};

TEST_P(RenderKey, AMonoOrStereoKeyDucksTheInputAndAShortKeyEndsInSilence) {
    const std::vector<double> unkeyed = render("", "unkeyed.wav");
    const std::vector<double> mono = render("mono.wav", "mono-out.wav");
    EXPECT_NE(mono, unkeyed) << "the key is heard";
    EXPECT_EQ(render("stereo.wav", "stereo-out.wav"), mono);
    EXPECT_EQ(render("short.wav", "short-out.wav"), render("padded.wav", "padded-out.wav"));
}

std::string editionLabel(const testing::TestParamInfo<KeyedEdition>& edition) {
    return edition.param.label;
}

INSTANTIATE_TEST_SUITE_P(Editions, RenderKey, testing::ValuesIn(keyedEditions()), editionLabel);

} // namespace
