// The built plug-in on a 192-DPI display (run in a Wine prefix set to 192 DPI). Wine's headless
// screen is 1024 x 768 pixels, where the 200 % editor (1380 pixels wide) does not fit: left to
// itself the editor takes the largest size the screen holds. Chosen by the user, 200 % opens
// as chosen, shows the artwork drawn for 200 %, and a click lands on the control under it.
#include "ModuleEditorTest.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

RECT workArea() {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// The user's choice of size, as the editor's menu saves it, for as long as the test runs.
class ScaleChoice {
  public:
    explicit ScaleChoice(const char* percent) {
        CreateDirectoryW(folder_.c_str(), nullptr);
        if (FILE* f = _wfopen(file_.c_str(), L"wb")) {
            std::fprintf(f, "scale=%s\n", percent);
            std::fclose(f);
        }
    }
    ~ScaleChoice() {
        DeleteFileW(file_.c_str());
        RemoveDirectoryW(folder_.c_str());
    }

  private:
    const std::wstring folder_ = std::wstring(_wgetenv(L"APPDATA")) + L"\\qvl-feedback-compressor";
    const std::wstring file_ = folder_ + L"\\editor.conf";
};

using ModuleOnAHighDensityDisplay = ModuleEditorTest;

} // namespace

TEST_F(ModuleOnAHighDensityDisplay, OpensAtTheLargestSizeItsScreenHolds) {
    ASSERT_EQ(screenDpi(), 192) << "the test prefix is not set to 192 DPI";
    const RECT area = workArea();
    ASSERT_EQ(area.right - area.left, 1024) << "the test expects Wine's headless screen";
    // 200 % and 150 % (1035 pixels) are wider than the screen; 125 % fits.
    vst2::ERect* rect = nullptr;
    ASSERT_EQ(dispatch(vst2::effEditGetRect, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 863);
    EXPECT_EQ(rect->bottom - rect->top, 338);
}

TEST_F(ModuleOnAHighDensityDisplay,
       OpensAtTwoHundredPercentWhenChosenWithItsOwnArtworkAndTakesClicks) {
    ASSERT_EQ(screenDpi(), 192) << "the test prefix is not set to 192 DPI";
    const ScaleChoice chosen("200");
    vst2::ERect* rect = nullptr;
    ASSERT_EQ(dispatch(vst2::effEditGetRect, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 1380);
    EXPECT_EQ(rect->bottom - rect->top, 540);

    {
        HostWindow host(1380, 540);
        ASSERT_EQ(dispatch(vst2::effEditOpen, host.handle()), 1);
        HWND child = host.child();
        ASSERT_NE(child, nullptr);
        RECT client{};
        GetClientRect(child, &client);
        EXPECT_EQ(client.right - client.left, 1380);
        EXPECT_EQ(client.bottom - client.top, 540);
        idle();

        // A strip under the title that no control covers shows the 200 % background as drawn
        // (as far as Wine's 1024-pixel-wide headless screen lets the window be read back).
        const SharedRef<CBitmap> background = moduleImage(20201);
        ASSERT_TRUE(background);
        ASSERT_EQ(background->getWidth(), 1380);
        const SharedRef<CBitmap> shown = captureWindow(host.handle(), 1380, 540);
        int mismatches = 0;
        for (int32_t y = 40; y < 88; ++y)
            for (int32_t x = 0; x < 1000; ++x)
                mismatches += shown->pixelAt(x, y) != background->pixelAt(x, y);
        EXPECT_EQ(mismatches, 0);

        // Bypass sits at (567, 240) in the editor's own pixels.
        ASSERT_EQ(effect_->getParameter(effect_, 16), 0.0f);
        SendMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(1134, 480));
        SendMessageW(child, WM_LBUTTONUP, 0, clientPoint(1134, 480));
        EXPECT_EQ(effect_->getParameter(effect_, 16), 1.0f);
        dispatch(vst2::effEditClose);
    }
}
