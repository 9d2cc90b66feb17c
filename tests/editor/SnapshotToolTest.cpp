// qvl-snapshot: its options, and the picture's meters drawn from the readings it was given.

#include "EditorSnapshot.h"
#include "SnapshotOptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

ParsedSnapshotOptions parse(std::vector<const char*> args) {
    args.insert(args.begin(), "qvl-snapshot");
    return parseSnapshotOptions(int(args.size()), args.data());
}

CColor colourAt(const CBitmap& bitmap, int32_t x, int32_t y) {
    const uint32_t p = bitmap.pixelAt(x, y);
    return {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)};
}

} // namespace

TEST(SnapshotOptions, EveryOptionIsTakenInOrder) {
    const ParsedSnapshotOptions p = parse({"--program", "3", "--param", "Ratio=norm:0.9", "--param",
                                           "Ratio=2:1", "--gain-reduction", "4.5", "--level-a",
                                           "-12", "--level-b", "-20.5", "-o", "/tmp/x.png"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.program, 3);
    EXPECT_EQ(p.options.parameters, (std::vector<std::pair<int, float>>{{5, 0.9f}, {5, 0.4f}}));
    EXPECT_EQ(p.options.gainReductionDb, 4.5f);
    EXPECT_EQ(p.options.levelADb, -12.0f);
    EXPECT_EQ(p.options.levelBDb, -20.5f);
    EXPECT_EQ(p.options.outputPath, "/tmp/x.png");
    EXPECT_TRUE(parse({"--help"}).options.help);
}

// The same reading as qvl-render's: Threshold=2 once drew "-100 dB" with the knob past its end.
TEST(SnapshotOptions, ParameterValuesAreReadAsTheHostShowsThem) {
    const ParsedSnapshotOptions p =
        parse({"--param", "Threshold=-24dB", "--param", "Make Up Gain=0", "--param",
               "Detection=Peak", "--param", "bypass=on", "--param", "SC Filter Type=3dB HP"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.parameters, (std::vector<std::pair<int, float>>{
                                        {3, 0.48f}, {10, 0.5f}, {0, 0.0f}, {16, 1.0f}, {1, 0.5f}}));

    const ParsedSnapshotOptions outside = parse({"--param", "Threshold=2"});
    EXPECT_FALSE(outside.ok);
    EXPECT_NE(outside.error.find("out of range, -50 dB to 0 dB"), std::string::npos)
        << outside.error;
    const ParsedSnapshotOptions between = parse({"--param", "Ratio=6:1"});
    EXPECT_FALSE(between.ok);
    EXPECT_NE(between.error.find("between the settings 4:1 and 8:1"), std::string::npos)
        << between.error;
}

TEST(SnapshotOptions, BadInputIsRefusedWithAReason) {
    const std::vector<std::vector<const char*>> bad{{"--program", "7"},
                                                    {"--program", "-1"},
                                                    {"--program", "x"},
                                                    {"--param", "Ratio"},
                                                    {"--param", "Ratio=abc"},
                                                    {"--param", "Nope=1"},
                                                    {"--level-a", "inf"},
                                                    {"--gain-reduction", "nan"},
                                                    {"--output"},
                                                    {"--frobnicate", "1"},
                                                    {"--scale", "180"},
                                                    {"--scale", "2"},
                                                    {"--scale", "200x"},
                                                    {"--scale", "%"}};
    for (const auto& args : bad) {
        SCOPED_TRACE(args.front());
        const ParsedSnapshotOptions p = parse(args);
        EXPECT_FALSE(p.ok);
        EXPECT_FALSE(p.error.empty());
    }
}

TEST(SnapshotOptions, ErrorsNameTheFaultNotASymptom) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"--frobnicate", "1"}, "unknown option: --frobnicate"},
        {{"--frobnicate"}, "unknown option: --frobnicate"},
        {{"picture.png"}, "unexpected argument: picture.png"},
        {{"--scale"}, "--scale needs a value"},
        {{"--program", "7"}, "from 0 to 6"},
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(args.front());
        const ParsedSnapshotOptions p = parse(args);
        EXPECT_FALSE(p.ok);
        EXPECT_NE(p.error.find(message), std::string::npos) << p.error;
    }
}

// Readings the meters cannot show are refused rather than drawn past the meters' ends.
TEST(SnapshotOptions, MeterReadingsStayWithinTheMeters) {
    const std::pair<std::vector<const char*>, bool> cases[] = {
        {{"--level-a", "0"}, true},         {{"--level-a", "0.5"}, false},
        {{"--level-b", "-70"}, true},       {{"--level-b", "-70.5"}, false},
        {{"--gain-reduction", "0"}, true},  {{"--gain-reduction", "-1"}, false},
        {{"--gain-reduction", "40"}, true}, {{"--level-a", "-12", "--level-b", "3"}, false},
    };
    for (const auto& [args, accepted] : cases) {
        SCOPED_TRACE(std::string(args[0]) + " " + args[1]);
        EXPECT_EQ(parse(args).ok, accepted);
    }
}

