// The editor at display scales: who decides the scale, what happens with broken answers, the
// user's menu and its settings file, the host's request on an open editor, and that every
// control lands where the 100 % editor has it.
#include "EditorTestSupport.h"

#include "editor/EditorScale.h"
#include "views/CAnimKnob.h"
#include "views/CFrame.h"
#include "views/DeviceScale.h"
#include "views/FrameSnapshot.h"
#include "views/InputTypes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

ScaleSources sources(std::optional<int32_t> user, double host, std::vector<double> desktop) {
    ScaleSources s;
    s.userPercent = user;
    s.hostFactor = host;
    s.desktopFactors = std::move(desktop);
    return s;
}

TEST(ScaleChoice, TheFirstUsableSourceWinsAndTheNearestScaleIsUsed) {
    EXPECT_EQ(chooseEditorScale(sources(200, 1.5, {1.25})), 200);
    EXPECT_EQ(chooseEditorScale(sources(std::nullopt, 1.5, {1.25})), 150);
    EXPECT_EQ(chooseEditorScale(sources(std::nullopt, 0.0, {1.25, 2.0})), 125);
    EXPECT_EQ(chooseEditorScale(sources(std::nullopt, 0.0, {})), 100);
    // Hosts and desktops answer with factors between the sizes the editor has.
    EXPECT_EQ(chooseEditorScale(sources(std::nullopt, 1.1, {})), 100);
    EXPECT_EQ(chooseEditorScale(sources(std::nullopt, 1.3, {})), 125);
    EXPECT_EQ(chooseEditorScale(sources(std::nullopt, 144.0 / 96.0, {})), 150);
    EXPECT_EQ(chooseEditorScale(sources(std::nullopt, 168.0 / 96.0, {})), 175);
    EXPECT_EQ(chooseEditorScale(sources(std::nullopt, 2.4, {})), 250);
    EXPECT_EQ(chooseEditorScale(sources(std::nullopt, 3.9, {})), 300);
    EXPECT_EQ(chooseEditorScale(sources(std::nullopt, 0.75, {})), 100);
}

