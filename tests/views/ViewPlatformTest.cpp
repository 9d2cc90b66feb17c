// The views reach the system only through the platform handed to them: a stand-in platform
// sees every window, image and clock reading they ask for.
#include "views/ViewPlatform.h"
#include "TestSupport.h"
#include "views/ArtworkScales.h"
#include "views/CControl.h"
#include "views/CDrawSurface.h"
#include "views/CFrame.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

class QuietWindow : public FrameWindow {
  public:
    void pumpEvents() override {}
    void present(const CBitmap&, const CRect&) override {}
};

// Windows only for parent 0x51, images from a table, a clock the test sets.
class StandInPlatform : public ViewPlatform {
  public:
    std::unique_ptr<DrawDevice> createDrawDevice(CBitmap&) const override { return nullptr; }
    std::unique_ptr<FrameWindow> createFrameWindow(CFrame& frame,
                                                   void* parentWindow) const override {
        windowRequests.push_back({&frame, parentWindow});
        if (parentWindow != kUsableParent) return nullptr;
        return std::make_unique<QuietWindow>();
    }
    ResourceBytes findResourcePng(int32_t resourceId) const override {
        const auto image = images.find(resourceId);
        if (image == images.end()) return {};
        return {image->second.data(), image->second.size()};
    }
    uint32_t tickMs() const override { return nowMs; }
    int32_t doubleClickTimeMs() const override { return doubleClickMs; }

    static inline void* const kUsableParent = reinterpret_cast<void*>(0x51);
    mutable std::vector<std::pair<CFrame*, void*>> windowRequests;
    std::map<int32_t, std::vector<unsigned char>> images;
    uint32_t nowMs = 100000;
    int32_t doubleClickMs = 500;
};

// The stand-in is in use for one test; the platform the program set comes back after it.
class ViewPlatformTest : public ::testing::Test {
  protected:
    ViewPlatformTest() : previous_(viewPlatform()) { useViewPlatform(platform); }
    ~ViewPlatformTest() override { useViewPlatform(previous_); }

    StandInPlatform platform;

  private:
    const ViewPlatform& previous_;
};

std::vector<unsigned char> solidPng(uint32_t width, uint32_t height, CColor color) {
    return encodeRgbaPng(width, height, std::vector<CColor>(std::size_t(width) * height, color));
}

} // namespace

TEST_F(ViewPlatformTest, TheFrameAsksThePlatformForItsWindowInTheHostsParent) {
    CFrame frame({0, 0, 40, 30}, nullptr);
    EXPECT_FALSE(frame.open(reinterpret_cast<void*>(0x77)));
    EXPECT_FALSE(frame.isOpen());
    EXPECT_TRUE(frame.open(StandInPlatform::kUsableParent));
    EXPECT_TRUE(frame.isOpen());
    ASSERT_EQ(platform.windowRequests.size(), 2u);
    EXPECT_EQ(platform.windowRequests[0].first, &frame);
    EXPECT_EQ(platform.windowRequests[0].second, reinterpret_cast<void*>(0x77));
    EXPECT_EQ(platform.windowRequests[1].second, StandInPlatform::kUsableParent);
    // Without a drawing device the frame still idles: nothing is drawn, nothing breaks.
    frame.idle();
}

TEST_F(ViewPlatformTest, ImagesComeFromThePlatformsResourcesAtEachScale) {
    platform.images[31] = solidPng(4, 2, kColorRed);
    platform.images[scaledResourceId(31, 200)] = solidPng(8, 4, kColorBlue);
    const auto image = SharedRef<CBitmap>::adopt(new CBitmap(31));
    ASSERT_TRUE(image->isLoaded());
    EXPECT_EQ(image->getWidth(), 4);
    // Decoding scales 255 by 255 / 256: a step below full.
    EXPECT_TRUE(pixelIs(*image, 3, 1, kColorRed, 1));
    // The artwork drawn for 200 % is the platform's, not an enlargement of the red image.
    const CBitmap& large = image->representationFor(2.0);
    EXPECT_EQ(large.getWidth(), 8);
    EXPECT_TRUE(pixelIs(large, 7, 3, kColorBlue, 1));

    const auto missing = SharedRef<CBitmap>::adopt(new CBitmap(32));
    EXPECT_FALSE(missing->isLoaded());
}

TEST_F(ViewPlatformTest, OffscreenDrawingWithoutADeviceLeavesTheBackground) {
    COffscreenSurface surface(nullptr, 3, 3, kColorGreen);
    surface.setFillColor(kColorRed);
    surface.fillRect({0, 0, 3, 3});
    EXPECT_TRUE(pixelIs(*surface.getBitmap(), 1, 1, kColorGreen));
}

TEST_F(ViewPlatformTest, DoubleClicksFollowThePlatformsClockAndSetting) {
    CControl control({0, 0, 1, 1});
    EXPECT_FALSE(control.isDoubleClick());
    platform.nowMs += 500;
    EXPECT_TRUE(control.isDoubleClick());
    platform.nowMs += 100;
    EXPECT_FALSE(control.isDoubleClick()); // a third press starts over
    platform.nowMs += 501;
    EXPECT_FALSE(control.isDoubleClick()); // too slow: this one counts as a first press
    platform.nowMs += 499;
    EXPECT_TRUE(control.isDoubleClick());
}

TEST_F(ViewPlatformTest, AVeryShortSystemDoubleClickTimeStillAllowsAQuarterSecond) {
    platform.doubleClickMs = 80;
    CControl control({0, 0, 1, 1});
    EXPECT_FALSE(control.isDoubleClick());
    platform.nowMs += 250;
    EXPECT_TRUE(control.isDoubleClick());
    EXPECT_FALSE(control.isDoubleClick());
    platform.nowMs += 251;
    EXPECT_FALSE(control.isDoubleClick());
}
