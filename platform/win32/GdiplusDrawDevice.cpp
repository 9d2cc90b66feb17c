#include "platform/win32/GdiplusDrawDevice.h"

#include "platform/win32/Utf16.h"
#include "views/CBitmap.h"
#include "views/CFontSpec.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

Gdiplus::ARGB gdiplusArgb(CColor color) {
    return static_cast<ARGB>(color.alpha) << 24 | static_cast<ARGB>(color.red) << 16 |
           static_cast<ARGB>(color.green) << 8 | static_cast<ARGB>(color.blue);
}

GpBitmap* createGdiplusBitmap(const CBitmap& image) {
    if (!image.isLoaded()) return nullptr;
    // GDI+ writes only through bitmaps it draws into; a source is just read.
    auto* scan0 = reinterpret_cast<BYTE*>(const_cast<uint32_t*>(image.pixels()));
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromScan0(image.getWidth(), image.getHeight(), image.getWidth() * 4,
                                  PixelFormat32bppPARGB, scan0, &bitmap) != Ok)
        return nullptr;
    return bitmap;
}

namespace {

INT gdiplusFontStyle(int32_t style) {
    INT result = FontStyleRegular;
    if (style & kBoldFace) result |= FontStyleBold;
    if (style & kItalicFace) result |= FontStyleItalic;
    if (style & kUnderlineFace) result |= FontStyleUnderline;
    return result;
}

// Drawing must have reached the pixels before the caller reads them or copies them elsewhere.
void finish(GpGraphics* graphics) {
    GdipFlush(graphics, FlushIntentionSync);
}

} // namespace

GdiplusDrawDevice::GdiplusDrawDevice(CBitmap& target)
    : bounds_{0, 0, target.getWidth(), target.getHeight()} {
    if (!session_.isActive()) return;
    bitmap_ = createGdiplusBitmap(target);
    if (!bitmap_ || GdipGetImageGraphicsContext(bitmap_, &graphics_) != Ok) {
        graphics_ = nullptr;
        return;
    }
    GdipSetPageUnit(graphics_, UnitPixel);
    GdipSetSmoothingMode(graphics_, SmoothingModeNone);
    GdipSetPixelOffsetMode(graphics_, PixelOffsetModeNone);
    GdipSetInterpolationMode(graphics_, InterpolationModeLowQuality);
    GdipCreateSolidFill(gdiplusArgb(kColorBlack), &brush_);
    // The typographic format adds no padding around the text, so x is where the first glyph
    // starts; trailing blanks count in the width as they do in the advance.
    GpStringFormat* typographic = nullptr;
    if (GdipStringFormatGetGenericTypographic(&typographic) == Ok &&
        GdipCloneStringFormat(typographic, &format_) == Ok) {
        INT flags = 0;
        GdipGetStringFormatFlags(format_, &flags);
        GdipSetStringFormatFlags(format_, flags | StringFormatFlagsMeasureTrailingSpaces |
                                              StringFormatFlagsNoWrap | StringFormatFlagsNoClip);
    }
}

GdiplusDrawDevice::~GdiplusDrawDevice() {
    releaseFont();
    if (format_) GdipDeleteStringFormat(format_);
    if (brush_) GdipDeleteBrush(brush_);
    if (graphics_) {
        finish(graphics_);
        GdipDeleteGraphics(graphics_);
    }
    if (bitmap_) GdipDisposeImage(bitmap_);
}

void GdiplusDrawDevice::setClip(const CRect& clip) {
    if (!graphics_) return;
    GdipSetClipRectI(graphics_, clip.left, clip.top, clip.width(), clip.height(),
                     CombineModeReplace);
}

void GdiplusDrawDevice::fillRect(const CRect& rect, CColor color) {
    if (!graphics_ || !brush_) return;
    GdipSetSolidFillColor(brush_, gdiplusArgb(color));
    GdipFillRectangleI(graphics_, brush_, rect.left, rect.top, rect.width(), rect.height());
    finish(graphics_);
}