TEST(ScaleChoice, UnusableAnswersFallThroughToTheNextRuleOrToOneHundred) {
    for (double host : {0.0, -1.0, -2.0, kNaN, 50.0, std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(chooseEditorScale(sources(std::nullopt, host, {1.5})), 150) << host;
        EXPECT_EQ(chooseEditorScale(sources(std::nullopt, host, {})), 100) << host;
    }
    // Xft.dpi of 0 or 10000: the desktop's next setting (GDK_SCALE), else 100 %.
    EXPECT_EQ(chooseEditorScale(sources(std::nullopt, 0.0, {0.0 / 96.0, 2.0})), 200);
    EXPECT_EQ(chooseEditorScale(sources(std::nullopt, 0.0, {10000.0 / 96.0, 2.0})), 200);
    EXPECT_EQ(chooseEditorScale(sources(std::nullopt, 0.0, {10000.0 / 96.0})), 100);
    // A percentage that is no size of the editor is no choice of the user.
    EXPECT_EQ(chooseEditorScale(sources(180, 0.0, {2.0})), 200);
    EXPECT_EQ(chooseEditorScale(sources(-100, 0.0, {})), 100);
}

TEST(ScaleChoice, AutomaticLowersAScaleWhoseWindowWouldOverrunTheScreen) {
    const auto on = [](ScaleSources s, int32_t width, int32_t height) {
        s.screen = {0, 0, width, height};
        return chooseEditorScale(s);
    };
    // 300 % is 2070 x 810 pixels, 250 % 1725 x 675, 200 % 1380 x 540, 175 % 1208 x 473.
    EXPECT_EQ(on(sources(std::nullopt, 3.0, {}), 1920, 1080), 250);
    EXPECT_EQ(on(sources(std::nullopt, 0.0, {3.0}), 1920, 1080), 250);
    EXPECT_EQ(on(sources(std::nullopt, 2.0, {}), 1366, 768), 175);
    EXPECT_EQ(on(sources(std::nullopt, 2.0, {}), 3000, 500), 175);
    EXPECT_EQ(on(sources(std::nullopt, 2.0, {}), 1380, 540), 200); // an exact fit fits
    EXPECT_EQ(on(sources(std::nullopt, 3.0, {}), 2070, 810), 300);
    // Nothing fits a tiny screen: the smallest size is still an editor.
    EXPECT_EQ(on(sources(std::nullopt, 2.0, {}), 640, 480), 100);
    // The user's own choice stands even when it does not fit; an unknown screen limits nothing.
    EXPECT_EQ(on(sources(300, 2.0, {}), 1920, 1080), 300);
    EXPECT_EQ(on(sources(std::nullopt, 3.0, {}), 0, 0), 300);
}

TEST(ScaleSettingsFile, OnlyACompleteLineWithASupportedSizeIsAChoice) {
    EXPECT_EQ(parseScaleSetting("scale=200\n"), 200);
    EXPECT_EQ(parseScaleSetting("# editor\nscale=125\n"), 125);
    EXPECT_EQ(parseScaleSetting(formatScaleSetting(300)), 300);
    EXPECT_EQ(parseScaleSetting(formatScaleSetting(std::nullopt)), std::nullopt);
    // Truncated (no line end), nonsense, unsupported or absurd sizes: "Automatic".
    for (const char* text : {"", "scale=200", "scale=2", "scale=20\n", "scale=180\n",
                             "scale=-200\n", "scale=99999999999999999999\n", "scale=200x\n",
                             "scale=\n", "SCALE=200\n", "\x01\xff\xfe garbage\n"})
        EXPECT_EQ(parseScaleSetting(text), std::nullopt) << text;
}

class ScaleSettingsFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("qvl-scale-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        settings = (folder / "config" / "editor.conf").string();
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
    std::string settings;
};

TEST_F(ScaleSettingsFolder, WrittenChoiceReadsBackAndBrokenFilesReadAsAutomatic) {
    EXPECT_EQ(readScaleSetting(settings), std::nullopt); // missing
    ASSERT_TRUE(writeScaleSetting(settings, 250));       // the folder is made on the way
    EXPECT_EQ(readScaleSetting(settings), 250);
    ASSERT_TRUE(writeScaleSetting(settings, std::nullopt));
    EXPECT_EQ(readScaleSetting(settings), std::nullopt);

    std::ofstream(settings, std::ios::binary | std::ios::trunc) << "scale=1"; // cut short
    EXPECT_EQ(readScaleSetting(settings), std::nullopt);
    // A folder where the file should be: unreadable, and nothing can be written there.
    fs::remove(settings);
    fs::create_directories(settings);
    EXPECT_EQ(readScaleSetting(settings), std::nullopt);
    EXPECT_FALSE(writeScaleSetting(settings, 200));
    EXPECT_FALSE(writeScaleSetting("", 200));
}

// A window that records the sizes it is given.
class SizedFrameWindow : public FrameWindow {
  public:
    explicit SizedFrameWindow(std::vector<CRect>* sizes) : sizes_(sizes) {}
    void pumpEvents() override {}
    void present(const CBitmap&, const CRect&) override {}
    void resize(int32_t width, int32_t height) override {
        sizes_->push_back({0, 0, width, height});
    }

  private:
    std::vector<CRect>* sizes_;
};

class ResizingHost : public FakeEditorHost {
  public:
    bool resizeEditorWindow(int width, int height) override {
        hostSizes.push_back({0, 0, width, height});
        return true;
    }
    std::vector<CRect> hostSizes;
};

// An editor whose desktop, settings file and host are the test's.
struct ScaledEditor {
    ScaledEditor(std::vector<double> desktop, std::string settingsFile, CRect screen = {}) {
        EditorServices services;
        services.tickMs = [] { return 0u; };
        services.openWindow = [this](CFrame& frame, void*) {
            return frame.attachWindow(std::make_unique<SizedFrameWindow>(&windowSizes));
        };
        services.desktopScale = [desktop](void*) { return desktop; };
        services.screenArea = [screen](void*) { return screen; };
        services.settingsFile = std::move(settingsFile);
        editor = std::make_unique<CompressorEditor>(host, std::move(services));
        host.editor = editor.get();
    }
    CRect size() const { return {0, 0, editor->width(), editor->height()}; }
    CRect deviceSize() const { return editor->getFrame()->getDeviceSize(); }

    ResizingHost host;
    std::vector<CRect> windowSizes;
    std::unique_ptr<CompressorEditor> editor;
};

constexpr CRect k100{0, 0, 690, 270};
constexpr CRect k150{0, 0, 1035, 405};
constexpr CRect k200{0, 0, 1380, 540};
constexpr CRect k250{0, 0, 1725, 675};
constexpr CRect k300{0, 0, 2070, 810};

// The menu row showing `choice`.
CPoint rowOf(const EditorMenu& menu, EditorMenu::Choice choice) {
    for (std::size_t i = 0; i < menu.choices().size(); ++i)
        if (menu.choices()[i] == choice) {
            const CRect row = menu.rowRect(i);
            return {row.left + 20, (row.top + row.bottom) / 2};
        }
    ADD_FAILURE() << "no such row";
    return {};
}

// A spot of the background that no control covers.
constexpr CPoint kBackground{300, 150};

TEST_F(ScaleSettingsFolder, MenuChoiceWinsOverTheDesktopAndHoldsForLaterInstances) {
    ScaledEditor first({1.5}, settings);
    EXPECT_EQ(first.size(), k150); // asked before opening, as hosts do
    ASSERT_TRUE(first.editor->open(fakeParentWindow()));
    EXPECT_EQ(first.deviceSize(), k150);

    // A left press on the background opens nothing; a right press opens the menu.
    first.editor->getFrame()->onMouseDown(kBackground, kButtonLeft);
    EXPECT_EQ(first.editor->editorMenu(), nullptr);
    first.editor->getFrame()->onMouseDown(kBackground, kButtonRight);
    EditorMenu* menu = first.editor->editorMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->choices().size(), 8u);
    // "Automatic" says what it would give: the desktop's 150 %.
    EXPECT_EQ(menu->label(7), "Automatic (150 %)");
    EXPECT_EQ(menu->label(4), "200 %");
    first.editor->getFrame()->onMouseDown(rowOf(*menu, 200), kButtonLeft);

    EXPECT_EQ(first.editor->editorMenu(), nullptr);
    EXPECT_EQ(first.deviceSize(), k200);
    EXPECT_EQ(first.windowSizes, std::vector<CRect>{k200});
    EXPECT_EQ(first.host.hostSizes, std::vector<CRect>{k200});
    EXPECT_EQ(readScaleSetting(settings), 200);

    // Another instance, on the same desktop: the user's size, before and after opening.
    ScaledEditor second({1.5}, settings);
    EXPECT_EQ(second.size(), k200);
    ASSERT_TRUE(second.editor->open(fakeParentWindow()));
    EXPECT_EQ(second.deviceSize(), k200);

    // "Automatic" hands the choice back to the desktop, here and for the next instance.
    second.editor->getFrame()->onMouseDown(kBackground, kButtonRight);
    ASSERT_NE(second.editor->editorMenu(), nullptr);
    second.editor->getFrame()->onMouseDown(rowOf(*second.editor->editorMenu(), std::nullopt),
                                           kButtonLeft);
    EXPECT_EQ(second.deviceSize(), k150);
    ScaledEditor third({3.0}, settings);
    EXPECT_EQ(third.size(), k300);
}

