#include "CustomViewsTestSupport.h"
#include "widgets/CTextKnob.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

const CRect kKnobRect{20, 45, 71, 71};
constexpr CColor kNormalText{250, 250, 250, 255};

void detectionText(float value, char* text) {
    std::strcpy(text, value < 0.5f ? "Peak" : "RMS");
}
void emptyText(float, char* text) {
    text[0] = '\0';
}
void withData(float, char* text, void* data) {
    std::strcpy(text, static_cast<const char*>(data));
}

// x of centred text in the knob's rectangle: trunc(width / 2 + left - text width / 2).
double centredX(const char* text) {
    const double width = RecordingDevice::kCharWidthPx * double(std::strlen(text));
    return std::trunc(kKnobRect.width() * 0.5 + kKnobRect.left - width * 0.5);
}

} // namespace

TEST(TextKnobTextTest, WithoutCallbackShowsTwoDecimals) {
    CTextKnob knob(kKnobRect, nullptr, 0, nullptr);
    knob.setValue(0.5f);
    RecordingSurface rec;
    knob.draw(*rec.surface);
    ASSERT_EQ(rec.device->texts.size(), 1u);
    const RecordingDevice::Text& t = rec.device->texts[0];
    EXPECT_EQ(t.text, "0.50");
    EXPECT_EQ(t.x, centredX("0.50"));
    EXPECT_EQ(t.color, kColorWhite);
    EXPECT_EQ(t.font.faceName, "Arial");
    EXPECT_EQ(t.font.sizePx, 12);
    EXPECT_TRUE(t.antialias);
    EXPECT_EQ(t.clip, kKnobRect); // cut to the view
    EXPECT_FALSE(knob.isDirty());
}

TEST(TextKnobTextTest, EditorSetupDrawsPlateAndTextInItsColour) {
    CBitmap plate(49, 19);
    CTextKnob knob(kKnobRect, nullptr, 0, &plate);
    knob.setBackgroundOffset({-1, -4});
    knob.setFont(stockFont(StockFont::kSmaller));
    knob.setFontColor(kNormalText);
    knob.setTextFunction(detectionText);
    knob.setValue(1.0f);
    RecordingSurface rec;
    knob.draw(*rec.surface);
    // The plate is read from (-1, -4): it lands one pixel right and four down of the corner.
    ASSERT_EQ(rec.device->images.size(), 1u);
    EXPECT_EQ(rec.device->images[0].image, &plate);
    EXPECT_EQ(rec.device->images[0].origin, (CPoint{21, 49}));
    ASSERT_EQ(rec.device->texts.size(), 1u);
    EXPECT_EQ(rec.device->texts[0].text, "RMS");
    EXPECT_EQ(rec.device->texts[0].x, centredX("RMS"));
    EXPECT_EQ(rec.device->texts[0].font.sizePx, 10);
    EXPECT_EQ(rec.device->texts[0].color, kNormalText);
    EXPECT_TRUE(rec.device->fills.empty()); // a plate, no back colour
}

TEST(TextKnobTextTest, CallbackWithDataTakesPrecedence) {
    CTextKnob knob(kKnobRect, nullptr, 0, nullptr);
    char data[] = "data";
    knob.setTextFunction(detectionText);
    knob.setTextFunction(withData, data);
    RecordingSurface rec;
    knob.draw(*rec.surface);
    ASSERT_EQ(rec.device->texts.size(), 1u);
    EXPECT_EQ(rec.device->texts[0].text, "data");
}

TEST(TextKnobTextTest, EmptyTextDrawsOnlyTheBackground) {
    CBitmap plate(49, 19);
    CTextKnob knob(kKnobRect, nullptr, 0, &plate);
    knob.setTextFunction(emptyText);
    RecordingSurface rec;
    knob.draw(*rec.surface);
    EXPECT_EQ(rec.device->images.size(), 1u);
    EXPECT_TRUE(rec.device->texts.empty());
}

