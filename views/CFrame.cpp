#include "views/CFrame.h"

#include "views/CControl.h"
#include "views/CDrawSurface.h"
#include "views/DeviceScale.h"
#include "views/InputTypes.h"
#include "views/ViewPlatform.h"

#include <cmath>

CFrame::CFrame(const CRect& size, FrameEditorLink* editor) : CViewContainer(size), editor_(editor) {
    attached(nullptr, this);
}

CFrame::~CFrame() {
    // The modal view belongs to whoever set it; it must leave before its owner is released.
    if (modalView_) setModalOverlay(nullptr);
    close();
    removeAll();
}

bool CFrame::open(void* parentWindow) {
    if (window_) return false;
    return attachWindow(viewPlatform().createFrameWindow(*this, parentWindow));
}

bool CFrame::attachWindow(std::unique_ptr<FrameWindow> window) {
    if (!window || window_) return false;
    window_ = std::move(window);
    makeBackBuffer();
    return true;
}

void CFrame::makeBackBuffer() {
    const CRect device = getDeviceSize();
    backBuffer_ = SharedRef<CBitmap>::adopt(new CBitmap(device.width(), device.height()));
    backBuffer_->setScale(scale_);
    invalidArea_ = size_;
}

CRect CFrame::getDeviceSize() const {
    const CRect device = toDeviceRect(size_, scale_);
    return {0, 0, device.width(), device.height()};
}

void CFrame::setScale(double scale) {
    if (!std::isfinite(scale) || !(scale > 0.0) || scale == scale_) return;
    scale_ = scale;
    if (!window_) return;
    makeBackBuffer();
    const CRect device = getDeviceSize();
    window_->resize(device.width(), device.height());
}

void CFrame::close() {
    window_.reset();
    backBuffer_ = SharedRef<CBitmap>();
    captureView_ = nullptr;
}

void CFrame::idle() {
    if (!window_) return;
    window_->pumpEvents();
    if (!window_) return;
    for (CView* child : children())
        if (child->isDirty()) child->invalidate();
    if (invalidArea_.isEmpty()) return;
    const CRect area = invalidArea_;
    invalidArea_ = CRect{};
    CDrawSurface surface(viewPlatform().createDrawDevice(*backBuffer_), scale_);
    paint(surface, area);
    window_->present(*backBuffer_, toDeviceRect(area, scale_));
}

void CFrame::invalidRect(const CRect& rect) {
    CRect area = rect;
    area.normalize().intersect(size_);
    invalidArea_.unite(area);
}

void CFrame::paint(CDrawSurface& surface, const CRect& area) {
    drawRect(surface, area);
}

// A press goes to the last added view that accepts it, and only to that one: if it is a
// control with a listener and the press has the right button or a modifier, the listener may
// take it first. A view answering kMouseHandled receives the moves and the release.
CMouseResult CFrame::onMouseDown(CPoint where, int32_t buttons) {
    captureView_ = nullptr;
    CView* target = nullptr;
    if (modalView_) {
        // The frame's pixels end before its right and bottom edges (pointInside counts them).
        const bool insideWindow = where.h >= size_.left && where.h < size_.right &&
                                  where.v >= size_.top && where.v < size_.bottom;
        if (modalIsPopup_ && !insideWindow) {
            setModalOverlay(nullptr);
            return kMouseHandledNoTracking;
        }
        if (modalView_->hitTest(where, buttons)) target = modalView_;
    } else {
        target = viewForPress(where, buttons);
        if (!target && editor_ && editor_->backgroundPressed(where, buttons))
            return kMouseHandledNoTracking;
    }
    if (!target) return kMouseNotHandled;

    constexpr int32_t kAskListenerFlags = kButtonRight | kModShift | kModControl | kModAlt;
    if (auto* control = dynamic_cast<CControl*>(target)) {
        CControlObserver* listener = control->getListener();
        if (listener && (buttons & kAskListenerFlags) &&
            listener->modifierClicked(control, buttons) != 0)
            return kMouseHandled;
    }
    const CMouseResult result = target->onMouseDown(where, buttons);
    // A handler may take its own view out of the frame (a card that hides itself).
    if (result == kMouseHandled && isChild(target)) captureView_ = target;
    return result;
}

CMouseResult CFrame::onMouseMoved(CPoint where, int32_t buttons) {
    if (!captureView_) return kMouseNotHandled;
    const CMouseResult result = captureView_->onMouseMoved(where, buttons);
    if (result != kMouseHandled) captureView_ = nullptr;
    return result;
}

CMouseResult CFrame::onMouseUp(CPoint where, int32_t buttons) {
    CView* target = captureView_;
    captureView_ = nullptr;
    return target ? target->onMouseUp(where, buttons) : kMouseNotHandled;
}

bool CFrame::onWheel(CPoint where, float distance, int32_t buttons) {
    CView* target = modalView_ ? (modalView_->hitTest(where, buttons) ? modalView_ : nullptr)
                               : viewForPress(where, buttons);
    return target && target->onWheel(where, distance, buttons);
}

int32_t CFrame::onKeyDown(const CKeyCode& key) {
    CView* target = modalView_ ? modalView_ : focusView_;
    return target ? target->onKeyDown(key) : kKeyNotUsed;
}

int32_t CFrame::onKeyUp(const CKeyCode& key) {
    CView* target = modalView_ ? modalView_ : focusView_;
    return target ? target->onKeyUp(key) : kKeyNotUsed;
}

bool CFrame::setModalOverlay(CView* view) {
    if (!view) {
        if (modalIsPopup_) {
            modalIsPopup_ = false;
            if (window_) window_->captureOutsidePresses(false);
        }
        if (CView* previous = modalView_) {
            modalView_ = nullptr;
            // What it covered is drawn again: a popup closed from outside has no say in that.
            invalidRect(previous->getViewSize());
            removeView(previous, false);
        }
        return true;
    }
    // addView takes no reference of its own and removeView (view, false) gives none back, so
    // the modal view stays owned by whoever set it.
    if (modalView_ || view->getParent() || !addView(view)) return false;
    modalView_ = view;
    view->invalidate();
    return true;
}

bool CFrame::setPopupOverlay(CView* view) {
    if (!view || !setModalOverlay(view)) return false;
    modalIsPopup_ = true;
    if (window_) window_->captureOutsidePresses(true);
    return true;
}

void CFrame::popupCaptureLost() {
    if (modalIsPopup_) setModalOverlay(nullptr);
}

void CFrame::beginEdit(int32_t tag) {
    if (editor_) editor_->beginEdit(tag);
}

void CFrame::endEdit(int32_t tag) {
    if (editor_) editor_->endEdit(tag);
}

int32_t CFrame::getKnobMode() const {
    return editor_ ? editor_->getKnobMode() : kLinearMode;
}

void CFrame::idleWhileTracking() {
    if (editor_) editor_->idleWhileTracking();
}

void CFrame::displayScaleChanged() {
    if (editor_) editor_->displayScaleChanged();
}

void CFrame::viewRemoved(CView* view) {
    if (captureView_ == view) captureView_ = nullptr;
    if (focusView_ == view) focusView_ = nullptr;
    if (modalView_ == view) {
        modalView_ = nullptr;
        if (modalIsPopup_ && window_) window_->captureOutsidePresses(false);
        modalIsPopup_ = false;
    }
}