TEST_F(ScaleSettingsFolder, AutomaticKeepsToTheScreenButTheUsersChoiceDoesNot) {
    // A 300 % desktop on a screen 1920 pixels wide: 300 % would be 2070 pixels.
    ScaledEditor editor({3.0}, settings, {0, 0, 1920, 1080});
    ASSERT_TRUE(editor.editor->open(fakeParentWindow()));
    EXPECT_EQ(editor.deviceSize(), k250);
    editor.editor->getFrame()->onMouseDown(kBackground, kButtonRight);
    ASSERT_NE(editor.editor->editorMenu(), nullptr);
    EXPECT_EQ(editor.editor->editorMenu()->label(7), "Automatic (250 %)");
    editor.editor->getFrame()->onMouseDown(rowOf(*editor.editor->editorMenu(), 300), kButtonLeft);
    EXPECT_EQ(editor.deviceSize(), k300);
    EXPECT_EQ(editor.host.hostSizes.back(), k300);
}

TEST_F(ScaleSettingsFolder, APressOutsideTheMenuClosesItAndChangesNothing) {
    ScaledEditor editor({}, settings);
    ASSERT_TRUE(editor.editor->open(fakeParentWindow()));
    editor.editor->getFrame()->onMouseDown(kBackground, kButtonRight);
    EditorMenu* menu = editor.editor->editorMenu();
    ASSERT_NE(menu, nullptr);
    // The menu is kept inside the editor even when opened at its corner.
    EXPECT_TRUE(menu->getMenuRect().right <= 690 && menu->getMenuRect().bottom <= 270);
    editor.editor->getFrame()->onMouseDown({5, 5}, kButtonLeft);
    EXPECT_EQ(editor.editor->editorMenu(), nullptr);
    EXPECT_EQ(editor.deviceSize(), k100);
    EXPECT_TRUE(editor.windowSizes.empty());
    EXPECT_FALSE(fs::exists(settings));

    // Opened in the far corner, it still fits.
    editor.editor->getFrame()->onMouseDown({689, 269}, kButtonRight);
    ASSERT_NE(editor.editor->editorMenu(), nullptr);
    const CRect r = editor.editor->editorMenu()->getMenuRect();
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 690 && r.bottom <= 270);
}

