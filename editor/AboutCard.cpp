#include "editor/AboutCard.h"

#include "editor/ArtworkGeometry.h"
#include "views/CFrame.h"

#include "ProductIdentity.h"

// The product's page tells whether a newer version exists.
const char* const kVersionCheckUrl = QVL_PRODUCT_URL "?checkversion=" QVL_VERSION_NUMBER;

CDefaultSplashScreenView::CDefaultSplashScreenView(const CRect& size, CControlObserver* listener,
                                                   CBitmap* image, CPoint offset, UrlOpener openUrl)
    : CControl(size, listener, 0, image), offset_(offset), openUrl_(std::move(openUrl)) {
    setDirty(true);
}

void CDefaultSplashScreenView::draw(CDrawSurface& surface) {
    if (CBitmap* image = getBackground()) {
        if (getTransparency())
            image->drawTransparent(surface, size_, offset_);
        else
            image->draw(surface, size_, offset_);
    }
    setDirty(false);
}

bool CDefaultSplashScreenView::inLinkZone(CPoint where) const {
    const CRect& r = size_;
    return where.h > r.left && where.v > r.top + kLinkZoneTopPx &&
           where.h < r.right - kLinkZoneRightInsetPx && where.v < r.bottom - kLinkZoneBottomInsetPx;
}

CMouseResult CDefaultSplashScreenView::onMouseDown(CPoint where, int32_t buttons) {
    if (!(buttons & kButtonLeft)) return kMouseNotHandled;
    if (inLinkZone(where)) {
        // Whether a browser came up is not known here; the card stays for another try.
        if (openUrl_) openUrl_(kVersionCheckUrl);
        return kMouseNotHandled;
    }
    if (listener_) listener_->valueChanged(this);
    return kMouseHandledNoTracking;
}

CTextSplash::CTextSplash(const CRect& size, CControlObserver* listener, CBitmap* cardImage,
                         const CRect& cardRect, CPoint offset, UrlOpener openUrl)
    : CControl(size, listener, kTag), cardRect_(cardRect), offset_(offset),
      card_(new CDefaultSplashScreenView(cardRect, this, cardImage, offset, std::move(openUrl))) {}

CTextSplash::~CTextSplash() {
    // The frame never owns the card: it must have left the frame before the trigger goes.
    if (CFrame* frame = getFrame(); frame && frame->getModalOverlay() == card_)
        frame->setModalOverlay(nullptr);
    card_->releaseRef();
}

void CTextSplash::draw(CDrawSurface&) {
    // The version text below shows through; the trigger itself has no look.
    setDirty(false);
}

bool CTextSplash::hitTest(CPoint where, int32_t buttons) {
    return (buttons & kButtonLeft) && clickArea_.pointInside(where);
}

CMouseResult CTextSplash::onMouseDown(CPoint, int32_t buttons) {
    if (!(buttons & kButtonLeft)) return kMouseNotHandled;
    value_ = value_ == 0.0f ? 1.0f : 0.0f;
    CFrame* frame = getFrame();
    if (value_ == 1.0f && frame && frame->setModalOverlay(card_) && listener_)
        listener_->valueChanged(this);
    return kMouseHandledNoTracking;
}

void CTextSplash::hideCard() {
    value_ = 0.0f;
    CFrame* frame = getFrame();
    if (frame && frame->getModalOverlay() == card_) {
        card_->invalidate();
        frame->setModalOverlay(nullptr);
    }
}

void CTextSplash::valueChanged(CControl* control) {
    if (control != card_) return;
    hideCard();
    if (listener_) listener_->valueChanged(this);
}
