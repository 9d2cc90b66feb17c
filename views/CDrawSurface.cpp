#include "views/CDrawSurface.h"

#include "views/LineRaster.h"
#include "views/PlatformHooks.h"

#include <algorithm>
#include <cmath>

CDrawSurface::CDrawSurface() : font_(stockFont(StockFont::kSystem)) {
    fontSizePx_ = font_->getSize();
    fontStyle_ = font_->getStyle();
}

CDrawSurface::CDrawSurface(std::unique_ptr<DrawDevice> device) : CDrawSurface() {
    attachDevice(std::move(device));
}

CDrawSurface::~CDrawSurface() = default;

void CDrawSurface::attachDevice(std::unique_ptr<DrawDevice> device) {
    device_ = std::move(device);
    deviceClip_ = device_ ? device_->bounds() : CRect{};
    applyClip(deviceClip_);
}

void CDrawSurface::setFillColor(CColor color) {
    fillColor_ = color;
}

void CDrawSurface::setFrameColor(CColor color) {
    frameColor_ = color;
}

void CDrawSurface::setFont(CFontSpec* font, int32_t sizePx, int32_t style) {
    if (!font) return;
    font_ = SharedRef<CFontSpec>(font);
    fontSizePx_ = sizePx != 0 ? sizePx : font->getSize();
    fontStyle_ = style != -1 ? style : font->getStyle();
}

void CDrawSurface::setLineWidth(int32_t widthPx) {
    lineWidth_ = std::max(widthPx, 1);
}

void CDrawSurface::setClipRect(const CRect& clip) {
    CRect device = clip;
    device.normalize().offset(offset_.h, offset_.v);
    if (device_) device.intersect(device_->bounds());
    deviceClip_ = device;
    applyClip(deviceClip_);
}

CRect CDrawSurface::getClipRect() const {
    CRect local = deviceClip_;
    return local.offset(-offset_.h, -offset_.v);
}

void CDrawSurface::resetClipRect() {
    deviceClip_ = device_ ? device_->bounds() : CRect{};
    applyClip(deviceClip_);
}

void CDrawSurface::applyClip(const CRect& deviceClip) {
    if (device_) device_->setClip(deviceClip);
}

void CDrawSurface::fillDeviceRect(CRect deviceRect, CColor color) {
    deviceRect.intersect(deviceClip_);
    if (device_ && !deviceRect.isEmpty()) device_->fillRect(deviceRect, color);
}

void CDrawSurface::fillRect(const CRect& rect) {
    CRect r = rect;
    fillDeviceRect(r.normalize().offset(offset_.h, offset_.v), fillColor_);
}

void CDrawSurface::drawRect(const CRect& rect) {
    CRect r = rect;
    r.normalize().offset(offset_.h, offset_.v);
    for (const CRect& part : rasterizeFrame(r, lineWidth_))
        fillDeviceRect(part, frameColor_);
}

void CDrawSurface::lineTo(CPoint p) {
    CPoint from = pen_;
    CPoint to = p;
    from.offset(offset_.h, offset_.v);
    to.offset(offset_.h, offset_.v);
    for (const CRect& part : rasterizeLine(from, to, lineWidth_))
        fillDeviceRect(part, frameColor_);
    pen_ = p;
}

FontRequest CDrawSurface::fontRequest() const {
    return {font_->getName(), fontSizePx_, fontStyle_};
}

double CDrawSurface::getStringWidth(const char* text) {
    if (!device_ || !text) return 0;
    return device_->measureText(text, fontRequest()).width;
}

void CDrawSurface::drawString(const char* text, const CRect& rect, int32_t align, bool antialias) {
    if (!device_ || !text || !*text) return;
    const FontRequest font = fontRequest();
    const TextMetrics metrics = device_->measureText(text, font);
    CRect box = rect;
    box.normalize();
    double x = box.left;
    if (align == kRightText)
        x = box.right - metrics.width;
    else if (align == kCenterText)
        x = std::trunc(box.width() * 0.5 + box.left - metrics.width * 0.5);
    // Centred on the rectangle by the font's height; the baseline lands on a whole pixel so
    // that hinted glyphs stay sharp.
    const double baseline = std::floor(
        box.top + (box.height() - (metrics.ascent + metrics.descent)) * 0.5 + metrics.ascent + 0.5);

    const CRect savedClip = deviceClip_;
    CRect textClip = box;
    textClip.offset(offset_.h, offset_.v).intersect(savedClip);
    if (!textClip.isEmpty()) {
        applyClip(textClip);
        device_->drawText(text, x + offset_.h, baseline + offset_.v, font, fontColor_, antialias);
        applyClip(savedClip);
    }
}

void CDrawSurface::drawBitmap(const CBitmap& bitmap, const CRect& dest, CPoint sourceOffset,
                              uint8_t alpha) {
    if (!device_ || !bitmap.isLoaded()) return;
    CRect target = dest;
    target.normalize().offset(offset_.h, offset_.v);
    const CRect savedClip = deviceClip_;
    CRect clip = target;
    clip.intersect(savedClip);
    if (clip.isEmpty()) return;
    applyClip(clip);
    device_->drawImage(bitmap, {target.left - sourceOffset.h, target.top - sourceOffset.v}, alpha);
    applyClip(savedClip);
}

COffscreenSurface::COffscreenSurface(CFrame*, int32_t width, int32_t height, CColor background)
    : bitmap_(SharedRef<CBitmap>::adopt(new CBitmap(width, height))) {
    bitmap_->fill(background);
    attachDevice(createBitmapDrawDevice(*bitmap_));
}

COffscreenSurface::~COffscreenSurface() = default;

void COffscreenSurface::copyFrom(CDrawSurface& destination, const CRect& dest,
                                 CPoint sourceOffset) const {
    bitmap_->draw(destination, dest, sourceOffset);
}