// Escape, as the host's key interface or the editor's own window delivers it (host key code 6),
// closes the menu as a press outside does; other keys leave it open.
TEST_F(ScaleSettingsFolder, EscapeClosesTheMenuAndChangesNothing) {
    ScaledEditor editor({}, settings);
    ASSERT_TRUE(editor.editor->open(fakeParentWindow()));
    EXPECT_FALSE(editor.editor->onKeyDown(0, 6, 0)) << "no menu open: the key is the host's";
    editor.editor->getFrame()->onMouseDown(kBackground, kButtonRight);
    ASSERT_NE(editor.editor->editorMenu(), nullptr);
    EXPECT_FALSE(editor.editor->onKeyDown('a', 0, 0));
    EXPECT_FALSE(editor.editor->onKeyDown(0, kKeyDown, 0));
    ASSERT_NE(editor.editor->editorMenu(), nullptr);

    EXPECT_TRUE(editor.editor->onKeyDown(27, 6, 0));
    EXPECT_EQ(editor.editor->editorMenu(), nullptr);
    EXPECT_EQ(editor.deviceSize(), k100);
    EXPECT_TRUE(editor.windowSizes.empty());
    EXPECT_FALSE(fs::exists(settings));
}

TEST_F(ScaleSettingsFolder, AChoiceThatCannotBeSavedStillResizesThisEditor) {
    fs::create_directories(settings); // a folder in the file's place
    ScaledEditor editor({}, settings);
    ASSERT_TRUE(editor.editor->open(fakeParentWindow()));
    editor.editor->chooseScale(300);
    EXPECT_EQ(editor.deviceSize(), k300);
}

TEST(HostScale, ARequestResizesTheOpenEditorAndBrokenRequestsAreIgnored) {
    ScaledEditor editor({}, "");
    editor.editor->setHostScale(1.5); // before opening: the size the host is told
    EXPECT_EQ(editor.size(), k150);
    ASSERT_TRUE(editor.editor->open(fakeParentWindow()));
    EXPECT_EQ(editor.deviceSize(), k150);

    editor.editor->setHostScale(2.0);
    EXPECT_EQ(editor.deviceSize(), k200);
    EXPECT_EQ(editor.size(), k200);
    EXPECT_EQ(editor.windowSizes, std::vector<CRect>{k200});
    EXPECT_EQ(editor.host.hostSizes, std::vector<CRect>{k200});

    for (double bad : {0.0, -1.0, kNaN, 50.0}) {
        editor.editor->setHostScale(bad);
        EXPECT_EQ(editor.deviceSize(), k100) << bad;
    }
    // The same size again resizes nothing.
    editor.editor->setHostScale(1.0);
    EXPECT_EQ(editor.windowSizes.size(), 2u);
}

// The picture of `rect` (editor pixels) in a snapshot at `scale`, averaged down to editor
// pixels, compared with the 100 % snapshot: mean difference per channel.
double meanDifference(const CBitmap& at100, const CBitmap& scaled, double scale, CRect rect,
                      CPoint shift = {}) {
    double sum = 0;
    int count = 0;
    for (int32_t y = rect.top; y < rect.bottom; ++y)
        for (int32_t x = rect.left; x < rect.right; ++x) {
            const CRect device =
                toDeviceRect({x + shift.h, y + shift.v, x + shift.h + 1, y + shift.v + 1}, scale);
            double channels[3] = {};
            int n = 0;
            for (int32_t dy = device.top; dy < device.bottom; ++dy)
                for (int32_t dx = device.left; dx < device.right; ++dx, ++n)
                    for (int c = 0; c < 3; ++c)
                        channels[c] += (scaled.pixelAt(dx, dy) >> (8 * c)) & 0xff;
            for (int c = 0; c < 3; ++c) {
                sum += std::fabs(channels[c] / std::max(n, 1) -
                                 double((at100.pixelAt(x, y) >> (8 * c)) & 0xff));
                ++count;
            }
        }
    return sum / std::max(count, 1);
}

