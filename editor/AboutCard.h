#pragma once

#include "views/CControl.h"
#include "views/CControlObserver.h"

#include <functional>

// The maker's version-check page; the query carries this build's version.
extern const char* const kVersionCheckUrl;

// Opens an address in the user's browser (injected so that tests start no browser).
using UrlOpener = std::function<void(const char* url)>;

// The about card: an image shown as the frame's modal view. A left click on its link zone
// opens the version-check page and leaves the card up; any other left click hides it.
class CDefaultSplashScreenView : public CControl {
  public:
    CDefaultSplashScreenView(const CRect& size, CControlObserver* listener, CBitmap* image,
                             CPoint offset, UrlOpener openUrl);

    void draw(CDrawSurface& surface) override;
    CMouseResult onMouseDown(CPoint where, int32_t buttons) override;

    // The link zone, strictly inside: 1 ... 139 across and 101 ... 119 down from the card's
    // top-left corner for the 200 x 150 card.
    bool inLinkZone(CPoint where) const;

  private:
    CPoint offset_;
    UrlOpener openUrl_;
};

// An invisible control over the version text: a left click shows the card as the frame's
// modal view; the card reports back here when it is clicked away. Value 1 while shown.
class CTextSplash : public CControl, public CControlObserver {
  public:
    static constexpr int32_t kTag = 777;

    CTextSplash(const CRect& size, CControlObserver* listener, CBitmap* cardImage,
                const CRect& cardRect, CPoint offset, UrlOpener openUrl);
    ~CTextSplash() override;
    CTextSplash(const CTextSplash&) = delete;
    CTextSplash& operator=(const CTextSplash&) = delete;

    void draw(CDrawSurface& surface) override;
    CMouseResult onMouseDown(CPoint where, int32_t buttons) override;
    // Only a left press inside the click area, edges included.
    bool hitTest(CPoint where, int32_t buttons) override;

    void hideCard();
    const CRect& getCardRect() const { return cardRect_; }
    CDefaultSplashScreenView* getCard() const { return card_; }

    void valueChanged(CControl* control) override;
    void editBegun(CControl*) override {}
    void editEnded(CControl*) override {}
    int32_t modifierClicked(CControl*, int32_t) override { return 0; }

  private:
    CRect cardRect_;
    CPoint offset_;
    CDefaultSplashScreenView* card_;
};
