// The editor through IPlugView in a real X11 parent window, idled by the host's run loop: it
// draws what the VST 2 editor draws, follows the host's content scale by asking the frame for
// its size, frames a drag with begin/perform/end edits, and its meters move.

// GoogleTest first: Xlib defines macros (None, Bool, Status) that clash with its templates.
#include <gtest/gtest.h>

#include "EditorMenuPicture.h"
#include "EditorPicture.h"
#include "HostedVst3Plugin.h"
#include "ParentWindow.h"
#include "Vst3ParameterIds.h"
#include "WindowPicture.h"
#include "XTestDisplay.h"
#include "plugin/FactoryPrograms.h"

#include <pluginterfaces/gui/iplugviewcontentscalesupport.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace Steinberg;

constexpr int kWidth = 690;
constexpr int kHeight = 270;

class Vst3EditorInAWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string whyNot;
        display = sharedXTestDisplay(whyNot);
        if (!display) GTEST_SKIP() << whyNot;
        plugin = std::make_unique<HostedVst3Plugin>(QVL_VST3_BUNDLE);
        ASSERT_TRUE(plugin->isLoaded()) << plugin->error();
        window = openParentWindow(display, 2 * kWidth, 2 * kHeight);

        view = plugin->controller()->createView("editor");
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
        view->setFrame(&frame);
        ASSERT_EQ(view->attached(reinterpret_cast<void*>(static_cast<uintptr_t>(window)),
                                 kPlatformTypeX11EmbedWindowID),
                  kResultOk);
        idleFor(150);
    }

    void TearDown() override {
        if (view) {
            view->removed();
            EXPECT_EQ(frame.timerCount(), 0u) << "the idle timer ends with the view";
            view->release();
        }
        plugin.reset();
        if (display && window) XDestroyWindow(display, window);
        if (display) XSync(display, False);
    }

    void idleFor(int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            XSync(display, False);
            frame.runTimers();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    void pointerTo(int x, int y) {
        movePointer(display, window, x, y);
        idleFor(20);
    }

    void button(bool down) {
        pressButton(display, 1, down);
        idleFor(20);
    }

    Picture screenshot() { return windowPicture(display, window, kWidth, kHeight); }

    static Picture snapshot(int program) { return programPicture(program); }

    Display* display = nullptr;
    Window window = 0;
    std::unique_ptr<HostedVst3Plugin> plugin;
    PlugFrame frame;
    IPlugView* view = nullptr;
};

TEST_F(Vst3EditorInAWindow, OpensAtEditorSizeIdledByTheRunLoopAndDrawsWhatTheEditorDraws) {
    ViewRect size;
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), kWidth);
    EXPECT_EQ(size.getHeight(), kHeight);
    EXPECT_EQ(frame.timerCount(), 1u);
    EXPECT_EQ(view->attached(reinterpret_cast<void*>(static_cast<uintptr_t>(window)),
                             kPlatformTypeX11EmbedWindowID),
              kResultFalse)
        << "attached twice";
    EXPECT_EQ(differences(screenshot(), snapshot(0)), 0);

    // A program chosen in the host shows as it does in the other edition.
    plugin->controller()->setParamNormalized(101, 4.0 / 6.0);
    idleFor(100);
    EXPECT_EQ(differences(screenshot(), snapshot(4)), 0);
    EXPECT_TRUE(plugin->handler().calls().size() == 1) << "only the restart, no edits";
}

TEST_F(Vst3EditorInAWindow, TheHostsContentScaleResizesThroughTheFrame) {
    auto* scaling = static_cast<IPlugViewContentScaleSupport*>(nullptr);
    ASSERT_EQ(
        view->queryInterface(IPlugViewContentScaleSupport_iid, reinterpret_cast<void**>(&scaling)),
        kResultOk);
    EXPECT_EQ(scaling->setContentScaleFactor(2.0f), kResultOk);
    idleFor(50);
    ASSERT_FALSE(frame.resizes().empty());
    EXPECT_EQ(frame.resizes().back().getWidth(), 2 * kWidth);
    EXPECT_EQ(frame.resizes().back().getHeight(), 2 * kHeight);
    ViewRect size;
    view->getSize(&size);
    EXPECT_EQ(size.getWidth(), 2 * kWidth);
    scaling->setContentScaleFactor(1.0f);
    scaling->release();
    view->getSize(&size);
    EXPECT_EQ(size.getWidth(), kWidth);
}

TEST_F(Vst3EditorInAWindow, DraggingTheRatioKnobIsOneEditGesture) {
    plugin->controller()->setParamNormalized(5, 0.3);
    idleFor(40);
    plugin->handler().clear();
    pointerTo(296, 83);
    button(true);
    for (int i = 1; i <= 8; ++i)
        pointerTo(296, 83 - 10 * i); // 80 of the knob's 800 pixels
    button(false);
    idleFor(60);
    const std::vector<std::string> calls = plugin->handler().calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front(), "begin 5");
    EXPECT_EQ(calls.back(), "end 5");
    for (std::size_t i = 1; i + 1 < calls.size(); ++i)
        EXPECT_EQ(calls[i].rfind("perform 5 ", 0), 0u) << calls[i];
    EXPECT_NEAR(plugin->controller()->getParamNormalized(5), 0.4, 0.01);
}

// The menu opened on the background at (300, 150) lists the programs beside the sizes, in rows
// of 16 pixels from (413, 141).
TEST_F(Vst3EditorInAWindow, AProgramFromTheMenuIsTheHostsProgramChange) {
    plugin->handler().clear();
    pointerTo(300, 150);
    pressButton(display, 3, true);
    pressButton(display, 3, false);
    idleFor(60);
    pointerTo(kMenuProgramRowX, menuProgramRowY(4)); // the fifth program
    button(true);
    button(false);
    idleFor(60);
    const std::string programChange = "perform " + std::to_string(kProgramId) + " ";
    EXPECT_EQ(plugin->handler().calls(),
              (std::vector<std::string>{
                  "begin " + std::to_string(kProgramId), programChange + std::to_string(4.0 / 6.0),
                  "end " + std::to_string(kProgramId),
                  "restart " + std::to_string(Steinberg::Vst::kParamValuesChanged)}));
    EXPECT_DOUBLE_EQ(plugin->controller()->getParamNormalized(kProgramId), 4.0 / 6.0);
    EXPECT_EQ(plugin->controller()->getParamNormalized(kThreshold),
              vst3Value(kThreshold, factoryProgramValue(4, kThreshold)));
}

TEST_F(Vst3EditorInAWindow, TheMetersMoveWithTheAudio) {
    const Picture idle = screenshot();
    plugin->setup(48000.0, Vst::kSample32);
    plugin->activate(true);
    std::vector<float> loud(4800), left(4800), right(4800);
    for (std::size_t n = 0; n < loud.size(); ++n)
        loud[n] = n % 40 < 20 ? 0.9f : -0.9f;
    float* in[2] = {loud.data(), loud.data()};
    float* out[2] = {left.data(), right.data()};
    for (int block = 0; block < 10; ++block) {
        plugin->process(in, out, 4800);
        idleFor(30);
    }
    EXPECT_GT(differences(screenshot(), idle), 100);
}

} // namespace