class EditorAtScale : public ::testing::TestWithParam<int32_t> {};

TEST_P(EditorAtScale, EveryControlSitsWhereTheOneHundredPercentEditorHasIt) {
    const int32_t percent = GetParam();
    const double scale = percent / 100.0;
    ScaledEditor plain({}, "");
    ScaledEditor scaled({scale}, "");
    ASSERT_TRUE(plain.editor->open(fakeParentWindow()));
    ASSERT_TRUE(scaled.editor->open(fakeParentWindow()));
    const CRect expected{0, 0, int32_t(std::lround(690 * scale)),
                         int32_t(std::lround(270 * scale))};
    EXPECT_EQ(scaled.size(), expected);
    const SharedRef<CBitmap> at100 = renderFrame(*plain.editor->getFrame());
    const SharedRef<CBitmap> atScale = renderFrame(*scaled.editor->getFrame());
    ASSERT_EQ(atScale->getWidth(), expected.width());
    ASSERT_EQ(atScale->getHeight(), expected.height());

    // Every view in the frame, in the frame's own coordinates at both scales; its picture,
    // brought back to 100 %, matches the 100 % picture better than the same picture two
    // pixels off in any direction would.
    CFrame& frame = *scaled.editor->getFrame();
    ASSERT_EQ(frame.getNbViews(), plain.editor->getFrame()->getNbViews());
    for (int32_t i = 0; i < frame.getNbViews(); ++i) {
        const CRect rect = frame.getView(i)->getViewSize();
        EXPECT_EQ(rect, plain.editor->getFrame()->getView(i)->getViewSize());
        CRect visible = rect;
        visible.intersect({0, 0, 690, 270});
        if (visible.isEmpty()) continue;
        const double inPlace = meanDifference(*at100, *atScale, scale, visible);
        for (CPoint shift : {CPoint{2, 0}, CPoint{-2, 0}, CPoint{0, 2}, CPoint{0, -2}})
            EXPECT_LT(inPlace, meanDifference(*at100, *atScale, scale, visible, shift) + 0.5)
                << "view " << i << " at " << percent << " %, shifted " << shift.h << "," << shift.v;
    }
}

TEST_P(EditorAtScale, PressesAndDragsWorkInTheEditorsOwnPixels) {
    const double scale = GetParam() / 100.0;
    ScaledEditor editor({scale}, "");
    ASSERT_TRUE(editor.editor->open(fakeParentWindow()));
    CFrame& frame = *editor.editor->getFrame();
    // A device press at the ratio knob's centre, converted as the window converts it.
    const CRect knob = editor.editor->controls().ratioKnob->getViewSize();
    const CPoint device{toDevicePixels((knob.left + knob.right) / 2, scale),
                        toDevicePixels((knob.top + knob.bottom) / 2, scale)};
    const CPoint where = toEditorPoint(device, scale);
    frame.onMouseDown(where, kButtonLeft);
    // The same hand movement on a denser display covers `scale` times the device pixels.
    const CPoint to = toEditorPoint({device.h, device.v - toDevicePixels(40, scale)}, scale);
    frame.onMouseMoved(to, kButtonLeft);
    frame.onMouseUp(to, kButtonLeft);
    EXPECT_EQ(editor.host.automationCount(kParamRatio) > 0, true);
    // What 40 pixels up give at 100 %.
    ScaledEditor plain({}, "");
    ASSERT_TRUE(plain.editor->open(fakeParentWindow()));
    const CPoint centre{(knob.left + knob.right) / 2, (knob.top + knob.bottom) / 2};
    plain.editor->getFrame()->onMouseDown(centre, kButtonLeft);
    plain.editor->getFrame()->onMouseMoved({centre.h, centre.v - 40}, kButtonLeft);
    plain.editor->getFrame()->onMouseUp({centre.h, centre.v - 40}, kButtonLeft);
    EXPECT_NEAR(editor.host.getParameter(kParamRatio), plain.host.getParameter(kParamRatio), 0.01);
    EXPECT_GT(plain.host.getParameter(kParamRatio), 0.04f);
}

INSTANTIATE_TEST_SUITE_P(Scales, EditorAtScale, ::testing::Values(150, 200, 300));

} // namespace
