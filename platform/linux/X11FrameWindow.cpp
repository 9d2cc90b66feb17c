#include "platform/linux/X11FrameWindow.h"

#include "platform/linux/CairoDrawDevice.h"
#include "platform/linux/X11ErrorTrap.h"
#include "platform/linux/X11Input.h"
#include "views/CBitmap.h"
#include "views/CFrame.h"
#include "views/DeviceScale.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <cairo-xlib.h>

namespace {

// The editor's size is fixed for its scale. Hosts that embed the window (suil's wrappers for
// jalv and Ardour among them) read these hints as the size to give it; without them they keep
// the largest size they have seen and stretch the window back to it when the scale falls. No
// minimum size: suil's GTK 2 wrapper (Ardour's) pins its widget at the minimum it reads when
// the window is first shown, and would never let it shrink or grow again.
void setFixedSizeHints(Display* display, Window window, int32_t width, int32_t height) {
    XSizeHints* hints = XAllocSizeHints();
    if (!hints) return;
    hints->flags = PMaxSize | PBaseSize;
    hints->max_width = hints->base_width = width;
    hints->max_height = hints->base_height = height;
    XSetWMNormalHints(display, window, hints);
    XFree(hints);
}

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            KeyPressMask | KeyReleaseMask;

} // namespace

std::unique_ptr<X11FrameWindow> X11FrameWindow::create(CFrame& frame, Window parent) {
    const CRect size = frame.getDeviceSize();
    if (parent == 0 || size.width() <= 0 || size.height() <= 0) return nullptr;
    Display* display = openOurDisplay();
    if (!display) return nullptr;

    Window window = 0;
    cairo_surface_t* surface = nullptr;
    {
        // The trap must end (it syncs the connection) before the connection is closed.
        ErrorTrap trap(display);
        XWindowAttributes parentAttributes;
        if (XGetWindowAttributes(display, parent, &parentAttributes) && !trap.failed()) {
            XSetWindowAttributes attributes{};
            attributes.event_mask = kEventMask;
            attributes.background_pixmap = None; // every pixel is painted from the back buffer
            window = XCreateWindow(display, parent, 0, 0, unsigned(size.width()),
                                   unsigned(size.height()), 0, CopyFromParent, InputOutput,
                                   CopyFromParent, CWEventMask | CWBackPixmap, &attributes);
            XStoreName(display, window, "Window");
            setFixedSizeHints(display, window, size.width(), size.height());
            // The desktop's settings (Xft.dpi among them) live on the root window; a change of
            // the display scale arrives as a change of that property.
            XSelectInput(display, DefaultRootWindow(display), PropertyChangeMask);
            XMapWindow(display, window);
            XWindowAttributes windowAttributes;
            if (!trap.failed() && XGetWindowAttributes(display, window, &windowAttributes) &&
                !trap.failed()) {
                surface = cairo_xlib_surface_create(display, window, windowAttributes.visual,
                                                    size.width(), size.height());
            } else if (window) {
                XDestroyWindow(display, window);
            }
        }
    }
    if (!surface) {
        closeOurDisplay(display);
        return nullptr;
    }
    return std::unique_ptr<X11FrameWindow>(new X11FrameWindow(frame, display, window, surface));
}

X11FrameWindow::X11FrameWindow(CFrame& frame, Display* display, Window window,
                               cairo_surface_t* surface)
    : frame_(frame), display_(display), window_(window), windowSurface_(surface) {}

X11FrameWindow::~X11FrameWindow() {
    {
        ErrorTrap trap(display_);
        cairo_surface_destroy(windowSurface_);
        XDestroyWindow(display_, window_);
    }
    closeOurDisplay(display_);
}

void X11FrameWindow::pumpEvents() {
    ErrorTrap trap(display_);
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        dispatch(event);
    }
}

void X11FrameWindow::resize(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return;
    ErrorTrap trap(display_);
    // The hints change first: a host that reacts to the new size reads the new limits with it.
    setFixedSizeHints(display_, window_, width, height);
    XResizeWindow(display_, window_, unsigned(width), unsigned(height));
    cairo_xlib_surface_set_size(windowSurface_, width, height);
    XFlush(display_);
}

// Pointer and keyboard grabs, as menus take them: the presses outside come here relative to
// this window, and the keys here wherever the host's focus is (Escape closes the menu), until
// they are released. When another client holds a grab already, the menu only closes on a press
// inside, or on a key while the host's window has the focus.
void X11FrameWindow::captureOutsidePresses(bool capture) {
    ErrorTrap trap(display_);
    if (capture) {
        XGrabPointer(display_, window_, False,
                     ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                     GrabModeAsync, None, None, CurrentTime);
        XGrabKeyboard(display_, window_, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    } else {
        XUngrabKeyboard(display_, CurrentTime);
        XUngrabPointer(display_, CurrentTime);
    }
    XFlush(display_);
}

// X reports device pixels; the frame works in its own.
void X11FrameWindow::dispatch(XEvent& event) {
    const double scale = frame_.getScale();
    switch (event.type) {
    case Expose: {
        const XExposeEvent& e = event.xexpose;
        frame_.invalidRect(toEditorRectCovering({e.x, e.y, e.x + e.width, e.y + e.height}, scale));
        break;
    }
    case ButtonPress: {
        const XButtonEvent& e = event.xbutton;
        const CPoint where = toEditorPoint({e.x, e.y}, scale);
        const float wheel = wheelDistanceFromX11(e.button);
        if (wheel != 0.0f)
            frame_.onWheel(where, wheel, buttonsFromX11(e.state, 0));
        else
            frame_.onMouseDown(where, buttonsFromX11(e.state, e.button));
        break;
    }
    case ButtonRelease: {
        const XButtonEvent& e = event.xbutton;
        if (wheelDistanceFromX11(e.button) == 0.0f)
            frame_.onMouseUp(toEditorPoint({e.x, e.y}, scale), buttonsFromX11(e.state, 0));
        break;
    }
    case MotionNotify: {
        const XMotionEvent& e = event.xmotion;
        frame_.onMouseMoved(toEditorPoint({e.x, e.y}, scale), buttonsFromX11(e.state, 0));
        break;
    }
    case KeyPress:
    case KeyRelease: {
        XKeyEvent& e = event.xkey;
        char character = 0;
        KeySym keysym = 0;
        XLookupString(&e, &character, 1, &keysym, nullptr);
        const CKeyCode key{static_cast<unsigned char>(character), virtualKeyFromX11(keysym),
                           keyModifiersFromX11(e.state)};
        if (event.type == KeyPress)
            frame_.onKeyDown(key);
        else
            frame_.onKeyUp(key);
        break;
    }
    case PropertyNotify:
        if (event.xproperty.atom == XA_RESOURCE_MANAGER) frame_.displayScaleChanged();
        break;
    default:
        break;
    }
}

void X11FrameWindow::present(const CBitmap& backBuffer, const CRect& area) {
    ErrorTrap trap(display_);
    cairo_surface_t* source = createBitmapSurface(backBuffer);
    cairo_t* cr = cairo_create(windowSurface_);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, source, 0, 0);
    cairo_rectangle(cr, area.left, area.top, area.width(), area.height());
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(source);
    cairo_surface_flush(windowSurface_);
    XFlush(display_);
}
