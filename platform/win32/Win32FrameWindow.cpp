#include "platform/win32/Win32FrameWindow.h"

#include "platform/win32/CodeModule.h"
#include "platform/win32/Win32Input.h"
#include "views/CBitmap.h"
#include "views/CFrame.h"
#include "views/DeviceScale.h"
#include "views/InputTypes.h"

#include <versionhelpers.h>
#include <windowsx.h>

namespace {

// The DPI of the window's monitor changed: the top-level window hears it (Windows 8.1 on), a
// child window after its top-level window (Windows 10 1703 on). Headers for older targets do
// not name them.
constexpr UINT kDpiChanged = 0x02E0;
constexpr UINT kDpiChangedAfterParent = 0x02E3;

// Messages carry device pixels; the frame works in its own.
CPoint pointFrom(LPARAM lParam, const CFrame& frame) {
    return toEditorPoint({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, frame.getScale());
}

// Mouse messages carry the buttons, shift and control, but not alt.
int32_t buttonsOf(WPARAM keyState) {
    return buttonsFromWin32(static_cast<uint32_t>(keyState), GetKeyState(VK_MENU) < 0);
}

} // namespace

std::unique_ptr<Win32FrameWindow> Win32FrameWindow::create(CFrame& frame, HWND parent) {
    const CRect size = frame.getDeviceSize();
    if (!parent || !IsWindow(parent) || size.width() <= 0 || size.height() <= 0) return nullptr;
    std::unique_ptr<Win32FrameWindow> window(new Win32FrameWindow(frame));
    if (!window->gdiplus_.isActive() || !window->windowClass_.isRegistered()) return nullptr;
    // The system double-buffers composited windows from Windows 6.0 on; earlier versions do
    // not know the style.
    const DWORD extendedStyle = IsWindowsVistaOrGreater() ? WS_EX_COMPOSITED : 0;
    window->window_ =
        CreateWindowExW(extendedStyle, FrameWindowClass::name(), L"Window",
                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                        size.width(), size.height(), parent, nullptr, codeModule(), window.get());
    if (!window->window_) return nullptr;
    return window;
}

Win32FrameWindow::Win32FrameWindow(CFrame& frame) : frame_(frame), windowClass_(&windowProc) {}

Win32FrameWindow::~Win32FrameWindow() {
    if (!window_) return;
    // Messages sent while the window goes (the loss of the mouse capture) no longer reach
    // the frame, which is closing.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

LRESULT CALLBACK Win32FrameWindow::windowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32FrameWindow*>(
            reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32FrameWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handleMessage(message, wParam, lParam)
                : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32FrameWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCDESTROY: {
        // The host may destroy its window, and ours with it, before it closes the editor.
        HWND window = window_;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel; erasing first would only flicker
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK: // the controls tell double clicks apart by their own timing
    case WM_MBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        mouseDown(wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        mouseUp(wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
        lastMousePoint_ = pointFrom(lParam, frame_);
        frame_.onMouseMoved(lastMousePoint_, buttonsOf(wParam));
        if (!keepsCapture() && GetCapture() == window_) ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) == window_) return 0;
        // Another window took the mouse mid-drag: the drag ends here, so its edit is closed.
        if (frame_.getMouseCaptureView()) frame_.onMouseUp(lastMousePoint_, 0);
        // A menu closes when the mouse goes elsewhere (another program came to the front).
        if (capturingOutsidePresses_) {
            capturingOutsidePresses_ = false;
            frame_.popupCaptureLost();
        }
        return 0;
    case WM_MOUSEWHEEL: {
        // Wheel messages carry screen coordinates.
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(window_, &point);
        frame_.onWheel(toEditorPoint({point.x, point.y}, frame_.getScale()),
                       wheelDistanceFromWin32(GET_WHEEL_DELTA_WPARAM(wParam)),
                       buttonsOf(GET_KEYSTATE_WPARAM(wParam)));
        return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (key(message, wParam)) return 0;
        break;
    case kDpiChanged:
    case kDpiChangedAfterParent:
        // The host's window moved to a monitor of another DPI (or the user changed it): the
        // editor asks the desktop again and follows.
        frame_.displayScaleChanged();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Win32FrameWindow::mouseDown(WPARAM wParam, LPARAM lParam) {
    lastMousePoint_ = pointFrom(lParam, frame_);
    frame_.onMouseDown(lastMousePoint_, buttonsOf(wParam));
    // Moves and the release outside the window still belong to the view that took the press.
    if (frame_.getMouseCaptureView()) SetCapture(window_);
}

void Win32FrameWindow::mouseUp(WPARAM wParam, LPARAM lParam) {
    lastMousePoint_ = pointFrom(lParam, frame_);
    frame_.onMouseUp(lastMousePoint_, buttonsOf(wParam));
    if (!keepsCapture() && GetCapture() == window_) ReleaseCapture();
}

bool Win32FrameWindow::keepsCapture() const {
    return capturingOutsidePresses_ || frame_.getMouseCaptureView();
}

// The capture brings this window the presses on the host's other windows; those of other
// programs end it, which WM_CAPTURECHANGED reports. The keyboard focus comes here too, so
// Escape reaches the popup, and goes back where it was when the popup closes.
void Win32FrameWindow::captureOutsidePresses(bool capture) {
    capturingOutsidePresses_ = capture;
    if (!window_) return;
    if (capture) {
        SetCapture(window_);
        focusBeforePopup_ = SetFocus(window_);
        return;
    }
    if (!frame_.getMouseCaptureView() && GetCapture() == window_) ReleaseCapture();
    if (GetFocus() == window_ && focusBeforePopup_ && IsWindow(focusBeforePopup_))
        SetFocus(focusBeforePopup_);
    focusBeforePopup_ = nullptr;
}

bool Win32FrameWindow::key(UINT message, WPARAM wParam) {
    const auto virtualKey = static_cast<UINT>(wParam);
    const CKeyCode key{static_cast<int32_t>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_CHAR) & 0xFFFF),
                       virtualKeyFromWin32(virtualKey),
                       keyModifiersFromWin32(GetKeyState(VK_SHIFT) < 0)};
    const int32_t answer = message == WM_KEYDOWN ? frame_.onKeyDown(key) : frame_.onKeyUp(key);
    return answer == kKeyUsed;
}

void Win32FrameWindow::present(const CBitmap& backBuffer, const CRect& area) {
    backBuffer_ = &backBuffer;
    if (!window_) return;
    const RECT rect{area.left, area.top, area.right, area.bottom};
    InvalidateRect(window_, &rect, FALSE);
    UpdateWindow(window_);
}

void Win32FrameWindow::resize(int32_t width, int32_t height) {
    // The frame has let its old back buffer go; the next present brings the new one.
    backBuffer_ = nullptr;
    if (window_ && width > 0 && height > 0)
        SetWindowPos(window_, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32FrameWindow::paint() {
    PAINTSTRUCT paintStruct;
    HDC dc = BeginPaint(window_, &paintStruct);
    // Before the frame's first idle there is nothing to show yet; that idle paints it all.
    if (dc && backBuffer_) {
        const int32_t width = backBuffer_->getWidth();
        CRect area{paintStruct.rcPaint.left, paintStruct.rcPaint.top, paintStruct.rcPaint.right,
                   paintStruct.rcPaint.bottom};
        area.intersect({0, 0, width, backBuffer_->getHeight()});
        if (!area.isEmpty()) {
            // A top-down DIB of exactly the area's rows, so no bottom-up row arithmetic applies.
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = width;
            info.bmiHeader.biHeight = -area.height();
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            const uint32_t* rows = backBuffer_->pixels() + area.top * width;
            SetDIBitsToDevice(dc, area.left, area.top, static_cast<DWORD>(area.width()),
                              static_cast<DWORD>(area.height()), area.left, 0, 0,
                              static_cast<UINT>(area.height()), rows, &info, DIB_RGB_COLORS);
        }
    }
    EndPaint(window_, &paintStruct);
}
