#include "WindowPicture.h"

#include <X11/Xutil.h>

#include <memory>

namespace {

struct XImageDeleter {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

} // namespace

Picture windowPicture(Display* display, Window window, int width, int height) {
    const std::unique_ptr<XImage, XImageDeleter> image(
        XGetImage(display, window, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap));
    Picture p;
    if (!image) return p;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.push_back(uint32_t(XGetPixel(image.get(), x, y)) & 0xFFFFFFu);
    return p;
}
