// End to end: the module loaded as a host loads it, its editor opened in a top-level X11
// window, driven with XTest mouse input; parameters, host callbacks and the window's pixels
// are checked against what the effect and the headless snapshot say.

// GoogleTest first: Xlib defines macros (None, Bool, Status) that clash with its templates.
#include <gtest/gtest.h>

#include "EditorMenuPicture.h"
#include "EditorPicture.h"
#include "HostedPlugin.h"
#include "ParentWindow.h"
#include "WindowPicture.h"
#include "XTestDisplay.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using vst2::ERect;

constexpr int kWidth = 690;
constexpr int kHeight = 270;

// Pixels that differ inside `left..right` x `top..bottom` (exclusive ends).
int differences(const Picture& a, const Picture& b, int left, int top, int right, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const std::size_t i = std::size_t(y * kWidth + x);
            n += a[i] != b[i];
        }
    return n;
}

class EditorInAWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string whyNot;
        display = openXTestDisplay(whyNot);
        if (!display) GTEST_SKIP() << whyNot;

        plugin = std::make_unique<HostedPlugin>(QVL_MODULE_PATH);
        ASSERT_TRUE(plugin->isLoaded()) << plugin->error();
        ERect* rect = nullptr;
        ASSERT_EQ(plugin->dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
        ASSERT_EQ(rect->right - rect->left, kWidth);
        ASSERT_EQ(rect->bottom - rect->top, kHeight);

        window = openParentWindow(display.get(), kWidth, kHeight);
        ASSERT_TRUE(openEditor());
    }

    void TearDown() override {
        if (plugin && plugin->isLoaded()) plugin->dispatch(vst2::effEditClose);
        plugin.reset();
        if (display && window) XDestroyWindow(display.get(), window);
    }

    bool openEditor() {
        void* parent = reinterpret_cast<void*>(static_cast<uintptr_t>(window));
        if (plugin->dispatch(vst2::effEditOpen, 0, 0, parent) != 1) return false;
        idleFor(150);
        return true;
    }

    // Host idle calls for a while, as a host's timer would make them.
    void idleFor(int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            XSync(display.get(), False);
            plugin->dispatch(vst2::effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    void pointerTo(int x, int y) {
        movePointer(display.get(), window, x, y);
        idleFor(20);
    }
    void button(unsigned number, bool down) {
        pressButton(display.get(), number, down);
        idleFor(20);
    }
    void click(int x, int y, unsigned number = 1) {
        pointerTo(x, y);
        button(number, true);
        button(number, false);
        idleFor(60);
    }
    void drag(int x, int y, int dx, int dy) {
        pointerTo(x, y);
        button(1, true);
        const int steps = 8;
        for (int i = 1; i <= steps; ++i)
            pointerTo(x + dx * i / steps, y + dy * i / steps);
        button(1, false);
        idleFor(60);
    }

    Picture screenshot() { return windowPicture(display.get(), window, kWidth, kHeight); }

    // The headless drawing of the effect's present settings with idle meters (taken before
    // any PNG round trip, whose decoding rounds colours).
    Picture snapshotOfCurrentSettings() {
        SnapshotOptions options;
        options.program = plugin->program();
        for (int i = 0; i < 19; ++i)
            options.parameters.emplace_back(i, plugin->getParameter(i));
        return editorPicture(options);
    }

    // The calls with these opcodes, in order.
    std::vector<HostCall> callsOf(std::initializer_list<int32_t> opcodes) {
        std::vector<HostCall> out;
        for (const HostCall& c : plugin->hostCalls())
            for (int32_t op : opcodes)
                if (c.opcode == op) out.push_back(c);
        return out;
    }

    XDisplayPtr display;
    Window window = 0;
    std::unique_ptr<HostedPlugin> plugin;
};

constexpr int32_t kAutomate = vst2::audioMasterAutomate;
constexpr int32_t kBegin = vst2::audioMasterBeginEdit;
constexpr int32_t kEnd = vst2::audioMasterEndEdit;

} // namespace

