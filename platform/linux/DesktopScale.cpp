#include "platform/DesktopScale.h"

#include "platform/linux/X11ErrorTrap.h"

#include "ProductIdentity.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/extensions/Xrandr.h>

#include <cstdint>
#include <cstdlib>

namespace {

constexpr double kReferenceDpi = 96.0;
constexpr const char* kSettingsFolder = QVL_MODULE_NAME;
constexpr const char* kSettingsName = "editor.conf";

bool readNumber(const char* text, double& value) {
    if (!text || !*text) return false;
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text;
}

// Xft.dpi from the resource database on the root window: what GNOME, KDE and Xfce set for
// the display scale.
bool xftDpi(double& dpi) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    bool found = false;
    if (const char* resources = XResourceManagerString(display)) {
        XrmInitialize();
        if (XrmDatabase database = XrmGetStringDatabase(resources)) {
            char* type = nullptr;
            XrmValue value{};
            if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
                found = readNumber(value.addr, dpi);
            XrmDestroyDatabase(database);
        }
    }
    XCloseDisplay(display);
    return found;
}

} // namespace

std::vector<double> desktopScaleFactors(void*) {
    std::vector<double> factors;
    double dpi = 0.0;
    if (xftDpi(dpi)) factors.push_back(dpi / kReferenceDpi);
    double gdkScale = 0.0;
    if (readNumber(std::getenv("GDK_SCALE"), gdkScale)) factors.push_back(gdkScale);
    return factors;
}

// The RandR monitor (what the desktop shows as one screen) that holds the top-left corner of
// `parentWindow`, or the primary one when there is no window; the whole X screen when RandR
// names none or the window is not known.
CRect desktopScreenArea(void* parentWindow) {
    Display* display = openOurDisplay();
    if (!display) return {};
    CRect area;
    {
        // A window id from the host that is gone or never was must not abort the host.
        ErrorTrap trap(display);
        const Window root = DefaultRootWindow(display);
        const int screen = DefaultScreen(display);
        area = {0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
        const auto parent = static_cast<Window>(reinterpret_cast<uintptr_t>(parentWindow));
        int x = 0, y = 0;
        Window child = 0;
        const bool placed = parent != 0 &&
                            XTranslateCoordinates(display, parent, root, 0, 0, &x, &y, &child) &&
                            !trap.failed();
        int eventBase = 0, errorBase = 0, count = 0;
        XRRMonitorInfo* monitors = XRRQueryExtension(display, &eventBase, &errorBase)
                                       ? XRRGetMonitors(display, root, True, &count)
                                       : nullptr;
        for (int i = 0; i < count; ++i) {
            const XRRMonitorInfo& m = monitors[i];
            const bool holds = placed
                                   ? x >= m.x && x < m.x + m.width && y >= m.y && y < m.y + m.height
                                   : m.primary != 0;
            if (holds) {
                area = {0, 0, m.width, m.height};
                break;
            }
        }
        if (monitors) XRRFreeMonitors(monitors);
    }
    closeOurDisplay(display);
    return area;
}

std::string userSettingsFile() {
    std::string folder;
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    if (configHome && configHome[0] == '/') {
        folder = configHome;
    } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        folder = std::string(home) + "/.config";
    } else {
        return {};
    }
    return folder + "/" + kSettingsFolder + "/" + kSettingsName;
}
