#pragma once

#include "views/CBitmap.h"
#include "views/CViewContainer.h"
#include "views/FrameEditorLink.h"
#include "views/FrameWindow.h"

#include <memory>

class CControl;

// Root of the editor's views: owns the system window while open, routes input, keeps the
// invalid area and paints it through a back buffer.
class CFrame : public CViewContainer {
  public:
    // `editor` may be null (edits then go nowhere and the knob mode is linear).
    CFrame(const CRect& size, FrameEditorLink* editor);
    ~CFrame() override;

    // Has the view platform create the child window inside `parentWindow` (an X11 Window id on
    // Linux, an HWND on Windows, passed as the pointer value). False, with nothing open, on
    // failure.
    bool open(void* parentWindow);
    // Uses a window made elsewhere (tests supply their own).
    bool attachWindow(std::unique_ptr<FrameWindow> window);
    void close();
    bool isOpen() const { return window_ != nullptr; }

    // Device pixels per frame pixel. The views keep their frame coordinates; the back buffer
    // and the window grow with the scale. Values that are not a finite positive number are
    // ignored. While open, the window is resized and everything is drawn anew.
    void setScale(double scale);
    double getScale() const { return scale_; }
    // The frame's size in device pixels.
    CRect getDeviceSize() const;

    // Pumps the window's events, invalidates every dirty child and paints the invalid area.
    // Does nothing while the window is closed.
    void idle();
    void invalidRect(const CRect& rect) override;
    const CRect& getInvalidArea() const { return invalidArea_; }
    // Draws the background and the views meeting `area` (frame coordinates) into `surface`.
    void paint(CDrawSurface& surface, const CRect& area);

    // Input from the window, in frame coordinates (see the mouse routing rules in CFrame.cpp).
    CMouseResult onMouseDown(CPoint where, int32_t buttons) override;
    CMouseResult onMouseUp(CPoint where, int32_t buttons) override;
    CMouseResult onMouseMoved(CPoint where, int32_t buttons) override;
    bool onWheel(CPoint where, float distance, int32_t buttons) override;
    int32_t onKeyDown(const CKeyCode& key) override;
    int32_t onKeyUp(const CKeyCode& key) override;
    // The view that receives moves and the release of the current press, if any.
    CView* getMouseCaptureView() const { return captureView_; }

    // Shows `view` above everything and sends it every press (if its hitTest accepts it) until
    // cleared with null. False when a modal view is set or `view` already lies in a container.
    // The frame holds no reference on the modal view.
    bool setModalOverlay(CView* view);
    CView* getModalOverlay() const { return modalView_; }
    // A modal overlay that behaves as a menu: a press outside the window, or the window losing
    // the mouse to another, clears it. False for null and where setModalOverlay refuses.
    bool setPopupOverlay(CView* view);
    // From the window: the system took away the capture a popup overlay holds.
    void popupCaptureLost();

    void setFocusView(CView* view) { focusView_ = view; }
    CView* getFocusView() const { return focusView_; }

    // Edit gestures of a control's tag, forwarded to the editor.
    void beginEdit(int32_t tag);
    void endEdit(int32_t tag);
    int32_t getKnobMode() const;
    void idleWhileTracking();
    // From the window: the system's display scale for it changed.
    void displayScaleChanged();

    // Clears the frame's pointers to a view that leaves it.
    void viewRemoved(CView* view);

  private:
    void makeBackBuffer();

    FrameEditorLink* editor_;
    std::unique_ptr<FrameWindow> window_;
    double scale_ = 1.0;
    SharedRef<CBitmap> backBuffer_;
    CRect invalidArea_;
    CView* captureView_ = nullptr;
    CView* modalView_ = nullptr;
    bool modalIsPopup_ = false;
    CView* focusView_ = nullptr;
};