void GdiplusDrawDevice::drawImage(const CBitmap& image, CPoint origin) {
    if (!graphics_) return;
    GpBitmap* source = createGdiplusBitmap(image);
    if (!source) return;
    const INT width = image.getWidth();
    const INT height = image.getHeight();
    GdipDrawImageRectRectI(graphics_, source, origin.h, origin.v, width, height, 0, 0, width,
                           height, UnitPixel, nullptr, nullptr, nullptr);
    finish(graphics_);
    GdipDisposeImage(source);
}

void GdiplusDrawDevice::releaseFont() {
    if (font_) GdipDeleteFont(font_);
    if (fontFamily_) GdipDeleteFontFamily(fontFamily_);
    font_ = nullptr;
    fontFamily_ = nullptr;
}

bool GdiplusDrawDevice::selectFont(const FontRequest& font) {
    if (font_ && font.faceName == fontRequest_.faceName && font.sizePx == fontRequest_.sizePx &&
        font.style == fontRequest_.style)
        return true;
    releaseFont();
    if (!graphics_) return false;
    // GDI+ finds a family only by its exact name; without it the text still shows in the
    // system's sans-serif face rather than not at all.
    const std::wstring face = utf16FromUtf8(font.faceName.c_str());
    if (GdipCreateFontFamilyFromName(face.c_str(), nullptr, &fontFamily_) != Ok &&
        GdipGetGenericFontFamilySansSerif(&fontFamily_) != Ok) {
        fontFamily_ = nullptr;
        return false;
    }
    const INT style = gdiplusFontStyle(font.style);
    if (GdipCreateFont(fontFamily_, static_cast<REAL>(font.sizePx), style, UnitPixel, &font_) !=
        Ok) {
        font_ = nullptr;
        releaseFont();
        return false;
    }
    UINT16 emHeight = 0;
    UINT16 ascent = 0;
    UINT16 descent = 0;
    GdipGetEmHeight(fontFamily_, style, &emHeight);
    GdipGetCellAscent(fontFamily_, style, &ascent);
    GdipGetCellDescent(fontFamily_, style, &descent);
    const double pxPerUnit = emHeight ? font.sizePx / static_cast<double>(emHeight) : 0.0;
    fontAscentPx_ = ascent * pxPerUnit;
    fontDescentPx_ = descent * pxPerUnit;
    fontRequest_ = font;
    return true;
}

void GdiplusDrawDevice::drawText(const char* utf8, double x, double baselineY,
                                 const FontRequest& font, CColor color, bool antialias) {
    if (!graphics_ || !utf8 || !selectFont(font)) return;
    const std::wstring text = utf16FromUtf8(utf8);
    if (text.empty()) return;
    GpSolidFill* brush = nullptr;
    if (GdipCreateSolidFill(gdiplusArgb(color), &brush) != Ok) return;
    GdipSetTextRenderingHint(graphics_, antialias ? TextRenderingHintClearTypeGridFit
                                                  : TextRenderingHintSystemDefault);
    // GDI+ places the top of the line box, which lies one cell ascent above the baseline.
    const RectF layout(static_cast<REAL>(x), static_cast<REAL>(baselineY - fontAscentPx_), 0.0f,
                       0.0f);
    GdipDrawString(graphics_, text.c_str(), static_cast<INT>(text.size()), font_, &layout, format_,
                   brush);
    finish(graphics_);
    GdipDeleteBrush(brush);
}

TextMetrics GdiplusDrawDevice::measureText(const char* utf8, const FontRequest& font) {
    TextMetrics metrics;
    if (!graphics_ || !utf8 || !selectFont(font)) return metrics;
    metrics.ascent = fontAscentPx_;
    metrics.descent = fontDescentPx_;
    const std::wstring text = utf16FromUtf8(utf8);
    if (text.empty()) return metrics;
    const RectF layout(0.0f, 0.0f, 0.0f, 0.0f);
    RectF box;
    if (GdipMeasureString(graphics_, text.c_str(), static_cast<INT>(text.size()), font_, &layout,
                          format_, &box, nullptr, nullptr) == Ok)
        metrics.width = box.Width;
    return metrics;
}
