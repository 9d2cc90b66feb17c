#include "editor/EditorImages.h"
#include "platform/SystemViewPlatform.h"
#include "views/CBitmap.h"

#include <gtest/gtest.h>

#include <cstring>

// The images travel as "PNG" resources of the module that carries the code (this test program
// links them in as the plug-in does).
TEST(ResourcePngTest, EveryEditorImageIsAPngResourceOfTheModule) {
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const int32_t id :
         {kImageBackground, kImageKnob, kImageReadoutPlate, kImageTextKnobPlate, kImageBypass,
          kImageHfHarmonics, kImageLfHarmonics, kImageDelta, kImageScPreview, kImageScFilterType,
          kImageAboutCard, kImageLampLeft, kImageLampRight}) {
        SCOPED_TRACE(id);
        const ResourceBytes bytes = systemViewPlatform().findResourcePng(id);
        ASSERT_NE(bytes.data, nullptr);
        ASSERT_GT(bytes.size, sizeof signature);
        EXPECT_EQ(std::memcmp(bytes.data, signature, sizeof signature), 0);
    }
}

TEST(ResourcePngTest, ImagesLoadByNumberWithTheirSizes) {
    const struct {
        int32_t id;
        int32_t width;
        int32_t height;
    } images[] = {{201, 690, 270}, {214, 200, 154}, {202, 70, 7000}, {215, 12, 24}};
    for (const auto& image : images) {
        SCOPED_TRACE(image.id);
        const auto bitmap = SharedRef<CBitmap>::adopt(new CBitmap(image.id));
        EXPECT_EQ(bitmap->getWidth(), image.width);
        EXPECT_EQ(bitmap->getHeight(), image.height);
    }
}

TEST(ResourcePngTest, NumbersWithoutAPngResourceGiveNothing) {
    // 200 and 217 lie next to the images; 0, negative and above 16 bits cannot name one.
    for (int32_t id : {200, 217, 0, -201, 65536 + 201, 1}) {
        SCOPED_TRACE(id);
        const ResourceBytes bytes = systemViewPlatform().findResourcePng(id);
        EXPECT_EQ(bytes.data, nullptr);
        EXPECT_EQ(bytes.size, 0u);
        const auto bitmap = SharedRef<CBitmap>::adopt(new CBitmap(id));
        EXPECT_FALSE(bitmap->isLoaded());
    }
}
