// The CLAP module on a 192-DPI display (the same 192-DPI Wine prefix): whether or not the host
// announces the display's scale, its editor takes the size the VST 2 module's takes there and
// draws the same pixels.
#include "HostedClapPlugin.h"
#include "ModuleEditorTest.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using ClapOnAHighDensityDisplay = ModuleEditorTest;

TEST_F(ClapOnAHighDensityDisplay, TakesTheVst2EditorsSizeAndPixelsWithOrWithoutTheHostsScale) {
    vst2::ERect* rect = nullptr;
    ASSERT_EQ(dispatch(vst2::effEditGetRect, &rect), 1);
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    ASSERT_GT(width, 690) << "the display's scale made the VST 2 editor larger than 100 %";

    HostedClapPlugin clap(QVL_CLAP_MODULE_PATH);
    ASSERT_TRUE(clap.isLoaded()) << clap.error();
    const auto* gui = clap.extension<clap_plugin_gui_t>(CLAP_EXT_GUI);
    const clap_plugin_t* p = clap.plugin();
    ASSERT_TRUE(gui->create(p, CLAP_WINDOW_API_WIN32, false));
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(gui->get_size(p, &w, &h));
    EXPECT_EQ(w, static_cast<uint32_t>(width)) << "no scale from the host: the display's";
    EXPECT_EQ(h, static_cast<uint32_t>(height));
    // Windows hosts announce the display's scale (physical pixels): the same answer.
    EXPECT_TRUE(gui->set_scale(p, 2.0));
    ASSERT_TRUE(gui->get_size(p, &w, &h));
    EXPECT_EQ(w, static_cast<uint32_t>(width));
    EXPECT_EQ(h, static_cast<uint32_t>(height));

    HostWindow clapHost(width, height);
    clap_window_t parent{};
    parent.api = CLAP_WINDOW_API_WIN32;
    parent.win32 = clapHost.handle();
    ASSERT_TRUE(gui->set_parent(p, &parent));
    HostWindow vst2Host(width, height);
    ASSERT_EQ(dispatch(vst2::effEditOpen, vst2Host.handle()), 1);
    idle();
    for (int i = 0; i < 4; ++i) {
        pumpMessages();
        clap.fireTimer();
        Sleep(clap.timerPeriodMs);
    }
    pumpMessages();
    const SharedRef<CBitmap> vst2Shown = captureWindow(vst2Host.handle(), width, height);
    const SharedRef<CBitmap> clapShown = captureWindow(clapHost.handle(), width, height);
    EXPECT_NE(vst2Shown->pixelAt(10, 30), 0xFFFFFFFFu) << "not the host window's white";
    int differences = 0;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            differences += clapShown->pixelAt(x, y) != vst2Shown->pixelAt(x, y);
    EXPECT_EQ(differences, 0);
    dispatch(vst2::effEditClose);
    gui->destroy(p);
}

} // namespace
