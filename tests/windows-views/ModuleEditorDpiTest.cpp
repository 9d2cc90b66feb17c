// The built plug-in on a 192-DPI display (run in a Wine prefix set to 192 DPI): the editor
// reports and opens at 200 %, shows the artwork drawn for 200 %, and a click lands on the
// control under the pointer.
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "plugin/vst2/Vst2Interface.h"
#include "tests/windows/ModuleBesideProgram.h"

#include <gtest/gtest.h>

#include <string>

namespace {

intptr_t VST2_CALL testHost(vst2::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == vst2::audioMasterVersion ? 2400 : 0;
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

} // namespace

TEST(ModuleOnAHighDensityDisplay, OpensAtTwoHundredPercentWithItsOwnArtworkAndTakesClicks) {
    ASSERT_EQ(screenDpi(), 192) << "the test prefix is not set to 192 DPI";
    HMODULE module = LoadLibraryW(modulePath().c_str());
    ASSERT_NE(module, nullptr) << "LoadLibrary failed, error " << GetLastError();
    auto entry = reinterpret_cast<vst2::PluginEntryProc>(
        reinterpret_cast<void*>(GetProcAddress(module, "VSTPluginMain")));
    ASSERT_NE(entry, nullptr);
    vst2::AEffect* effect = entry(testHost);
    ASSERT_NE(effect, nullptr);
    const auto dispatch = [effect](int32_t opcode, void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
    };

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
        for (int i = 0; i < 3; ++i) {
            pumpMessages();
            dispatch(vst2::effEditIdle);
            Sleep(25);
        }
        pumpMessages();

        // A strip under the title that no control covers shows the 200 % background as drawn
        // (as far as Wine's 1024-pixel-wide headless screen lets the window be read back).
        HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(20201), L"PNG");
        ASSERT_NE(resource, nullptr);
        const SharedRef<CBitmap> background = SharedRef<CBitmap>::adopt(CBitmap::fromPng(
            static_cast<const unsigned char*>(LockResource(LoadResource(module, resource))),
            SizeofResource(module, resource)));
        ASSERT_EQ(background->getWidth(), 1380);
        const SharedRef<CBitmap> shown = captureWindow(host.handle(), 1380, 540);
        int mismatches = 0;
        for (int32_t y = 40; y < 88; ++y)
            for (int32_t x = 0; x < 1000; ++x)
                mismatches += shown->pixelAt(x, y) != background->pixelAt(x, y);
        EXPECT_EQ(mismatches, 0);

        // Bypass sits at (567, 240) in the editor's own pixels.
        ASSERT_EQ(effect->getParameter(effect, 16), 0.0f);
        SendMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(1134, 480));
        SendMessageW(child, WM_LBUTTONUP, 0, clientPoint(1134, 480));
        EXPECT_EQ(effect->getParameter(effect, 16), 1.0f);
        dispatch(vst2::effEditClose);
    }
    dispatch(vst2::effClose);
    FreeLibrary(module);
}
