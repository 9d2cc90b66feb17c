// End to end at display scales: the module in a real X11 window on a display whose desktop
// asks for 192 DPI, a host's content-scale request on an open editor, and the user's size from
// the right-click menu carried over to the next instance through the settings file.

// GoogleTest first: Xlib defines macros (None, Bool, Status) that clash with its templates.
#include <gtest/gtest.h>

#include "EditorPicture.h"
#include "HostedPlugin.h"
#include "ParentWindow.h"
#include "WindowPicture.h"
#include "XTestDisplay.h"

#include <X11/Xatom.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr int32_t kContentScaleIndex = vst2::fourCharacters('P', 'r', 'e', 'S');
constexpr intptr_t kContentScaleValue = vst2::fourCharacters('A', 'e', 'C', 's');

class ScaledEditorInAWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string whyNot;
        display = openXTestDisplay(whyNot);
        if (!display) GTEST_SKIP() << whyNot;
        root = DefaultRootWindow(display.get());
        savedResources = readResources();
        // The user's settings of this test alone, and no scale from the environment.
        config = fs::temp_directory_path() / ("qvl-scale-host-" + std::to_string(::getpid()));
        fs::remove_all(config);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        unsetenv("GDK_SCALE");
    }

    void TearDown() override {
        for (auto& p : plugins)
            if (p->isLoaded()) p->dispatch(vst2::effEditClose);
        plugins.clear();
        if (display) {
            if (window) XDestroyWindow(display.get(), window);
            writeResources(savedResources);
        }
        fs::remove_all(config);
    }

    // The display's resource database (what `xrdb` sets), as the desktop leaves it.
    std::optional<std::string> readResources() {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display.get(), root, XA_RESOURCE_MANAGER, 0, 1 << 20, False,
                               XA_STRING, &type, &format, &count, &after, &data) != Success ||
            !data)
            return std::nullopt;
        std::string text(reinterpret_cast<char*>(data), count);
        XFree(data);
        return text;
    }
    void writeResources(const std::optional<std::string>& text) {
        if (text)
            XChangeProperty(display.get(), root, XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(text->data()),
                            int(text->size()));
        else
            XDeleteProperty(display.get(), root, XA_RESOURCE_MANAGER);
        XSync(display.get(), False);
    }

    HostedPlugin& load() {
        plugins.push_back(std::make_unique<HostedPlugin>(QVL_MODULE_PATH));
        EXPECT_TRUE(plugins.back()->isLoaded()) << plugins.back()->error();
        return *plugins.back();
    }

    static std::pair<int, int> editorSize(HostedPlugin& p) {
        vst2::ERect* rect = nullptr;
        if (p.dispatch(vst2::effEditGetRect, 0, 0, &rect) != 1 || !rect) return {0, 0};
        return {rect->right - rect->left, rect->bottom - rect->top};
    }

    // A host window of the editor's size, the editor opened in it.
    bool open(HostedPlugin& p) {
        const auto [width, height] = editorSize(p);
        window = openParentWindow(display.get(), width, height);
        if (p.dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t(window))) != 1)
            return false;
        idleFor(p, 150);
        return true;
    }

    // The size of the editor's own window inside the host's.
    std::pair<int, int> childSize() {
        Window rootReturn = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        std::pair<int, int> size{0, 0};
        if (XQueryTree(display.get(), window, &rootReturn, &parent, &children, &count) &&
            count == 1) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display.get(), children[0], &attributes))
                size = {attributes.width, attributes.height};
        }
        if (children) XFree(children);
        return size;
    }

    void idleFor(HostedPlugin& p, int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            XSync(display.get(), False);
            p.dispatch(vst2::effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    void pointerTo(HostedPlugin& p, int x, int y) {
        movePointer(display.get(), window, x, y);
        idleFor(p, 20);
    }
    void button(HostedPlugin& p, unsigned number, bool down) {
        pressButton(display.get(), number, down);
        idleFor(p, 20);
    }
    void click(HostedPlugin& p, int x, int y, unsigned number = 1) {
        pointerTo(p, x, y);
        button(p, number, true);
        button(p, number, false);
        idleFor(p, 60);
    }

    int sizeWindowRequests(HostedPlugin& p, int width, int height) {
        int n = 0;
        for (const HostCall& c : p.hostCalls())
            n += c.opcode == vst2::audioMasterSizeWindow && c.index == width && c.value == height;
        return n;
    }

    XDisplayPtr display;
    Window root = 0;
    Window window = 0;
    std::optional<std::string> savedResources;
    fs::path config;
    std::vector<std::unique_ptr<HostedPlugin>> plugins;
};

using Size = std::pair<int, int>;

} // namespace

