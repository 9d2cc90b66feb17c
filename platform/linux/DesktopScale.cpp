#include "platform/DesktopScale.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <cstdlib>

namespace {

constexpr double kReferenceDpi = 96.0;
constexpr const char* kSettingsFolder = "qvl-feedback-compressor";
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

// The X screen as a whole: on a desktop of several monitors it spans them all, so the limit it
// sets is the loosest one that still keeps the window on the desktop.
CRect desktopScreenArea(void*) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return {};
    const int screen = DefaultScreen(display);
    const CRect area{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
    XCloseDisplay(display);
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
