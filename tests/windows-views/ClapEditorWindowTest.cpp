// The CLAP module's editor embedded in a host's Win32 window by the test host and idled only on
// the host's timer: it shows what the VST 2 module's editor shows, pixel for pixel, a drag comes
// back to the host as values inside one gesture, and the meters follow the audio.
#include "HostedClapPlugin.h"
#include "ModuleEditorTest.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr clap_id kRatio = 5;

class ClapEditorWindowTest : public ModuleEditorTest {
  protected:
    void SetUp() override {
        ModuleEditorTest::SetUp();
        clap_ = std::make_unique<HostedClapPlugin>(QVL_CLAP_MODULE_PATH);
        ASSERT_TRUE(clap_->isLoaded()) << clap_->error();
        gui_ = clap_->extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
        ASSERT_NE(gui_, nullptr);
    }

    void TearDown() override {
        if (gui_) gui_->destroy(clap_->plugin());
        clap_.reset();
        ModuleEditorTest::TearDown();
    }

    bool openIn(HWND parent) {
        const clap_plugin_t* p = clap_->plugin();
        clap_window_t window{};
        window.api = CLAP_WINDOW_API_WIN32;
        window.win32 = parent;
        return gui_->create(p, CLAP_WINDOW_API_WIN32, false) && gui_->set_parent(p, &window) &&
               gui_->show(p);
    }

    // The host's main loop: its messages, and the plug-in's timer at the period it asked for.
    void idleClap(int rounds = 4) {
        for (int i = 0; i < rounds; ++i) {
            pumpMessages();
            clap_->fireTimer();
            Sleep(clap_->timerPeriodMs);
        }
        pumpMessages();
    }

    std::unique_ptr<HostedClapPlugin> clap_;
    const clap_plugin_gui_t* gui_ = nullptr;
};

int differences(const CBitmap& a, const CBitmap& b) {
    if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight()) return -1;
    int count = 0;
    for (int32_t y = 0; y < a.getHeight(); ++y)
        for (int32_t x = 0; x < a.getWidth(); ++x)
            count += a.pixelAt(x, y) != b.pixelAt(x, y);
    return count;
}

TEST_F(ClapEditorWindowTest, OnlyAnEmbeddedWin32WindowIsOffered) {
    const clap_plugin_t* p = clap_->plugin();
    const char* api = nullptr;
    bool floating = true;
    ASSERT_TRUE(gui_->get_preferred_api(p, &api, &floating));
    EXPECT_STREQ(api, CLAP_WINDOW_API_WIN32);
    EXPECT_FALSE(floating);
    EXPECT_FALSE(gui_->is_api_supported(p, CLAP_WINDOW_API_X11, false));
    EXPECT_FALSE(gui_->is_api_supported(p, CLAP_WINDOW_API_WIN32, true));
    EXPECT_FALSE(gui_->create(p, CLAP_WINDOW_API_X11, false));

    // A parent of another window system is refused, and a Win32 one works afterwards.
    ASSERT_TRUE(gui_->create(p, CLAP_WINDOW_API_WIN32, false));
    HostWindow host(690, 270);
    clap_window_t wrong{};
    wrong.api = CLAP_WINDOW_API_X11;
    wrong.x11 = 1;
    EXPECT_FALSE(gui_->set_parent(p, &wrong));
    EXPECT_EQ(host.child(), nullptr);
    clap_window_t parent{};
    parent.api = CLAP_WINDOW_API_WIN32;
    parent.win32 = host.handle();
    EXPECT_TRUE(gui_->set_parent(p, &parent));
    EXPECT_NE(host.child(), nullptr);
    gui_->destroy(p);
    EXPECT_EQ(host.child(), nullptr);
    EXPECT_EQ(clap_->timerPeriodMs, 0u) << "the timer goes with the editor";
}

TEST_F(ClapEditorWindowTest, DrawsWhatTheVst2EditorDrawsOnTheHostsTimer) {
    vst2::ERect* rect = nullptr;
    ASSERT_EQ(dispatch(vst2::effEditGetRect, &rect), 1);
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;

    HostWindow clapHost(width, height);
    ASSERT_TRUE(openIn(clapHost.handle()));
    EXPECT_GT(clap_->timerPeriodMs, 0u);
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(gui_->get_size(clap_->plugin(), &w, &h));
    EXPECT_EQ(w, static_cast<uint32_t>(width));
    EXPECT_EQ(h, static_cast<uint32_t>(height));

    HostWindow vst2Host(width, height);
    ASSERT_EQ(dispatch(vst2::effEditOpen, vst2Host.handle()), 1);
    idle();
    idleClap();
    const SharedRef<CBitmap> vst2Shown = captureWindow(vst2Host.handle(), width, height);
    // Not the host window's white: the editor drew.
    EXPECT_NE(vst2Shown->pixelAt(10, 30), 0xFFFFFFFFu);
    EXPECT_EQ(differences(*captureWindow(clapHost.handle(), width, height), *vst2Shown), 0);
    dispatch(vst2::effEditClose);
}

TEST_F(ClapEditorWindowTest, DraggingTheRatioKnobSendsValuesInsideOneGesture) {
    HostWindow host(690, 270);
    ASSERT_TRUE(openIn(host.handle()));
    clap_->flush({{0, kRatio, 1.75}}); // 0.3 of the knob
    idleClap();
    clap_->outputEvents.clear();
    HWND child = host.child();
    ASSERT_NE(child, nullptr);
    SendMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(296, 83));
    for (int i = 1; i <= 8; ++i)
        SendMessageW(child, WM_MOUSEMOVE, MK_LBUTTON, clientPoint(296, 83 - 10 * i));
    SendMessageW(child, WM_LBUTTONUP, 0, clientPoint(296, 3));
    idleClap();
    clap_->flush({}); // the host collects what the editor sent
    const std::vector<ClapOutputEvent>& events = clap_->outputEvents;
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front().type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
    EXPECT_EQ(events.back().type, CLAP_EVENT_PARAM_GESTURE_END);
    for (const ClapOutputEvent& e : events)
        EXPECT_EQ(e.id, kRatio);
    // 80 of the knob's 800 pixels up: 0.4 of the knob is 2.0:1.
    EXPECT_NEAR(clap_->paramValue(kRatio), 2.0, 0.01);
}

TEST_F(ClapEditorWindowTest, TheMetersMoveWhileAudioRuns) {
    HostWindow host(690, 270);
    ASSERT_TRUE(openIn(host.handle()));
    ASSERT_TRUE(clap_->activate(48000.0));
    idleClap();
    const SharedRef<CBitmap> before = captureWindow(host.handle(), 690, 270);
    std::vector<float> left(4800), right(4800);
    for (std::size_t n = 0; n < left.size(); ++n)
        left[n] = right[n] = 0.9f * static_cast<float>(std::sin(0.05 * static_cast<double>(n)));
    float* io[2] = {left.data(), right.data()};
    for (int block = 0; block < 10; ++block) {
        clap_->process(io, io, 4800);
        idleClap(1);
    }
    EXPECT_GT(differences(*captureWindow(host.handle(), 690, 270), *before), 100);
}

} // namespace