TEST_F(EditorInAWindow, TheWindowShowsTheHeadlessSnapshotPixelForPixel) {
    const Picture expected = snapshotOfCurrentSettings();
    ASSERT_EQ(expected.size(), std::size_t(kWidth * kHeight));
    const Picture shown = screenshot();
    ASSERT_EQ(shown.size(), expected.size());
    EXPECT_EQ(differences(shown, expected, 0, 0, kWidth, kHeight), 0);
    for (auto [name, pic] :
         {std::pair{"/tmp/shown.ppm", &shown}, std::pair{"/tmp/expected.ppm", &expected}}) {
        FILE* f = std::fopen(name, "wb");
        std::fprintf(f, "P6 %d %d 255\n", kWidth, kHeight);
        for (uint32_t px : *pic) {
            unsigned char rgb[3] = {(unsigned char)(px >> 16), (unsigned char)(px >> 8),
                                    (unsigned char)px};
            std::fwrite(rgb, 1, 3, f);
        }
        std::fclose(f);
    }

    // Closed and opened again: the same picture, nothing left behind.
    plugin->dispatch(vst2::effEditClose);
    idleFor(30);
    ASSERT_TRUE(openEditor());
    EXPECT_EQ(differences(screenshot(), expected, 0, 0, kWidth, kHeight), 0);
}

TEST_F(EditorInAWindow, DraggingTheRatioKnobAutomatesRatioAsOneGesture) {
    plugin->setParameter(5, 0.3f);
    idleFor(40);
    plugin->clearHostCalls();
    drag(296, 83, 0, -80); // 80 of the knob's 800 pixels
    EXPECT_NEAR(plugin->getParameter(5), 0.4f, 0.002f);
    const std::vector<HostCall> calls = callsOf({kAutomate, kBegin, kEnd});
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front().opcode, kBegin);
    EXPECT_EQ(calls.back().opcode, kEnd);
    for (const HostCall& c : calls)
        EXPECT_EQ(c.index, 5);
    EXPECT_EQ(calls[calls.size() - 2].opcode, kAutomate);
    EXPECT_NEAR(calls[calls.size() - 2].opt, 0.4f, 0.002f);
}

TEST_F(EditorInAWindow, ButtonsSwitchAndScaleClicksReachTheEffect) {
    plugin->setParameter(16, 0.0f);
    plugin->setParameter(18, 0.0f);
    plugin->setParameter(1, 0.0f);
    idleFor(40);
    plugin->clearHostCalls();

    click(567, 240); // Bypass
    EXPECT_EQ(plugin->getParameter(16), 1.0f);
    click(532, 100); // the meter scale strip
    EXPECT_EQ(plugin->getParameter(18), 0.25f);
    click(46, 135); // the middle of the SC filter switch
    EXPECT_EQ(plugin->getParameter(1), 0.5f);

    const std::vector<HostCall> calls = callsOf({kAutomate, kBegin, kEnd});
    const std::vector<std::pair<int32_t, int32_t>> expected{
        {kAutomate, 16}, {kBegin, 18},   {kAutomate, 18}, {kEnd, 18},
        {kBegin, 1},     {kAutomate, 1}, {kEnd, 1}};
    ASSERT_EQ(calls.size(), expected.size());
    for (std::size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].opcode, expected[i].first);
        EXPECT_EQ(calls[i].index, expected[i].second);
    }

    // The window shows what the snapshot of the new settings shows.
    idleFor(60);
    EXPECT_EQ(differences(screenshot(), snapshotOfCurrentSettings(), 0, 0, kWidth, kHeight), 0);
}

