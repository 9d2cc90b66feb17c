#pragma once

#include "views/CView.h"

#include <vector>

// Holds views in the order they were added: drawn first to last, offered the mouse last to
// first. Child rectangles are in frame coordinates, like every view's.
class CViewContainer : public CView {
  public:
    explicit CViewContainer(const CRect& size);
    ~CViewContainer() override;
    CViewContainer(const CViewContainer&) = delete;

    // Appends `view` and takes over the caller's reference (the one it was created with);
    // the container releases it when removed or destroyed. False for null or an already
    // placed view.
    bool addView(CView* view);
    // Takes the view out; with `release` false the caller keeps the container's reference.
    bool removeView(CView* view, bool release = true);
    bool isChild(const CView* view) const;
    int32_t getNbViews() const { return static_cast<int32_t>(children_.size()); }
    CView* getView(int32_t index) const;

    // Background bitmap, then every child whose rectangle meets the area, each clipped to it.
    void draw(CDrawSurface& surface) override;
    void drawRect(CDrawSurface& surface, const CRect& updateRect) override;
    bool isDirty() const override;

    // The view that decides about a press at `where`: the last added, visible, mouse-enabled
    // view whose hitTest accepts it; null when there is none.
    CView* viewForPress(CPoint where, int32_t buttons) const;

  protected:
    // Gives every child back (releasing it) from the last to the first.
    void removeAll();
    const std::vector<CView*>& children() const { return children_; }

  private:
    std::vector<CView*> children_;
};
