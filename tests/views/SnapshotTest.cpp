#include "TestSupport.h"
#include "platform/PngFile.h"
#include "views/CDrawSurface.h"
#include "views/CFrame.h"
#include "views/FrameSnapshot.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

class Panel : public CView {
  public:
    Panel(const CRect& size, CColor color) : CView(size), color_(color) {}
    void draw(CDrawSurface& surface) override {
        surface.setFillColor(color_);
        surface.fillRect(size_);
        setDirty(false);
    }

  private:
    CColor color_;
};

} // namespace

TEST(FrameSnapshotTest, RendersTheWholeFrameWithoutAWindow) {
    CFrame frame({0, 0, 40, 20}, nullptr);
    frame.addView(new Panel({0, 0, 10, 10}, kColorRed));
    frame.addView(new Panel({30, 10, 50, 30}, kColorGreen)); // reaches beyond the frame
    const SharedRef<CBitmap> image = renderFrame(frame);
    ASSERT_EQ(image->getWidth(), 40);
    ASSERT_EQ(image->getHeight(), 20);
    EXPECT_TRUE(pixelIs(*image, 9, 9, kColorRed));
    EXPECT_TRUE(pixelIs(*image, 39, 19, kColorGreen));
    EXPECT_TRUE(pixelIs(*image, 20, 5, kColorBlack));
}

TEST(FrameSnapshotTest, OffsetFrameIsRenderedFromItsOwnCorner) {
    CFrame frame({100, 50, 120, 60}, nullptr);
    frame.addView(new Panel({100, 50, 105, 55}, kColorRed));
    const SharedRef<CBitmap> image = renderFrame(frame);
    EXPECT_TRUE(pixelIs(*image, 0, 0, kColorRed));
    EXPECT_TRUE(pixelIs(*image, 5, 5, kColorBlack));
}

TEST(PngFileTest, WrittenSnapshotReadsBackAsTheSameImage) {
    CFrame frame({0, 0, 8, 4}, nullptr);
    frame.addView(new Panel({0, 0, 4, 4}, {200, 100, 50, 255}));
    const SharedRef<CBitmap> image = renderFrame(frame);
    const std::string path = ::testing::TempDir() + "qvl_snapshot_test.png";
    ASSERT_TRUE(writeBitmapPng(*image, path));
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    std::remove(path.c_str());
    const SharedRef<CBitmap> back =
        SharedRef<CBitmap>::adopt(CBitmap::fromPng(bytes.data(), bytes.size()));
    ASSERT_EQ(back->getWidth(), 8);
    // Decoding keeps c × 255 >> 8 of each opaque sample.
    EXPECT_TRUE(
        pixelIs(*back, 1, 1,
                {uint8_t(200 * 255 >> 8), uint8_t(100 * 255 >> 8), uint8_t(50 * 255 >> 8), 255}));
    EXPECT_TRUE(pixelIs(*back, 6, 1, kColorBlack));
}

TEST(PngFileTest, EmptyBitmapOrBadPathIsRefused) {
    EXPECT_FALSE(writeBitmapPng(CBitmap(0, 0), ::testing::TempDir() + "never.png"));
    EXPECT_FALSE(writeBitmapPng(CBitmap(2, 2), "/nonexistent-dir/x.png"));
}
