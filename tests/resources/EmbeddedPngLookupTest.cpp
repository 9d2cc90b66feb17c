// Every image the editor loads is carried by the library, decodes, and has the size and
// frame layout its view expects; numbers of no image find nothing.
#include "DecodedPng.h"
#include "resources/EmbeddedResources.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

namespace {

struct ImageLayout {
    int id;
    int widthPx;
    int heightPx;
    int frameHeightPx;
    int frames;
};

// Names the image in failure messages instead of dumping bytes.
std::ostream& operator<<(std::ostream& out, const ImageLayout& s) {
    return out << "image " << s.id;
}

// Sizes and film-strip layouts of the editor's image table.
const ImageLayout kLayouts[] = {
    {201, 690, 270, 270, 1}, {202, 70, 7000, 70, 100}, {203, 51, 17, 17, 1},
    {204, 49, 19, 19, 1},    {205, 55, 100, 50, 2},    {207, 55, 50, 25, 2},
    {208, 55, 50, 25, 2},    {209, 55, 50, 25, 2},     {210, 55, 50, 25, 2},
    {212, 55, 213, 71, 3},   {214, 200, 154, 154, 1},  {215, 12, 24, 12, 2},
    {216, 12, 24, 12, 2},
};

class EmbeddedImage : public testing::TestWithParam<ImageLayout> {};

TEST_P(EmbeddedImage, IsFoundUnderItsNumber) {
    const EmbeddedResource* resource = findEmbeddedPng(GetParam().id);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(resource->id, GetParam().id);
    ASSERT_NE(resource->data, nullptr);
    // A PNG starts with its 8-byte signature.
    ASSERT_GT(resource->size, 8u);
    const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    for (std::size_t i = 0; i < sizeof signature; ++i)
        EXPECT_EQ(resource->data[i], signature[i]) << "byte " << i;
}

TEST_P(EmbeddedImage, DecodesToItsTableSize) {
    const ImageLayout& layout = GetParam();
    const DecodedPng png = decodePng(*findEmbeddedPng(layout.id));
    ASSERT_TRUE(png.ok);
    EXPECT_EQ(png.width, layout.widthPx);
    EXPECT_EQ(png.height, layout.heightPx);
}

TEST_P(EmbeddedImage, HeightDividesIntoWholeFrames) {
    const ImageLayout& layout = GetParam();
    const DecodedPng png = decodePng(*findEmbeddedPng(layout.id));
    ASSERT_TRUE(png.ok);
    EXPECT_EQ(png.height % layout.frameHeightPx, 0);
    EXPECT_EQ(png.height / layout.frameHeightPx, layout.frames);
}

INSTANTIATE_TEST_SUITE_P(EditorImages, EmbeddedImage, testing::ValuesIn(kLayouts),
                         [](const testing::TestParamInfo<ImageLayout>& p) {
                             return "Image" + std::to_string(p.param.id);
                         });

// 206, 211 and 213 were painted once for controls the editor does not have.
TEST(EmbeddedImageLookup, NumbersOfNoImageFindNothing) {
    for (int id : {200, 206, 211, 213, 217, 15206, 30213, -1, 0, 1, 2000, INT_MIN, INT_MAX})
        EXPECT_EQ(findEmbeddedPng(id), nullptr) << "id " << id;
}

TEST(EmbeddedImageLookup, EveryNumberFindsADistinctImage) {
    for (const ImageLayout& a : kLayouts)
        for (const ImageLayout& b : kLayouts) {
            if (a.id >= b.id) continue;
            EXPECT_NE(findEmbeddedPng(a.id)->data, findEmbeddedPng(b.id)->data)
                << a.id << " " << b.id;
        }
}

} // namespace