TEST_F(ScaledEditorInAWindow, AtXftDpi192ItOpensAt200PercentAndDragsAndClicksHitTheirControls) {
    writeResources("Xft.dpi:\t192\n");
    HostedPlugin& p = load();
    ASSERT_EQ(editorSize(p), Size(1380, 540));
    ASSERT_TRUE(open(p));
    EXPECT_EQ(childSize(), Size(1380, 540));

    // The window shows the 200 % snapshot, as far as the screen reaches.
    SnapshotOptions options;
    options.program = p.program();
    for (int i = 0; i < 19; ++i)
        options.parameters.emplace_back(i, p.getParameter(i));
    options.scalePercent = 200;
    const SharedRef<CBitmap> expected = renderEditorSnapshot(options);
    ASSERT_TRUE(expected);
    const int visibleWidth = std::min(1380, DisplayWidth(display.get(), 0));
    const int visibleHeight = std::min(540, DisplayHeight(display.get(), 0));
    const Picture shown = windowPicture(display.get(), window, visibleWidth, visibleHeight);
    ASSERT_FALSE(shown.empty());
    int differing = 0;
    for (int y = 0; y < visibleHeight; ++y)
        for (int x = 0; x < visibleWidth; ++x)
            differing +=
                shown[std::size_t(y * visibleWidth + x)] != (expected->pixelAt(x, y) & 0xFFFFFFu);
    EXPECT_EQ(differing, 0);

    // The ratio knob's centre is (296, 83) in the editor's pixels; 160 device pixels up are
    // the 80 pixels that move it by a tenth at 100 %.
    p.setParameter(5, 0.3f);
    p.setParameter(16, 0.0f);
    idleFor(p, 40);
    pointerTo(p, 592, 166);
    button(p, 1, true);
    for (int i = 1; i <= 8; ++i)
        pointerTo(p, 592, 166 - 160 * i / 8);
    button(p, 1, false);
    EXPECT_NEAR(p.getParameter(5), 0.4f, 0.003f);
    click(p, 1134, 480); // Bypass, at (567, 240) in the editor's pixels
    EXPECT_EQ(p.getParameter(16), 1.0f);
    EXPECT_NEAR(p.getParameter(5), 0.4f, 0.003f);
}

TEST_F(ScaledEditorInAWindow, BrokenDesktopSettingsFallBackAndNeverOpenAtAnAbsurdSize) {
    for (const char* resources : {"Xft.dpi:\t0\n", "Xft.dpi:\t10000\n", "Xft.dpi:\tlarge\n",
                                  "Xft.dpi:\t-96\n", "Xft.antialias:\t1\n"}) {
        writeResources(resources);
        EXPECT_EQ(editorSize(load()), Size(690, 270)) << resources;
    }
    // With an unusable Xft.dpi the desktop's other setting decides.
    writeResources("Xft.dpi:\t0\n");
    setenv("GDK_SCALE", "2", 1);
    EXPECT_EQ(editorSize(load()), Size(1380, 540));
    setenv("GDK_SCALE", "nonsense", 1);
    EXPECT_EQ(editorSize(load()), Size(690, 270));
    unsetenv("GDK_SCALE");
}

