#include "views/CView.h"

#include "views/CDrawSurface.h"
#include "views/CFrame.h"

CView::CView(const CRect& size) : size_(size), clickArea_(size) {}

CView::~CView() = default;

void CView::draw(CDrawSurface& surface) {
    if (background_) background_->draw(surface, size_);
    setDirty(false);
}

void CView::drawRect(CDrawSurface& surface, const CRect&) {
    draw(surface);
}

bool CView::checkUpdate(const CRect& rect) const {
    return size_.overlaps(rect);
}

void CView::invalidRect(const CRect& rect) {
    if (frame_) frame_->invalidRect(rect);
}

void CView::invalidate() {
    setDirty(false);
    invalidRect(size_);
}

CMouseResult CView::onMouseDown(CPoint, int32_t) {
    return kMouseNotImplemented;
}
CMouseResult CView::onMouseUp(CPoint, int32_t) {
    return kMouseNotImplemented;
}
CMouseResult CView::onMouseMoved(CPoint, int32_t) {
    return kMouseNotImplemented;
}

bool CView::hitTest(CPoint where, int32_t) {
    return clickArea_.pointInside(where);
}

bool CView::onWheel(CPoint, float, int32_t) {
    return false;
}
int32_t CView::onKeyDown(const CKeyCode&) {
    return kKeyNotUsed;
}
int32_t CView::onKeyUp(const CKeyCode&) {
    return kKeyNotUsed;
}

void CView::setBackground(CBitmap* bitmap) {
    background_ = SharedRef<CBitmap>(bitmap);
}

void CView::attached(CViewContainer* parent, CFrame* frame) {
    parent_ = parent;
    frame_ = frame;
}

void CView::removed() {
    parent_ = nullptr;
    frame_ = nullptr;
}
