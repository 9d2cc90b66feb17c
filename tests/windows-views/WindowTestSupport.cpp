#include "WindowTestSupport.h"

#include "views/CDrawSurface.h"

namespace {

const wchar_t kHostClassName[] = L"QvlTestHostWindow";

ATOM registerHostClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kHostClassName;
    return RegisterClassExW(&windowClass);
}

} // namespace

HostWindow::HostWindow(int width, int height) {
    static const ATOM hostClass = registerHostClass();
    (void)hostClass;
    window_ = CreateWindowExW(0, kHostClassName, L"host", WS_POPUP | WS_VISIBLE, 0, 0, width,
                              height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    pumpMessages();
}

HostWindow::~HostWindow() {
    if (window_) DestroyWindow(window_);
    pumpMessages();
}

HWND HostWindow::child() const {
    return GetWindow(window_, GW_CHILD);
}

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

SharedRef<CBitmap> captureWindow(HWND window, int width, int height) {
    auto image = SharedRef<CBitmap>::adopt(new CBitmap(width, height));
    HDC windowDc = GetDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memoryDc, section);
    BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i)
        image->pixels()[i] = source[i] | 0xFF000000u; // a window has no alpha of its own
    SelectObject(memoryDc, previous);
    DeleteObject(section);
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    return image;
}

LPARAM clientPoint(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(x)),
                      static_cast<WORD>(static_cast<int16_t>(y)));
}

ProbeView::ProbeView(const CRect& size, CColor color, CMouseResult pressAnswer)
    : CView(size), color_(color), pressAnswer_(pressAnswer) {}

void ProbeView::draw(CDrawSurface& surface) {
    surface.setFillColor(color_);
    surface.fillRect(size_);
    setDirty(false);
}

CMouseResult ProbeView::onMouseDown(CPoint where, int32_t buttons) {
    events.push_back({"down", where, buttons});
    return pressAnswer_;
}

CMouseResult ProbeView::onMouseUp(CPoint where, int32_t buttons) {
    events.push_back({"up", where, buttons});
    return kMouseHandled;
}

CMouseResult ProbeView::onMouseMoved(CPoint where, int32_t buttons) {
    events.push_back({"move", where, buttons});
    return kMouseHandled;
}

bool ProbeView::onWheel(CPoint where, float distance, int32_t buttons) {
    events.push_back({"wheel", where, buttons, distance});
    return true;
}

int32_t ProbeView::onKeyDown(const CKeyCode& key) {
    events.push_back({"keyDown", {}, 0, 0, key.virtualKey, key.modifiers});
    return key.virtualKey != 0 ? kKeyUsed : kKeyNotUsed;
}

int32_t ProbeView::onKeyUp(const CKeyCode& key) {
    events.push_back({"keyUp", {}, 0, 0, key.virtualKey, key.modifiers});
    return key.virtualKey != 0 ? kKeyUsed : kKeyNotUsed;
}
