// The about card: shown by a left click on the version text, the link zone with its borders,
// hiding, clicks while it is up, and no parameter ever touched.

#include "EditorTestSupport.h"

#include "editor/AboutCard.h"

#include <gtest/gtest.h>

namespace {

constexpr CPoint kVersionText{600, 10};

class AboutCard : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(f.open()); }
    bool cardShown() { return f.frame().getModalOverlay() == f.views().aboutTrigger->getCard(); }
    void showCard() {
        f.click(kVersionText);
        ASSERT_TRUE(cardShown());
    }
    EditorFixture f;
};

} // namespace

TEST_F(AboutCard, TheAddressIsTheVersionCheckPageOfThisVersion) {
    EXPECT_STREQ(kVersionCheckUrl,
                 "http://www.velmorinthlabs.com/qvl-feedback-compressor?checkversion=0.9.03");
}

TEST_F(AboutCard, ARightClickOnTheVersionTextDoesNothing) {
    f.click(kVersionText, kButtonRight);
    EXPECT_FALSE(cardShown());
    EXPECT_EQ(f.views().aboutTrigger->getValue(), 0.0f);
}

TEST_F(AboutCard, ALeftClickShowsTheCardOverTheGraph) {
    f.click(kVersionText);
    EXPECT_TRUE(cardShown());
    EXPECT_EQ(f.views().aboutTrigger->getValue(), 1.0f);
    EXPECT_EQ(f.views().aboutTrigger->getCard()->getViewSize(), (CRect{374, 44, 574, 194}));
    // The trigger's edges belong to it.
    f.editor->close();
    ASSERT_TRUE(f.open());
    f.click({562, 3});
    EXPECT_TRUE(cardShown());
}

TEST_F(AboutCard, TheLinkZoneOpensThePageAndTheCardStays) {
    showCard();
    f.click({380, 150});
    ASSERT_EQ(f.openedUrls.size(), 1u);
    EXPECT_EQ(f.openedUrls[0], kVersionCheckUrl);
    EXPECT_TRUE(cardShown());
    f.click({380, 150});
    EXPECT_EQ(f.openedUrls.size(), 2u);
}

TEST_F(AboutCard, TheZonesInnerCornersOpenThePage) {
    const CPoint inside[] = {{375, 145}, {513, 145}, {375, 163}, {513, 163}};
    showCard();
    for (CPoint p : inside) {
        SCOPED_TRACE(testing::Message() << p.h << "," << p.v);
        f.click(p);
        EXPECT_TRUE(cardShown());
    }
    EXPECT_EQ(f.openedUrls.size(), 4u);
}

TEST_F(AboutCard, ClicksOnTheZonesBordersHideTheCardInstead) {
    const CPoint borders[] = {{374, 150}, {514, 150}, {380, 144}, {380, 164}};
    for (CPoint p : borders) {
        SCOPED_TRACE(testing::Message() << p.h << "," << p.v);
        showCard();
        f.click(p);
        EXPECT_FALSE(cardShown());
        EXPECT_EQ(f.views().aboutTrigger->getValue(), 0.0f);
    }
    EXPECT_TRUE(f.openedUrls.empty());
}

TEST_F(AboutCard, AClickElsewhereOnTheCardHidesItAndTheNextClickShowsItAgain) {
    showCard();
    f.click({380, 100});
    EXPECT_FALSE(cardShown());
    showCard();
}

TEST_F(AboutCard, WhileTheCardIsUpOtherClicksAreIgnored) {
    f.host.set(5, 0.2f);
    showCard();
    f.drag({296, 83}, 300, 0); // the ratio knob, outside the card
    f.click({567, 240});       // bypass
    f.click(kVersionText);
    f.click({380, 150}, kButtonRight); // other buttons on the card are not handled
    EXPECT_TRUE(cardShown());
    EXPECT_EQ(f.host.getParameter(5), 0.2f);
    EXPECT_EQ(f.host.getParameter(16), 0.0f);
    EXPECT_TRUE(f.openedUrls.empty());
}

TEST_F(AboutCard, NoParameterIsEverTouched) {
    showCard();
    f.click({380, 150});
    f.click({380, 100});
    showCard();
    f.click({500, 180});
    EXPECT_TRUE(f.host.calls.empty());
}

TEST_F(AboutCard, ClosingWithTheCardUpAndReopeningStartsHidden) {
    showCard();
    f.editor->close();
    ASSERT_TRUE(f.open());
    EXPECT_FALSE(cardShown());
    EXPECT_EQ(f.frame().getModalOverlay(), nullptr);
    EXPECT_EQ(f.views().aboutTrigger->getValue(), 0.0f);
}
