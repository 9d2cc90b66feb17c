// The VST 3 module's editor through IPlugView in a host's Win32 window, loaded from its bundle by
// the test host. Windows hosts lend a view no timer, so the host here only dispatches its
// messages: the editor must draw what the VST 2 module's editor draws, and move its meters, on
// its own timer; a drag comes back as one begin/perform/end gesture.
#include "HostedVst3Plugin.h"
#include "ModuleEditorTest.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <pluginterfaces/gui/iplugviewcontentscalesupport.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace Steinberg;

constexpr Vst::ParamID kRatio = 5;

class Vst3EditorWindowTest : public ModuleEditorTest {
  protected:
    void SetUp() override {
        ModuleEditorTest::SetUp();
        vst3_ = std::make_unique<HostedVst3Plugin>(QVL_VST3_BUNDLE);
        ASSERT_TRUE(vst3_->isLoaded()) << vst3_->error();
        view_ = vst3_->controller()->createView(Vst::ViewType::kEditor);
        ASSERT_NE(view_, nullptr);
        view_->setFrame(&frame_);
    }

    void TearDown() override {
        if (view_) {
            view_->removed();
            view_->release();
        }
        vst3_.reset();
        ModuleEditorTest::TearDown();
    }

    bool openIn(HWND parent) { return view_->attached(parent, kPlatformTypeHWND) == kResultOk; }

    // The host's main loop and nothing else, for longer than a few of the editor's ticks.
    void dispatchFor(int ms) {
        for (int elapsed = 0; elapsed < ms; elapsed += 10) {
            pumpMessages();
            Sleep(10);
        }
        pumpMessages();
    }

    std::unique_ptr<HostedVst3Plugin> vst3_;
    IPlugView* view_ = nullptr;
    PlugFrame frame_;
};

int differences(const CBitmap& a, const CBitmap& b) {
    if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight()) return -1;
    int count = 0;
    for (int32_t y = 0; y < a.getHeight(); ++y)
        for (int32_t x = 0; x < a.getWidth(); ++x)
            count += a.pixelAt(x, y) != b.pixelAt(x, y);
    return count;
}

