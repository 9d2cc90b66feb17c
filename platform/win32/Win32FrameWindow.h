#pragma once

#include "platform/win32/FrameWindowClass.h"
#include "platform/win32/GdiplusSession.h"
#include "platform/win32/OleSession.h"
#include "views/FrameWindow.h"

#include <windows.h>

#include <memory>

class CFrame;

// The frame's child window inside the host's editor window. Its messages come through the
// host's own message loop; input goes to the frame, and painting copies the frame's back
// buffer, which the frame redraws at idle.
class Win32FrameWindow : public FrameWindow {
  public:
    // Null when `parent` is not a window, GDI+ cannot start or the window cannot be made.
    static std::unique_ptr<Win32FrameWindow> create(CFrame& frame, HWND parent);
    ~Win32FrameWindow() override;
    Win32FrameWindow(const Win32FrameWindow&) = delete;
    Win32FrameWindow& operator=(const Win32FrameWindow&) = delete;

    // Nothing to do: the host dispatches this window's messages; pumping here would steal the
    // host's.
    void pumpEvents() override {}
    // Shows `area` of the back buffer now (a synchronous paint of that area).
    void present(const CBitmap& backBuffer, const CRect& area) override;
    void resize(int32_t width, int32_t height) override;
    void captureOutsidePresses(bool capture) override;

  private:
    explicit Win32FrameWindow(CFrame& frame);
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void mouseDown(WPARAM wParam, LPARAM lParam);
    void mouseUp(WPARAM wParam, LPARAM lParam);
    bool key(UINT message, WPARAM wParam);
    // The mouse stays captured while a press is being tracked or a popup is open.
    bool keepsCapture() const;

    CFrame& frame_;
    OleSession ole_;
    GdiplusSession gdiplus_; // GDI+ stays up while the editor is open
    FrameWindowClass windowClass_;
    HWND window_ = nullptr;
    const CBitmap* backBuffer_ = nullptr; // the frame's, known from the first present
    CPoint lastMousePoint_;
    bool capturingOutsidePresses_ = false;
    HWND focusBeforePopup_ = nullptr; // given back when the popup closes
};
