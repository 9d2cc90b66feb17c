// The built module in a host where GDI+ does not start (a failing gdiplus.dll lies beside this
// program): the editor must not open, and nothing else may suffer.
#include "tests/windows/OpenedModule.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <gdiplus.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A plain visible top-level window standing in for the host's editor window.
class HostWindow {
  public:
    HostWindow() {
        window_ = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 0, 0, 690, 270,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~HostWindow() { DestroyWindow(window_); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND handle() const { return window_; }
    HWND child() const { return GetWindow(window_, GW_CHILD); }

  private:
    HWND window_;
};

using ModuleWithoutGdiplus = OpenedModuleTest;

} // namespace

// Without this the other test would pass with a working GDI+ too. (The file name of the loaded
// gdiplus.dll proves nothing under Wine: its own library takes the name of the file it replaces.)
TEST_F(ModuleWithoutGdiplus, GdiplusStartupFailsInThisHost) {
    HMODULE gdiplus = GetModuleHandleW(L"gdiplus.dll");
    ASSERT_NE(gdiplus, nullptr);
    using Startup = int(WINAPI*)(ULONG_PTR*, const Gdiplus::GdiplusStartupInput*, void*);
    const auto startup = reinterpret_cast<Startup>(
        reinterpret_cast<void*>(GetProcAddress(gdiplus, "GdiplusStartup")));
    ASSERT_NE(startup, nullptr);
    ULONG_PTR token = 0;
    const Gdiplus::GdiplusStartupInput input;
    EXPECT_NE(startup(&token, &input, nullptr), 0);
}

TEST_F(ModuleWithoutGdiplus, TheEditorDoesNotOpenAndTheEffectStillWorks) {
    HostWindow host;
    ASSERT_NE(host.handle(), nullptr);
    EXPECT_EQ(dispatch(vst2::effEditOpen, host.handle()), 0);
    EXPECT_EQ(host.child(), nullptr);
    dispatch(vst2::effEditIdle);
    dispatch(vst2::effEditClose);
    // A second attempt fails the same way.
    EXPECT_EQ(dispatch(vst2::effEditOpen, host.handle()), 0);
    EXPECT_EQ(host.child(), nullptr);

    dispatch(vst2::effSetSampleRate, nullptr, 44100.0f);
    dispatch(vst2::effMainsChanged, nullptr, 0.0f, 1);
    constexpr int kFrames = 256;
    std::vector<float> left(kFrames), right(kFrames), outLeft(kFrames), outRight(kFrames);
    for (int i = 0; i < kFrames; ++i)
        left[i] = right[i] = 0.5f * std::sin(0.05f * static_cast<float>(i));
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    effect_->processReplacing(effect_, inputs, outputs, kFrames);
    for (int i = 0; i < kFrames; ++i)
        ASSERT_TRUE(std::isfinite(outLeft[i]) && std::isfinite(outRight[i])) << "frame " << i;
}