TEST_F(Vst3EditorWindowTest, OnlyAnHwndParentIsTaken) {
    EXPECT_EQ(view_->isPlatformTypeSupported(kPlatformTypeHWND), kResultTrue);
    EXPECT_EQ(view_->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultFalse);
    EXPECT_EQ(view_->isPlatformTypeSupported(nullptr), kResultFalse);
    EXPECT_EQ(vst3_->controller()->createView("no such view"), nullptr);

    HostWindow host(690, 270);
    EXPECT_NE(view_->attached(nullptr, kPlatformTypeHWND), kResultOk);
    EXPECT_NE(view_->attached(host.handle(), kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_EQ(host.child(), nullptr);
    ASSERT_TRUE(openIn(host.handle()));
    EXPECT_NE(host.child(), nullptr);
    EXPECT_FALSE(openIn(host.handle())) << "attached twice";
    EXPECT_EQ(view_->removed(), kResultOk);
    EXPECT_EQ(host.child(), nullptr);
    // Its timer went with it: the host's loop runs on without calling into a closed editor.
    dispatchFor(60);
    EXPECT_TRUE(openIn(host.handle())) << "attached again after removal";
}

TEST_F(Vst3EditorWindowTest, DrawsWhatTheVst2EditorDrawsOnItsOwnTimer) {
    vst2::ERect* rect = nullptr;
    ASSERT_EQ(dispatch(vst2::effEditGetRect, &rect), 1);
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    ViewRect size;
    ASSERT_EQ(view_->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), width);
    EXPECT_EQ(size.getHeight(), height);

    HostWindow vst3Host(width, height);
    ASSERT_TRUE(openIn(vst3Host.handle()));
    HostWindow vst2Host(width, height);
    ASSERT_EQ(dispatch(vst2::effEditOpen, vst2Host.handle()), 1);
    idle();
    dispatchFor(150);
    const SharedRef<CBitmap> vst2Shown = captureWindow(vst2Host.handle(), width, height);
    // Not the host window's white: the editor drew.
    EXPECT_NE(vst2Shown->pixelAt(10, 30), 0xFFFFFFFFu);
    EXPECT_EQ(differences(*captureWindow(vst3Host.handle(), width, height), *vst2Shown), 0);
    dispatch(vst2::effEditClose);
}

// The editor takes the largest of its sizes up to the host's scale that fits the screen (Wine's
// null display is small), asks the frame for it and its window follows; 100 % again restores it.
TEST_F(Vst3EditorWindowTest, TheHostsContentScaleResizesTheWindowThroughTheFrame) {
    HostWindow host(2 * 690, 2 * 270);
    ASSERT_TRUE(openIn(host.handle()));
    IPlugViewContentScaleSupport* scaling = nullptr;
    ASSERT_EQ(
        view_->queryInterface(IPlugViewContentScaleSupport_iid, reinterpret_cast<void**>(&scaling)),
        kResultOk);
    const auto childSize = [&host] {
        RECT client{};
        GetClientRect(host.child(), &client);
        return std::pair<int, int>(client.right - client.left, client.bottom - client.top);
    };
    EXPECT_EQ(scaling->setContentScaleFactor(2.0f), kResultOk);
    dispatchFor(60);
    ASSERT_EQ(frame_.resizes().size(), 1u);
    const ViewRect asked = frame_.resizes().back();
    EXPECT_GT(asked.getWidth(), 690);
    EXPECT_LE(asked.getWidth(), 2 * 690);
    EXPECT_NEAR(asked.getHeight(), asked.getWidth() * 270.0 / 690.0, 1.0)
        << "the editor's proportions";
    EXPECT_EQ(childSize(), std::pair(asked.getWidth(), asked.getHeight()));

    EXPECT_EQ(scaling->setContentScaleFactor(1.0f), kResultOk);
    dispatchFor(60);
    ASSERT_EQ(frame_.resizes().size(), 2u);
    EXPECT_EQ(childSize(), std::pair(690, 270));
    scaling->release();
}

TEST_F(Vst3EditorWindowTest, DraggingTheRatioKnobIsOneEditGesture) {
    HostWindow host(690, 270);
    ASSERT_TRUE(openIn(host.handle()));
    vst3_->controller()->setParamNormalized(kRatio, 0.3);
    dispatchFor(60);
    vst3_->handler().clear();
    HWND child = host.child();
    ASSERT_NE(child, nullptr);
    SendMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(296, 83));
    for (int i = 1; i <= 8; ++i)
        SendMessageW(child, WM_MOUSEMOVE, MK_LBUTTON, clientPoint(296, 83 - 10 * i));
    SendMessageW(child, WM_LBUTTONUP, 0, clientPoint(296, 3));
    dispatchFor(60);
    const std::vector<std::string> calls = vst3_->handler().calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front(), "begin 5");
    EXPECT_EQ(calls.back(), "end 5");
    for (std::size_t i = 1; i + 1 < calls.size(); ++i)
        EXPECT_EQ(calls[i].rfind("perform 5 ", 0), 0u) << calls[i];
    // 80 of the knob's 800 pixels up.
    EXPECT_NEAR(vst3_->controller()->getParamNormalized(kRatio), 0.4, 0.01);
}

TEST_F(Vst3EditorWindowTest, TheMetersMoveWhileAudioRuns) {
    HostWindow host(690, 270);
    ASSERT_TRUE(openIn(host.handle()));
    ASSERT_EQ(vst3_->setup(48000.0, Vst::kSample32), kResultOk);
    vst3_->activate(true);
    dispatchFor(60);
    const SharedRef<CBitmap> before = captureWindow(host.handle(), 690, 270);
    std::vector<float> left(4800), right(4800);
    for (std::size_t n = 0; n < left.size(); ++n)
        left[n] = right[n] = 0.9f * static_cast<float>(std::sin(0.05 * static_cast<double>(n)));
    float* io[2] = {left.data(), right.data()};
    for (int block = 0; block < 10; ++block) {
        vst3_->process(io, io, 4800);
        dispatchFor(30);
    }
    EXPECT_GT(differences(*captureWindow(host.handle(), 690, 270), *before), 100);
}

} // namespace