TEST(SnapshotOptions, VersionAndOverwriteAreSwitches) {
    const ParsedSnapshotOptions p = parse({"--version", "--overwrite"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_TRUE(p.options.version);
    EXPECT_TRUE(p.options.overwrite);
}

TEST(SnapshotFile, AnExistingImageIsReplacedOnlyWhenAsked) {
    char folder[] = "/tmp/qvl-snapshot-test-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    SnapshotOptions o;
    o.outputPath = std::string(folder) + "/editor.png";
    {
        std::FILE* mine = std::fopen(o.outputPath.c_str(), "w");
        std::fputs("the user's own file", mine);
        std::fclose(mine);
    }
    const std::string refusal = writeEditorSnapshot(o);
    EXPECT_NE(refusal.find("--overwrite"), std::string::npos) << refusal;
    char kept[32] = {};
    std::FILE* file = std::fopen(o.outputPath.c_str(), "r");
    ASSERT_NE(std::fgets(kept, sizeof kept, file), nullptr);
    std::fclose(file);
    EXPECT_STREQ(kept, "the user's own file");

    o.overwrite = true;
    EXPECT_EQ(writeEditorSnapshot(o), "");
    file = std::fopen(o.outputPath.c_str(), "rb");
    unsigned char signature[8] = {};
    ASSERT_EQ(std::fread(signature, 1, 8, file), 8u);
    std::fclose(file);
    EXPECT_EQ(signature[1], 'P'); // a PNG now
    std::remove(o.outputPath.c_str());
    EXPECT_EQ(rmdir(folder), 0) << "a temporary file was left behind";
}

TEST(SnapshotPicture, TheScaleSetsThePicturesSize) {
    for (const char* scale : {"100", "125%", "175", "300"}) {
        const ParsedSnapshotOptions p = parse({"--scale", scale});
        ASSERT_TRUE(p.ok) << p.error;
        const SharedRef<CBitmap> picture = renderEditorSnapshot(p.options);
        ASSERT_TRUE(picture);
        const double factor = std::atoi(scale) / 100.0;
        EXPECT_EQ(picture->getWidth(), int32_t(std::lround(690 * factor))) << scale;
        EXPECT_EQ(picture->getHeight(), int32_t(std::lround(270 * factor))) << scale;
    }
}

TEST(SnapshotPicture, MetersShowTheGivenReadings) {
    SnapshotOptions o;
    o.gainReductionDb = 3.0f; // program 0 shows the 12 dB scale: 2 x 10 pixels per dB
    o.levelADb = -20.0f;      // 2 pixels per dB from the top: row 40 of the level meter
    o.levelBDb = -30.0f;      // row 60
    const SharedRef<CBitmap> picture = renderEditorSnapshot(o);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->getWidth(), 690);
    ASSERT_EQ(picture->getHeight(), 270);

    constexpr int32_t kMeterTop = 57;
    constexpr CColor kBar{0, 204, 255, 255};
    // Gain-reduction bar over rows 2 ... 61 (60 pixels), nothing below.
    EXPECT_EQ(colourAt(*picture, 559, kMeterTop + 2), kBar);
    EXPECT_EQ(colourAt(*picture, 559, kMeterTop + 61), kBar);
    EXPECT_EQ(colourAt(*picture, 559, kMeterTop + 62), kColorBlack);
    // Level meter: empty above row 40, the first level to row 60, the second below.
    EXPECT_EQ(colourAt(*picture, 514, kMeterTop + 39), kColorBlack);
    EXPECT_EQ(colourAt(*picture, 514, kMeterTop + 40), (CColor{149, 234, 255, 255}));
    EXPECT_EQ(colourAt(*picture, 514, kMeterTop + 59), (CColor{149, 234, 255, 255}));
    EXPECT_EQ(colourAt(*picture, 514, kMeterTop + 60), (CColor{51, 215, 255, 255}));
}

TEST(SnapshotPicture, ParametersChangeWhatIsShown) {
    SnapshotOptions plain;
    SnapshotOptions bypassed;
    bypassed.parameters.emplace_back(16, 1.0f);
    const SharedRef<CBitmap> a = renderEditorSnapshot(plain);
    const SharedRef<CBitmap> b = renderEditorSnapshot(bypassed);
    ASSERT_TRUE(a && b);
    const auto changesIn = [&](const CRect& r) {
        int n = 0;
        for (int32_t y = r.top; y < r.bottom; ++y)
            for (int32_t x = r.left; x < r.right; ++x)
                n += a->pixelAt(x, y) != b->pixelAt(x, y);
        return n;
    };
    const int changedInBypass = changesIn({540, 214, 595, 264});
    const int changedElsewhere = changesIn({118, 241, 169, 259}); // the attack readout
    EXPECT_GT(changedInBypass, 100);                              // the lit button
    EXPECT_GT(changedElsewhere, 0);                               // and a dimmed readout
}
