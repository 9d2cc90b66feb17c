// The built plug-in loaded as a host loads it, its editor opened in a host window: the frame's
// window class belongs to the module, the window shows the module's own images, and a click on
// the version text brings up the about card.
#include "ModuleEditorTest.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kEditorWidth = 690;
constexpr int kEditorHeight = 270;

class ModuleEditorWindowTest : public ModuleEditorTest {
  protected:
    // Window pixels in `area` that differ from the opaque pixels of `image` placed with its
    // top-left corner at `origin`.
    int mismatches(const CBitmap& shown, const CBitmap& image, CPoint origin,
                   const CRect& area) const {
        int count = 0;
        for (int32_t y = area.top; y < area.bottom; ++y)
            for (int32_t x = area.left; x < area.right; ++x) {
                const uint32_t wanted = image.pixelAt(x - origin.h, y - origin.v);
                if (wanted >> 24 == 0xFF && shown.pixelAt(x, y) != wanted) ++count;
            }
        return count;
    }
};

} // namespace

TEST_F(ModuleEditorWindowTest, EditorOpensInTheHostWindowWithTheModulesClassAndImages) {
    vst2::ERect* rect = nullptr;
    ASSERT_EQ(dispatch(vst2::effEditGetRect, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, kEditorWidth);
    EXPECT_EQ(rect->bottom - rect->top, kEditorHeight);

    HostWindow host(kEditorWidth, kEditorHeight);
    ASSERT_EQ(dispatch(vst2::effEditOpen, host.handle()), 1);
    HWND child = host.child();
    ASSERT_NE(child, nullptr);
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    wchar_t expected[32];
    std::swprintf(expected, 32, L"Plugin%p", static_cast<void*>(module_));
    EXPECT_STREQ(className, expected); // the module's handle, as DllMain stored it

    idle();
    const SharedRef<CBitmap> shown = captureWindow(host.handle(), kEditorWidth, kEditorHeight);
    const SharedRef<CBitmap> background = moduleImage(201);
    ASSERT_EQ(background->getWidth(), kEditorWidth);
    // A strip across the top that no control covers shows the background image as it is.
    EXPECT_EQ(mismatches(*shown, *background, {0, 0}, {0, 20, 550, 44}), 0);

    dispatch(vst2::effEditClose);
    EXPECT_EQ(host.child(), nullptr);
}

TEST_F(ModuleEditorWindowTest, ClickOnTheVersionTextShowsTheAboutCardAndAnotherHidesIt) {
    HostWindow host(kEditorWidth, kEditorHeight);
    ASSERT_EQ(dispatch(vst2::effEditOpen, host.handle()), 1);
    idle();
    HWND child = host.child();
    const CRect card{374, 44, 574, 194};
    const SharedRef<CBitmap> cardImage = moduleImage(214);
    ASSERT_EQ(cardImage->getWidth(), 200);
    EXPECT_GT(mismatches(*captureWindow(host.handle(), kEditorWidth, kEditorHeight), *cardImage,
                         CPoint{card.left, card.top}, card),
              1000);

    SendMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(600, 10));
    SendMessageW(child, WM_LBUTTONUP, 0, clientPoint(600, 10));
    idle();
    EXPECT_EQ(mismatches(*captureWindow(host.handle(), kEditorWidth, kEditorHeight), *cardImage,
                         CPoint{card.left, card.top}, card),
              0);

    // Outside the link zone: the card goes (the zone itself would start a browser).
    SendMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(380, 100));
    SendMessageW(child, WM_LBUTTONUP, 0, clientPoint(380, 100));
    idle();
    EXPECT_GT(mismatches(*captureWindow(host.handle(), kEditorWidth, kEditorHeight), *cardImage,
                         CPoint{card.left, card.top}, card),
              1000);
}

TEST_F(ModuleEditorWindowTest, NoParentWindowMeansNoEditor) {
    EXPECT_EQ(dispatch(vst2::effEditOpen, nullptr), 0);
    dispatch(vst2::effEditIdle); // and nothing breaks afterwards
    dispatch(vst2::effEditClose);
}

// A host may hand over a window it has already destroyed (a closed track window): the editor
// stays closed, and the next open into a live window works as usual.
TEST_F(ModuleEditorWindowTest, ADestroyedParentWindowMeansNoEditorUntilALiveOneComes) {
    HWND gone = nullptr;
    {
        HostWindow closed(kEditorWidth, kEditorHeight);
        gone = closed.handle();
    }
    ASSERT_FALSE(IsWindow(gone));
    EXPECT_EQ(dispatch(vst2::effEditOpen, gone), 0);
    dispatch(vst2::effEditIdle);

    HostWindow host(kEditorWidth, kEditorHeight);
    ASSERT_EQ(dispatch(vst2::effEditOpen, host.handle()), 1);
    EXPECT_NE(host.child(), nullptr);
    dispatch(vst2::effEditClose);
    EXPECT_EQ(host.child(), nullptr);
}
