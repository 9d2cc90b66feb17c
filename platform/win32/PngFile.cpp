#include "platform/PngFile.h"

#include "platform/win32/GdiplusDrawDevice.h"
#include "platform/win32/Utf16.h"
#include "views/CBitmap.h"

#include <vector>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// The installed PNG encoder, looked up by its MIME type as GDI+ asks.
bool findPngEncoder(CLSID& encoder) {
    UINT count = 0;
    UINT bytes = 0;
    if (GdipGetImageEncodersSize(&count, &bytes) != Ok || bytes == 0) return false;
    std::vector<unsigned char> storage(bytes);
    auto* codecs = reinterpret_cast<ImageCodecInfo*>(storage.data());
    if (GdipGetImageEncoders(count, bytes, codecs) != Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wstring(codecs[i].MimeType) == L"image/png") {
            encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

} // namespace

bool writeBitmapPng(const CBitmap& bitmap, const std::string& path) {
    GdiplusSession session;
    if (!session.isActive() || !bitmap.isLoaded()) return false;
    CLSID encoder;
    if (!findPngEncoder(encoder)) return false;
    GpBitmap* image = createGdiplusBitmap(bitmap);
    if (!image) return false;
    const std::wstring widePath = utf16FromUtf8(path.c_str());
    const bool written = GdipSaveImageToFile(image, widePath.c_str(), &encoder, nullptr) == Ok;
    GdipDisposeImage(image);
    return written;
}