TEST_F(EditorInAWindow, TheAboutCardComesUpOpensThePageAndGoesAway) {
    // A stand-in browser opener on PATH records the address it is given.
    char pattern[] = "/tmp/qvl-opener-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    {
        std::ofstream script(dir + "/xdg-open");
        script << "#!/bin/sh\nprintf '%s' \"$1\" > \"" << dir << "/url.tmp\"\nmv \"" << dir
               << "/url.tmp\" \"" << dir << "/url\"\n";
    }
    chmod((dir + "/xdg-open").c_str(), 0755);
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (dir + ":" + savedPath).c_str(), 1);

    const Picture before = screenshot();
    plugin->clearHostCalls();
    click(600, 10);
    const Picture withCard = screenshot();
    EXPECT_GT(differences(before, withCard, 374, 44, 574, 194), 10000);
    EXPECT_EQ(differences(before, withCard, 0, 0, kWidth, 44), 0);

    click(296, 83);  // the ratio knob lies outside the card: ignored while it is up
    click(380, 150); // the link zone
    std::string url;
    for (int i = 0; i < 300 && url.empty(); ++i) {
        std::ifstream in(dir + "/url");
        if (in) std::getline(in, url);
        if (url.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(url, "http://www.velmorinthlabs.com/qvl-feedback-compressor?checkversion=0.9.03");
    EXPECT_EQ(differences(withCard, screenshot(), 0, 0, kWidth, kHeight), 0);

    click(380, 100); // elsewhere on the card
    EXPECT_EQ(differences(before, screenshot(), 0, 0, kWidth, kHeight), 0);
    EXPECT_TRUE(callsOf({kAutomate, kBegin, kEnd}).empty());

    setenv("PATH", savedPath.c_str(), 1);
    std::remove((dir + "/url").c_str());
    std::remove((dir + "/xdg-open").c_str());
    rmdir(dir.c_str());
}

TEST_F(EditorInAWindow, RepeatedCloseAndOpenAndBadRequestsStayHarmless) {
    for (int cycle = 0; cycle < 10; ++cycle) {
        plugin->dispatch(vst2::effEditClose);
        plugin->dispatch(vst2::effEditIdle);
        plugin->dispatch(vst2::effEditClose);
        void* parent = reinterpret_cast<void*>(static_cast<uintptr_t>(window));
        ASSERT_EQ(plugin->dispatch(vst2::effEditOpen, 0, 0, parent), 1);
        plugin->dispatch(vst2::effEditIdle);
    }
    // A window id that does not exist: refused, and the editor is closed.
    EXPECT_EQ(
        plugin->dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{0x7fffff})), 0);
    EXPECT_EQ(plugin->dispatch(vst2::effEditOpen, 0, 0, nullptr), 0);
    plugin->dispatch(vst2::effEditIdle);
    EXPECT_EQ(plugin->dispatch(vst2::effEditKeyDown, 0, 12, nullptr, 0.0f), 0);
    ASSERT_TRUE(openEditor());
    EXPECT_EQ(plugin->dispatch(vst2::effEditKeyDown, 'q', 200, nullptr, 0.0f), 0);
    const Picture expected = snapshotOfCurrentSettings();
    EXPECT_EQ(differences(screenshot(), expected, 0, 0, kWidth, kHeight), 0);
}

TEST_F(EditorInAWindow, AProgramFromTheMenuIsTheProgramChangeTheHostMakes) {
    // Program 5 edited while current, then the host goes to program 2.
    plugin->setProgram(5);
    plugin->setParameter(3, 0.25f);
    plugin->setProgram(2);
    idleFor(40);
    plugin->clearHostCalls();

    click(300, 150, 3);
    const Picture menu = screenshot();
    for (int p = 0; p < 7; ++p)
        EXPECT_EQ(menuMarksProgram(menu, kWidth, p), p == 2) << p;
    click(kMenuProgramRowX, menuProgramRowY(5));

    // The program the host lists changes, with the values it holds as edited, and the host is
    // told to read it; nothing is recorded as automation.
    EXPECT_EQ(plugin->program(), 5);
    EXPECT_EQ(plugin->programName(), "Mastering: Upward");
    EXPECT_EQ(plugin->getParameter(3), 0.25f);
    EXPECT_EQ(callsOf({vst2::audioMasterUpdateDisplay}).size(), 1u);
    EXPECT_TRUE(callsOf({kAutomate, kBegin, kEnd}).empty());
    idleFor(60);
    EXPECT_EQ(differences(screenshot(), snapshotOfCurrentSettings(), 0, 0, kWidth, kHeight), 0);

    // The host's own program change moves the mark as well.
    plugin->setProgram(6);
    idleFor(40);
    click(300, 150, 3);
    const Picture again = screenshot();
    for (int p = 0; p < 7; ++p)
        EXPECT_EQ(menuMarksProgram(again, kWidth, p), p == 6) << p;
    click(kWidth - 5, 5); // outside the menu: closes it
}