TEST_F(ScaledEditorInAWindow, AHostsContentScaleRequestResizesTheOpenEditor) {
    writeResources(std::nullopt);
    HostedPlugin& p = load();
    ASSERT_TRUE(open(p));
    EXPECT_EQ(childSize(), Size(690, 270));
    p.clearHostCalls();

    EXPECT_EQ(
        p.dispatch(vst2::effVendorSpecific, kContentScaleIndex, kContentScaleValue, nullptr, 2.0f),
        1);
    idleFor(p, 60);
    EXPECT_EQ(editorSize(p), Size(1380, 540));
    EXPECT_EQ(childSize(), Size(1380, 540));
    EXPECT_EQ(sizeWindowRequests(p, 1380, 540), 1);

    // Other vendor requests are not this one; broken factors fall back to the desktop (100 %).
    EXPECT_EQ(p.dispatch(vst2::effVendorSpecific, kContentScaleIndex, 0, nullptr, 3.0f), 0);
    EXPECT_EQ(editorSize(p), Size(1380, 540));
    for (float bad : {0.0f, -2.0f, std::numeric_limits<float>::quiet_NaN(), 50.0f}) {
        p.dispatch(vst2::effVendorSpecific, kContentScaleIndex, kContentScaleValue, nullptr, bad);
        idleFor(p, 20);
        EXPECT_EQ(editorSize(p), Size(690, 270)) << bad;
        EXPECT_EQ(childSize(), Size(690, 270)) << bad;
    }
    EXPECT_EQ(sizeWindowRequests(p, 690, 270), 1);
}

TEST_F(ScaledEditorInAWindow, AnOpenEditorFollowsTheDesktopWhenItsScaleChanges) {
    writeResources("Xft.dpi:\t96\n");
    HostedPlugin& p = load();
    ASSERT_TRUE(open(p));
    p.clearHostCalls();
    writeResources("Xft.dpi:\t192\n"); // what the desktop's settings do when scaling changes
    idleFor(p, 100);
    EXPECT_EQ(editorSize(p), Size(1380, 540));
    EXPECT_EQ(childSize(), Size(1380, 540));
    EXPECT_EQ(sizeWindowRequests(p, 1380, 540), 1);
    // Other changes of the desktop's settings leave the size alone.
    writeResources("Xft.dpi:\t192\nXft.antialias:\t1\n");
    idleFor(p, 60);
    EXPECT_EQ(editorSize(p), Size(1380, 540));
    EXPECT_EQ(sizeWindowRequests(p, 1380, 540), 1);
}

TEST_F(ScaledEditorInAWindow, TheMenusSizeHoldsForTheNextInstanceAndBeatsTheDesktop) {
    writeResources("Xft.dpi:\t96\n");
    HostedPlugin& first = load();
    ASSERT_TRUE(open(first));
    first.clearHostCalls();
    // A right click on the background opens the menu at the pointer; its rows are 16 pixels
    // tall from one pixel below its top, which is kept 130 pixels above the editor's bottom:
    // 140 here, so "150 %" (the third row) spans 173 ... 188.
    click(first, 300, 150, 3);
    click(first, 330, 181);
    idleFor(first, 60);
    EXPECT_EQ(editorSize(first), Size(1035, 405));
    EXPECT_EQ(childSize(), Size(1035, 405));
    EXPECT_EQ(sizeWindowRequests(first, 1035, 405), 1);

    writeResources("Xft.dpi:\t288\n"); // the desktop now asks for 300 %
    EXPECT_EQ(editorSize(load()), Size(1035, 405));
    std::ifstream settings(config / "qvl-feedback-compressor" / "editor.conf");
    std::stringstream text;
    text << settings.rdbuf();
    EXPECT_EQ(text.str(), "scale=150\n");
}
