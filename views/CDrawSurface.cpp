#include "views/CDrawSurface.h"

#include "views/DeviceScale.h"
#include "views/LineRaster.h"
#include "views/ViewPlatform.h"

#include <algorithm>
#include <cmath>

namespace {
double usableScale(double scale) {
    return std::isfinite(scale) && scale > 0.0 ? scale : 1.0;
}
} // namespace

CDrawSurface::CDrawSurface(double scale)
    : font_(stockFont(StockFont::kSystem)), scale_(usableScale(scale)) {
    fontSizePx_ = font_->getSize();
    fontStyle_ = font_->getStyle();
}

CDrawSurface::CDrawSurface(std::unique_ptr<DrawDevice> device, double scale) : CDrawSurface(scale) {
    attachDevice(std::move(device));
}

CDrawSurface::~CDrawSurface() = default;

void CDrawSurface::attachDevice(std::unique_ptr<DrawDevice> device) {
    device_ = std::move(device);
    resetClipRect();
}

CRect CDrawSurface::toDevice(const CRect& local) const {
    CRect device = toDeviceRect(local, scale_);
    return device.offset(toDevicePixels(offset_.h, scale_), toDevicePixels(offset_.v, scale_));
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
    CRect local = clip;
    local.normalize();
    CRect device = toDevice(local);
    local.offset(offset_.h, offset_.v);
    if (device_) {
        device.intersect(device_->bounds());
        local.intersect(toEditorRectCovering(device_->bounds(), scale_));
    }
    clip_ = local;
    deviceClip_ = device;
    applyClip(deviceClip_);
}

CRect CDrawSurface::getClipRect() const {
    CRect local = clip_;
    return local.offset(-offset_.h, -offset_.v);
}

void CDrawSurface::resetClipRect() {
    deviceClip_ = device_ ? device_->bounds() : CRect{};
    clip_ = toEditorRectCovering(deviceClip_, scale_);
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
    fillDeviceRect(toDevice(r.normalize()), fillColor_);
}

void CDrawSurface::fillDevicePixels(const CRect& deviceRect) {
    CRect r = deviceRect;
    r.normalize().offset(toDevicePixels(offset_.h, scale_), toDevicePixels(offset_.v, scale_));
    fillDeviceRect(r, fillColor_);
}

// Strokes are laid out in editor pixels and each piece is scaled: a line keeps its place and
// its thickness relative to the editor at every scale.
void CDrawSurface::drawRect(const CRect& rect) {
    CRect r = rect;
    r.normalize();
    for (const CRect& part : rasterizeFrame(r, lineWidth_))
        fillDeviceRect(toDevice(part), frameColor_);
}

void CDrawSurface::lineTo(CPoint p) {
    for (const CRect& part : rasterizeLine(pen_, p, lineWidth_))
        fillDeviceRect(toDevice(part), frameColor_);
    pen_ = p;
}

FontRequest CDrawSurface::fontRequest() const {
    return {font_->getName(), toDevicePixels(fontSizePx_, scale_), fontStyle_};
}

double CDrawSurface::getStringWidth(const char* text) {
    if (!device_ || !text) return 0;
    return device_->measureText(text, fontRequest()).width / scale_;
}

void CDrawSurface::drawString(const char* text, const CRect& rect, int32_t align, bool antialias) {
    if (!device_ || !text || !*text) return;
    const FontRequest font = fontRequest();
    const TextMetrics metrics = device_->measureText(text, font);
    CRect box = rect;
    box = toDeviceRect(box.normalize(), scale_);
    const CPoint offset{toDevicePixels(offset_.h, scale_), toDevicePixels(offset_.v, scale_)};
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
    textClip.offset(offset.h, offset.v).intersect(savedClip);
    if (!textClip.isEmpty()) {
        applyClip(textClip);
        device_->drawText(text, x + offset.h, baseline + offset.v, font, fontColor_, antialias);
        applyClip(savedClip);
    }
}

void CDrawSurface::drawBitmap(const CBitmap& bitmap, const CRect& dest, CPoint sourceOffset) {
    if (!device_ || !bitmap.isLoaded()) return;
    CRect target = dest;
    target = toDevice(target.normalize());
    const CRect savedClip = deviceClip_;
    CRect clip = target;
    clip.intersect(savedClip);
    if (clip.isEmpty()) return;
    applyClip(clip);
    // The image's own scale says how many of its pixels make an editor pixel.
    const CBitmap& image = bitmap.representationFor(scale_);
    device_->drawImage(image, {target.left - toDevicePixels(sourceOffset.h, scale_),
                               target.top - toDevicePixels(sourceOffset.v, scale_)});
    applyClip(savedClip);
}

COffscreenSurface::COffscreenSurface(CFrame*, int32_t width, int32_t height, CColor background,
                                     double scale)
    : CDrawSurface(scale) {
    bitmap_ = SharedRef<CBitmap>::adopt(
        new CBitmap(toDevicePixels(width, getScale()), toDevicePixels(height, getScale())));
    bitmap_->setScale(getScale());
    bitmap_->fill(background);
    attachDevice(viewPlatform().createDrawDevice(*bitmap_));
}

COffscreenSurface::~COffscreenSurface() = default;

void COffscreenSurface::copyFrom(CDrawSurface& destination, const CRect& dest,
                                 CPoint sourceOffset) const {
    bitmap_->draw(destination, dest, sourceOffset);
}
