#include "platform/DesktopScale.h"

#include "ProductIdentity.h"

#include <windows.h>

#include <cstdlib>

namespace {

constexpr double kReferenceDpi = 96.0;

// GetDpiForWindow exists from Windows 10 1607 on; older systems have one DPI for everything.
UINT windowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (window && IsWindow(window) && getDpiForWindow) return getDpiForWindow(window);
    HDC screen = GetDC(nullptr);
    if (!screen) return 0;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? UINT(dpi) : 0;
}

std::string utf8FromUtf16(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string out(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();
    return out;
}

} // namespace

std::vector<double> desktopScaleFactors(void* parentWindow) {
    const UINT dpi = windowDpi(static_cast<HWND>(parentWindow));
    if (dpi == 0) return {};
    return {dpi / kReferenceDpi};
}

// The work area leaves out the task bar, which a window the size of the monitor would run under.
CRect desktopScreenArea(void* parentWindow) {
    const auto parent = static_cast<HWND>(parentWindow);
    HMONITOR monitor = parent && IsWindow(parent)
                           ? MonitorFromWindow(parent, MONITOR_DEFAULTTONEAREST)
                           : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return {};
    return {0, 0, info.rcWork.right - info.rcWork.left, info.rcWork.bottom - info.rcWork.top};
}

std::string userSettingsFile() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (!appData || !*appData) return {};
    return utf8FromUtf16(appData) + "\\" QVL_MODULE_NAME "\\editor.conf";
}
