#pragma once

#include "views/CBitmap.h"
#include "views/CGeometry.h"
#include "views/CReferenceCounted.h"
#include "views/InputTypes.h"

#include <cstdint>

class CDrawSurface;
class CFrame;
class CViewContainer;

// Base of everything drawn. The size is in frame coordinates. Created with one reference.
class CView : public CReferenceCounted {
  public:
    explicit CView(const CRect& size);
    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;
    ~CView() override;

    // Draws the background bitmap, if any, over the view's rectangle.
    virtual void draw(CDrawSurface& surface);
    // Called by the container for a paint of `updateRect`; the default just draws.
    virtual void drawRect(CDrawSurface& surface, const CRect& updateRect);
    // True when the view's rectangle meets `rect`.
    virtual bool checkUpdate(const CRect& rect) const;
    virtual bool isDirty() const { return dirty_; }
    virtual void setDirty(bool dirty) { dirty_ = dirty; }
    // Asks the frame to paint `rect` at the next paint.
    virtual void invalidRect(const CRect& rect);
    // setDirty (false), then the view's rectangle is painted at the next paint.
    virtual void invalidate();

    // `where` is in frame coordinates. Defaults take no input.
    virtual CMouseResult onMouseDown(CPoint where, int32_t buttons);
    virtual CMouseResult onMouseUp(CPoint where, int32_t buttons);
    virtual CMouseResult onMouseMoved(CPoint where, int32_t buttons);
    // True when `where` lies in the click area (edges included).
    virtual bool hitTest(CPoint where, int32_t buttons);
    virtual bool onWheel(CPoint where, float distance, int32_t buttons);
    // Answers kKeyUsed or kKeyNotUsed.
    virtual int32_t onKeyDown(const CKeyCode& key);
    virtual int32_t onKeyUp(const CKeyCode& key);

    virtual void setClickArea(const CRect& area) { clickArea_ = area; }

    // Takes a reference on `bitmap` and gives back the one on the previous bitmap.
    virtual void setBackground(CBitmap* bitmap);
    CBitmap* getBackground() const { return background_.get(); }
    virtual void setTransparency(bool transparent) { transparent_ = transparent; }
    bool getTransparency() const { return transparent_; }

    const CRect& getViewSize() const { return size_; }
    int32_t getWidth() const { return size_.width(); }
    int32_t getHeight() const { return size_.height(); }
    CFrame* getFrame() const { return frame_; }
    CViewContainer* getParent() const { return parent_; }

    // Called by the container that takes or gives up the view.
    void attached(CViewContainer* parent, CFrame* frame);
    void removed();

  protected:
    CRect size_;
    CRect clickArea_;

  private:
    CFrame* frame_ = nullptr;
    CViewContainer* parent_ = nullptr;
    bool dirty_ = false;
    bool transparent_ = false;
    SharedRef<CBitmap> background_;
};
