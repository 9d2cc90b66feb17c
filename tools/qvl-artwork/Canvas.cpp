#include "Canvas.h"

#include <cairo-ft.h>

#include <cmath>

Canvas::Canvas(int widthPx_, int heightPx_)
    : Canvas(widthPx_, heightPx_, widthPx_, heightPx_, 1.0) {}

Canvas::Canvas(int widthPx_, int heightPx_, int deviceWidthPx, int deviceHeightPx, double scale)
    : widthPx(widthPx_), heightPx(heightPx_), scaleFactor(scale),
      surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, deviceWidthPx, deviceHeightPx)),
      context(cairo_create(surface)) {
    cairo_set_antialias(context, CAIRO_ANTIALIAS_GOOD);
    // Unhinted metrics keep centred captions exactly centred on their controls.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(context, options);
    cairo_font_options_destroy(options);
}

Canvas::~Canvas() {
    cairo_destroy(context);
    cairo_surface_destroy(surface);
}

void Canvas::setColour(const Rgba& c) {
    cairo_set_source_rgba(context, c.r, c.g, c.b, c.a);
}

void Canvas::roundedRect(double x, double y, double w, double h, double radiusPx) {
    const double r = std::fmin(radiusPx, std::fmin(w, h) * 0.5);
    cairo_new_sub_path(context);
    cairo_arc(context, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(context, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(context, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(context, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(context);
}

void Canvas::panel(double x, double y, double w, double h, double radiusPx, const Rgba& top,
                   const Rgba& bottom, const Rgba& border) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(gradient, 0, top.r, top.g, top.b, top.a);
    cairo_pattern_add_color_stop_rgba(gradient, 1, bottom.r, bottom.g, bottom.b, bottom.a);
    roundedRect(x, y, w, h, radiusPx);
    cairo_set_source(context, gradient);
    cairo_fill(context);
    cairo_pattern_destroy(gradient);
    // Half-pixel inset puts the 1-pixel border on whole pixels.
    roundedRect(x + 0.5, y + 0.5, w - 1, h - 1, radiusPx);
    setColour(border);
    cairo_set_line_width(context, 1);
    cairo_stroke(context);
}

void Canvas::selectFont(double sizePx, bool bold) {
    cairo_select_font_face(context, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(context, sizePx);
}

std::vector<cairo_glyph_t> Canvas::kernedGlyphs(const std::string& s, double sizePx, bool bold,
                                                double& advancePx) {
    selectFont(sizePx, bold);
    cairo_scaled_font_t* font = cairo_get_scaled_font(context);
    cairo_glyph_t* glyphs = nullptr;
    int count = 0;
    cairo_scaled_font_text_to_glyphs(font, 0, 0, s.c_str(), static_cast<int>(s.size()), &glyphs,
                                     &count, nullptr, nullptr, nullptr);
    std::vector<cairo_glyph_t> result(glyphs, glyphs + count);
    cairo_glyph_free(glyphs);

    FT_Face face = cairo_ft_scaled_font_lock_face(font);
    double shiftPx = 0;
    for (std::size_t i = 1; face != nullptr && i < result.size(); ++i) {
        FT_Vector kerning{};
        FT_Get_Kerning(face, static_cast<FT_UInt>(result[i - 1].index),
                       static_cast<FT_UInt>(result[i].index), FT_KERNING_UNSCALED, &kerning);
        shiftPx += static_cast<double>(kerning.x) * sizePx / face->units_per_EM;
        result[i].x += shiftPx;
    }
    if (face != nullptr) cairo_ft_scaled_font_unlock_face(font);

    cairo_text_extents_t extents;
    cairo_scaled_font_text_extents(font, s.c_str(), &extents);
    advancePx = extents.x_advance + shiftPx;
    return result;
}

double Canvas::textWidth(const std::string& s, double sizePx, bool bold) {
    double advancePx = 0;
    kernedGlyphs(s, sizePx, bold, advancePx);
    return advancePx;
}

void Canvas::text(const std::string& s, double x, double baselineY, double sizePx, bool bold,
                  Align align, const Rgba& colour) {
    double w = 0;
    std::vector<cairo_glyph_t> glyphs = kernedGlyphs(s, sizePx, bold, w);
    const double left = align == Align::left ? x : align == Align::centre ? x - w * 0.5 : x - w;
    for (cairo_glyph_t& glyph : glyphs) {
        glyph.x += left;
        glyph.y += baselineY;
    }
    setColour(colour);
    cairo_show_glyphs(context, glyphs.data(), static_cast<int>(glyphs.size()));
}

void Canvas::lamp(double cx, double cy, double radiusPx, const Rgba& c, bool lit,
                  double haloRadiusPx) {
    if (lit) {
        cairo_pattern_t* halo = cairo_pattern_create_radial(cx, cy, radiusPx, cx, cy, haloRadiusPx);
        cairo_pattern_add_color_stop_rgba(halo, 0, c.r, c.g, c.b, 0.55);
        cairo_pattern_add_color_stop_rgba(halo, 1, c.r, c.g, c.b, 0);
        cairo_arc(context, cx, cy, haloRadiusPx, 0, 2 * M_PI);
        cairo_set_source(context, halo);
        cairo_fill(context);
        cairo_pattern_destroy(halo);
    }
    // Lit: a hot white-ish centre fading to the colour; dark: the colour at a fifth, as glass.
    const double k = lit ? 1.0 : 0.22;
    cairo_pattern_t* body =
        cairo_pattern_create_radial(cx - radiusPx * 0.3, cy - radiusPx * 0.3, 0, cx, cy, radiusPx);
    if (lit)
        cairo_pattern_add_color_stop_rgb(body, 0, 0.5 + c.r * 0.5, 0.5 + c.g * 0.5,
                                         0.5 + c.b * 0.5);
    else
        cairo_pattern_add_color_stop_rgb(body, 0, c.r * 0.4, c.g * 0.4, c.b * 0.4);
    cairo_pattern_add_color_stop_rgb(body, 1, c.r * k, c.g * k, c.b * k);
    cairo_arc(context, cx, cy, radiusPx, 0, 2 * M_PI);
    cairo_set_source(context, body);
    cairo_fill_preserve(context);
    cairo_pattern_destroy(body);
    cairo_set_source_rgba(context, 0, 0, 0, 0.6);
    cairo_set_line_width(context, 1);
    cairo_stroke(context);
}

bool Canvas::writePng(const std::string& path) const {
    cairo_surface_flush(surface);
    return cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
           cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}
