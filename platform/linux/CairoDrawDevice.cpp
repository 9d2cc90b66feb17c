#include "platform/linux/CairoDrawDevice.h"

#include "views/CBitmap.h"
#include "views/CFontSpec.h"

cairo_surface_t* createBitmapSurface(const CBitmap& bitmap) {
    // cairo never writes through a source surface; the const_cast only fits its signature.
    auto* data = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(bitmap.pixels()));
    return cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, bitmap.getWidth(),
                                               bitmap.getHeight(), bitmap.getWidth() * 4);
}

CairoDrawDevice::CairoDrawDevice(CBitmap& target)
    : bounds_{0, 0, target.getWidth(), target.getHeight()} {
    if (target.getWidth() <= 0 || target.getHeight() <= 0) return;
    surface_ = createBitmapSurface(target);
    cr_ = cairo_create(surface_);
    // Shapes cover whole pixels exactly; images are copied pixel for pixel.
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
}

CairoDrawDevice::~CairoDrawDevice() {
    if (cr_) cairo_destroy(cr_);
    if (surface_) {
        cairo_surface_flush(surface_);
        cairo_surface_destroy(surface_);
    }
}

bool CairoDrawDevice::isValid() const {
    return cr_ && cairo_status(cr_) == CAIRO_STATUS_SUCCESS;
}

CRect CairoDrawDevice::bounds() const {
    return bounds_;
}

void CairoDrawDevice::setClip(const CRect& clip) {
    if (!cr_) return;
    cairo_reset_clip(cr_);
    cairo_rectangle(cr_, clip.left, clip.top, clip.width(), clip.height());
    cairo_clip(cr_);
}

void CairoDrawDevice::fillRect(const CRect& rect, CColor color) {
    if (!cr_) return;
    cairo_set_source_rgba(cr_, color.red / 255.0, color.green / 255.0, color.blue / 255.0,
                          color.alpha / 255.0);
    cairo_rectangle(cr_, rect.left, rect.top, rect.width(), rect.height());
    cairo_fill(cr_);
    cairo_surface_flush(surface_);
}

void CairoDrawDevice::drawImage(const CBitmap& image, CPoint origin) {
    if (!cr_ || !image.isLoaded()) return;
    cairo_surface_t* source = createBitmapSurface(image);
    cairo_set_source_surface(cr_, source, origin.h, origin.v);
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_NEAREST);
    cairo_paint(cr_);
    cairo_set_source_rgb(cr_, 0, 0, 0); // drop the pattern before its surface goes
    cairo_surface_destroy(source);
    cairo_surface_flush(surface_);
}

void CairoDrawDevice::selectFont(const FontRequest& font, bool antialias) {
    // The toy font API resolves names through fontconfig: "Arial" finds a metric-compatible face.
    cairo_select_font_face(
        cr_, font.faceName.c_str(),
        (font.style & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
        (font.style & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, font.sizePx);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options,
                                     antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
}

void CairoDrawDevice::drawText(const char* utf8, double x, double baselineY,
                               const FontRequest& font, CColor color, bool antialias) {
    if (!cr_ || !utf8) return;
    selectFont(font, antialias);
    cairo_set_source_rgba(cr_, color.red / 255.0, color.green / 255.0, color.blue / 255.0,
                          color.alpha / 255.0);
    cairo_move_to(cr_, x, baselineY);
    cairo_show_text(cr_, utf8);
    if (font.style & kUnderlineFace) { // underline: one pixel row below the baseline
        cairo_text_extents_t extents;
        cairo_text_extents(cr_, utf8, &extents);
        cairo_rectangle(cr_, x, baselineY + 1, extents.x_advance, 1);
        cairo_fill(cr_);
    }
    cairo_new_path(cr_);
    cairo_surface_flush(surface_);
}

TextMetrics CairoDrawDevice::measureText(const char* utf8, const FontRequest& font) {
    TextMetrics metrics;
    if (!cr_ || !utf8) return metrics;
    selectFont(font, true);
    cairo_font_extents_t fontExtents;
    cairo_font_extents(cr_, &fontExtents);
    cairo_text_extents_t textExtents;
    cairo_text_extents(cr_, utf8, &textExtents);
    metrics.width = textExtents.x_advance;
    metrics.ascent = fontExtents.ascent;
    metrics.descent = fontExtents.descent;
    return metrics;
}
