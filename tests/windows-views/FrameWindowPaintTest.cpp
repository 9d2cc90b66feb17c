// What the frame's child window shows equals the frame drawn without a window: fills, frames,
// lines, clipping, images and blending (text is left out: Wine's glyphs are not Windows').
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "views/CDrawSurface.h"
#include "views/CFrame.h"
#include "views/COnOffButton.h"
#include "views/FrameSnapshot.h"

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 100;

// Every drawing operation of the framework but text, in local coordinates of an off-screen
// surface as the custom views use it, and straight into the frame's context.
class ShapesView : public CView {
  public:
    explicit ShapesView(const CRect& size) : CView(size) {
        image_ = SharedRef<CBitmap>::adopt(new CBitmap(215)); // lamps: 12 x 24, with alpha
    }

    void draw(CDrawSurface& surface) override {
        const int32_t w = size_.width();
        const int32_t h = size_.height();
        COffscreenSurface offscreen(nullptr, w, h, kColorBlack);
        offscreen.setClipRect({0, 0, w, h});
        offscreen.setFrameColor({66, 66, 66, 255});
        offscreen.drawRect({0, 0, w, h});
        offscreen.setFillColor({0, 204, 255, 255});
        offscreen.fillRect({2, h - 2, w - 2, 20}); // y values swapped: still filled
        offscreen.setFillColor({255, 20, 0, 100});
        offscreen.fillRect({1, 30, w - 1, 40});
        offscreen.setFrameColor(kColorYellow);
        offscreen.moveTo({3, 3});
        offscreen.lineTo({w + 40, h - 3}); // cut at the right edge
        offscreen.setLineWidth(3);
        offscreen.moveTo({5, 12});
        offscreen.lineTo({w - 6, 12});
        offscreen.copyFrom(surface, size_);

        image_->draw(surface, {size_.right + 4, size_.top, size_.right + 16, size_.top + 12},
                     {0, 12});
        setDirty(false);
    }

  private:
    SharedRef<CBitmap> image_;
};

class FrameWindowPaintTest : public testing::Test {
  protected:
    void SetUp() override {
        // Opaque like the editor's background, so every repaint starts from the same pixels.
        const auto background = SharedRef<CBitmap>::adopt(new CBitmap(kWidth, kHeight));
        background->fill({30, 40, 50, 255});
        frame.setBackground(background.get());
        panel = new ProbeView({150, 60, 190, 90}, kColorRed);
        frame.addView(panel);
        frame.addView(new ShapesView({10, 10, 110, 70}));
        button = new COnOffButton({150, 5, 162, 17}, nullptr, 0, buttonImage.get());
        button->setValue(1.0f);
        frame.addView(button);
        auto* cover = new ProbeView({170, 70, 230, 120}, {0, 0, 255, 128}); // over the edge
        frame.addView(cover);
        ASSERT_TRUE(frame.open(host.handle()));
    }

    // The window's pixels against the frame drawn off-screen, pixel for pixel.
    void expectWindowShowsTheFrame() {
        const SharedRef<CBitmap> expected = renderFrame(frame);
        const SharedRef<CBitmap> shown = captureWindow(host.handle(), kWidth, kHeight);
        int differing = 0;
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x)
                if (shown->pixelAt(x, y) != expected->pixelAt(x, y) && ++differing <= 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " shows " << std::hex
                                  << shown->pixelAt(x, y) << " instead of "
                                  << expected->pixelAt(x, y);
        EXPECT_EQ(differing, 0);
    }

    HostWindow host{kWidth + 50, kHeight + 50};
    CFrame frame{{0, 0, kWidth, kHeight}, nullptr};
    SharedRef<CBitmap> buttonImage = SharedRef<CBitmap>::adopt(new CBitmap(215));
    ProbeView* panel = nullptr;
    COnOffButton* button = nullptr;
};

} // namespace

TEST_F(FrameWindowPaintTest, WindowShowsTheFrameAfterIdle) {
    frame.idle();
    expectWindowShowsTheFrame();
    // Independent of the comparison: the panel's red and the blue cover blended over it.
    const SharedRef<CBitmap> shown = captureWindow(host.handle(), kWidth, kHeight);
    EXPECT_TRUE(pixelIs(*shown, 155, 65, kColorRed));
    EXPECT_TRUE(pixelIs(*shown, 175, 75, {127, 0, 128, 255}, 1));
    EXPECT_TRUE(pixelIs(*shown, 10, 10, {66, 66, 66, 255})); // the frame ring's corner
}

TEST_F(FrameWindowPaintTest, ChangedViewIsRepaintedAtTheNextIdle) {
    frame.idle();
    panel->setColor(kColorGreen);
    panel->setDirty(true);
    button->setValue(0.0f);
    frame.idle();
    expectWindowShowsTheFrame();
    const SharedRef<CBitmap> shown = captureWindow(host.handle(), kWidth, kHeight);
    EXPECT_TRUE(pixelIs(*shown, 155, 65, kColorGreen));
}

TEST_F(FrameWindowPaintTest, UncoveredWindowIsRestoredFromTheBackBuffer) {
    frame.idle();
    HWND child = host.child();
    // Something else paints over the window; the system then asks it to paint itself.
    HDC dc = GetDC(child);
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(child, dc);
    InvalidateRect(child, nullptr, TRUE);
    UpdateWindow(child);
    expectWindowShowsTheFrame();
}
