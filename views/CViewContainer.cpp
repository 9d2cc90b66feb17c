#include "views/CViewContainer.h"

#include "views/CDrawSurface.h"
#include "views/CFrame.h"

#include <algorithm>

CViewContainer::CViewContainer(const CRect& size) : CView(size) {}

CViewContainer::~CViewContainer() {
    removeAll();
}

bool CViewContainer::addView(CView* view) {
    if (!view || view->getParent() || view == this) return false;
    children_.push_back(view);
    view->attached(this, getFrame());
    return true;
}

bool CViewContainer::removeView(CView* view, bool release) {
    const auto found = std::find(children_.begin(), children_.end(), view);
    if (found == children_.end()) return false;
    children_.erase(found);
    if (CFrame* frame = getFrame()) frame->viewRemoved(view);
    view->removed();
    if (release) view->releaseRef();
    return true;
}

void CViewContainer::removeAll() {
    while (!children_.empty())
        removeView(children_.back());
}

bool CViewContainer::isChild(const CView* view) const {
    return std::find(children_.begin(), children_.end(), view) != children_.end();
}

CView* CViewContainer::getView(int32_t index) const {
    if (index < 0 || index >= getNbViews()) return nullptr;
    return children_[std::size_t(index)];
}

void CViewContainer::draw(CDrawSurface& surface) {
    drawRect(surface, size_);
}

void CViewContainer::drawRect(CDrawSurface& surface, const CRect& updateRect) {
    const CRect savedClip = surface.getClipRect();
    CRect area = updateRect;
    area.intersect(size_).intersect(savedClip);
    if (area.isEmpty()) return;
    surface.setClipRect(area);
    if (CBitmap* background = getBackground()) background->draw(surface, size_);
    for (CView* child : children_) {
        if (!child->checkUpdate(area)) continue;
        CRect childClip = child->getViewSize();
        childClip.intersect(area);
        surface.setClipRect(childClip);
        child->drawRect(surface, childClip);
    }
    surface.setClipRect(savedClip);
    setDirty(false);
}

bool CViewContainer::isDirty() const {
    return std::any_of(children_.begin(), children_.end(),
                       [](const CView* child) { return child->isDirty(); });
}

CView* CViewContainer::viewForPress(CPoint where, int32_t buttons) const {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        CView* child = *it;
        if (child->hitTest(where, buttons)) return child;
    }
    return nullptr;
}