TEST(TextKnobTextTest, WithoutPlateFillsBackColourAndFramesIt) {
    CTextKnob knob(kKnobRect, nullptr, 0, nullptr);
    knob.setBackColor({10, 20, 30, 255});
    knob.setFrameColor({200, 0, 0, 255});
    Screen screen;
    knob.draw(screen.surface());
    EXPECT_TRUE(screen.is(kKnobRect, 0, 0, {200, 0, 0, 255}));
    EXPECT_TRUE(screen.is(kKnobRect, 50, 25, {200, 0, 0, 255}));
    EXPECT_TRUE(screen.is(kKnobRect, 1, 1, {10, 20, 30, 255}));
    EXPECT_TRUE(screen.is(kKnobRect, -1, 0, kColorBlack)); // nothing outside
    EXPECT_TRUE(screen.is(kKnobRect, 51, 0, kColorBlack));
}

TEST(TextKnobTextTest, ReplacementBackgroundIsDrawnInsteadOfThePlate) {
    CBitmap plate(49, 19);
    CBitmap replacement(49, 19);
    CTextKnob knob(kKnobRect, nullptr, 0, &plate);
    RecordingSurface rec;
    knob.drawText(*rec.surface, "x", &replacement);
    ASSERT_EQ(rec.device->images.size(), 1u);
    EXPECT_EQ(rec.device->images[0].image, &replacement);
}

TEST(TextKnobTextTest, NoDrawStyleDrawsNothing) {
    CTextKnob knob(kKnobRect, nullptr, 0, nullptr);
    knob.setStyle(kNoDrawStyle);
    RecordingSurface rec;
    knob.draw(*rec.surface);
    EXPECT_TRUE(rec.device->texts.empty());
    EXPECT_TRUE(rec.device->fills.empty());
    EXPECT_FALSE(knob.isDirty());
}

// Setters: which ones ask for a redraw.
TEST(TextKnobSetterTest, ChangedLookMarksDirtyUnchangedDoesNot) {
    CTextKnob knob(kKnobRect, nullptr, 0, nullptr);
    const auto clean = [&] { knob.setDirty(false); };
    clean();
    knob.setFontColor(kColorWhite); // the constructor's colour
    knob.setBackColor(kColorBlack);
    knob.setFrameColor(kColorBlack);
    knob.setHoriAlign(kCenterText);
    knob.setStyle(1);
    EXPECT_FALSE(knob.isDirty());

    knob.setFontColor(kNormalText);
    EXPECT_TRUE(knob.isDirty());
    clean();
    knob.setHoriAlign(kRightText);
    EXPECT_TRUE(knob.isDirty());
    clean();
    knob.setStyle(kNoFrame);
    EXPECT_TRUE(knob.isDirty());
    clean();
    knob.setFont(knob.getLook().font.get()); // the same font still redraws
    EXPECT_TRUE(knob.isDirty());
    clean();
    knob.setTextFunction(detectionText);
    knob.setFineFactor(3.0f);
    EXPECT_FALSE(knob.isDirty());
}

TEST(TextKnobSetterTest, ConstructionDefaults) {
    CTextKnob knob(kKnobRect, nullptr, 7, nullptr);
    EXPECT_EQ(knob.getTag(), 7);
    EXPECT_FLOAT_EQ(knob.getValue(), 0.0f);
    EXPECT_FLOAT_EQ(knob.getDefaultValue(), 0.5f);
    EXPECT_EQ(knob.getLook().style, 1);
    EXPECT_EQ(knob.getLook().horizontalAlign, kCenterText);
    EXPECT_EQ(knob.getLook().font.get(), stockFont(StockFont::kNormal));
    EXPECT_TRUE(knob.isDirty());
}

TEST(TextKnobSetterTest, FontReferenceFollowsTheKnob) {
    auto* font = new CFontSpec("Arial", 10);
    {
        CTextKnob knob(kKnobRect, nullptr, 0, nullptr);
        knob.setFont(font);
        EXPECT_EQ(font->getNbReference(), 2);
        knob.setFont(stockFont(StockFont::kNormal));
        EXPECT_EQ(font->getNbReference(), 1);
        knob.setFont(font);
    }
    EXPECT_EQ(font->getNbReference(), 1);
    font->releaseRef();
}
