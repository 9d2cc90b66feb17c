// Image 201: the window background. Captions sit above (or, for the lamps' row, beside) the
// controls whose rectangles the editor uses; the areas under the transparent knobs stay plain.
#include "Artwork.h"
#include "Canvas.h"
#include "Palette.h"
#include "editor/ControlRects.h"

namespace {

constexpr double captionSizePx = 9.5;
constexpr double upperCaptionBaselineY = 43;
// The lower captions share the row of the release lamps, which are centred on y = 160.
constexpr double lowerCaptionBaselineY = 164;
constexpr double panelTopY = 27;
constexpr double panelHeightPx = 239;
// The panels' left and right edges, left to right.
constexpr double panelEdgesX[][2] = {{4, 88}, {94, 344}, {350, 597}, {602, 686}};
// Room kept between a caption and its panel's border.
constexpr double captionMarginPx = 3;
constexpr double lampCaptionGapPx = 3;

double centreX(const CRect& rect) {
    return (rect.left + rect.right) * 0.5;
}

struct Caption {
    const char* text;
    double x;
    double baselineY;
    Align align;
    double sizePx = captionSizePx;
};

void caption(Canvas& canvas, const Caption& c) {
    canvas.text(c.text, c.x, c.baselineY, c.sizePx, true, c.align, palette::caption);
}

// The two release captions flanking the lamps are together wider than the room between ATTACK
// and the panel's border at the usual size; both take the size at which RELEASE SLOW ends short
// of the border, so the pair stays alike. Measured at the canvas's own scale, whose hinting
// decides the width.
double releaseCaptionSizePx(Canvas& canvas) {
    const double startX = controlRect::releaseLampRight.right + lampCaptionGapPx;
    const double roomPx = panelEdgesX[1][1] - captionMarginPx - startX;
    const double widthPx = canvas.textWidth("RELEASE SLOW", captionSizePx, true);
    return widthPx <= roomPx ? captionSizePx : captionSizePx * roomPx / widthPx;
}

void paintTitleStrip(Canvas& canvas) {
    cairo_rectangle(canvas.cr(), 0, 0, canvas.width(), 22);
    canvas.setColour(palette::titleStrip);
    cairo_fill(canvas.cr());
    cairo_rectangle(canvas.cr(), 0, 22, canvas.width(), 1);
    canvas.setColour(palette::accentDeep);
    cairo_fill(canvas.cr());

    const double titleSizePx = 14;
    const double qvlWidth = canvas.textWidth("QVL ", titleSizePx, true);
    canvas.text("QVL ", 10, 16, titleSizePx, true, Align::left, palette::accent);
    canvas.text("Feedback Compressor", 10 + qvlWidth, 16, titleSizePx, false, Align::left,
                palette::title);
    // Right-aligned short of the version readout, which the editor draws from x = 562.
    canvas.text("Velmorinth Labs", 548, 15, 10, false, Align::right, palette::captionDim);
}

void paintPanels(Canvas& canvas) {
    for (const auto& x : panelEdgesX)
        canvas.panel(x[0], panelTopY, x[1] - x[0], panelHeightPx, 5, palette::panelTop,
                     palette::panelBottom, palette::panelBorder);
}

// The black well that frames the graph, the sidechain meter, the scale and the GR meter.
void paintGraphWell(Canvas& canvas) {
    using namespace controlRect;
    const CRect well{transferGraph.left - 5, meterScale.top - 1, grMeter.right + 5,
                     transferGraph.bottom + 4};
    cairo_rectangle(canvas.cr(), well.left, well.top, well.right - well.left,
                    well.bottom - well.top);
    canvas.setColour(palette::wellFill);
    cairo_fill(canvas.cr());
    cairo_rectangle(canvas.cr(), well.left + 0.5, well.top + 0.5, well.right - well.left - 1,
                    well.bottom - well.top - 1);
    canvas.setColour(palette::wellBorder);
    cairo_set_line_width(canvas.cr(), 1);
    cairo_stroke(canvas.cr());
}

} // namespace

void paintBackground(Canvas& canvas) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 0, canvas.height());
    cairo_pattern_add_color_stop_rgb(gradient, 0, palette::windowTop.r, palette::windowTop.g,
                                     palette::windowTop.b);
    cairo_pattern_add_color_stop_rgb(gradient, 1, palette::windowBottom.r, palette::windowBottom.g,
                                     palette::windowBottom.b);
    cairo_rectangle(canvas.cr(), 0, 0, canvas.width(), canvas.height());
    cairo_set_source(canvas.cr(), gradient);
    cairo_fill(canvas.cr());
    cairo_pattern_destroy(gradient);

    paintTitleStrip(canvas);
    paintPanels(canvas);
    paintGraphWell(canvas);

    using namespace controlRect;
    const double graphCaptionBaselineY = meterScale.top - 5;
    // RELEASE FAST and RELEASE SLOW flank the two lamps that show which release is working.
    const double releaseSizePx = releaseCaptionSizePx(canvas);
    const Caption captions[] = {
        {"DETECTOR", centreX(detectionKnob), 40, Align::centre},
        {"SC FILTER", centreX(scFilterTypeSwitch), 93, Align::centre},
        {"THRESHOLD", centreX(thresholdKnob), upperCaptionBaselineY, Align::centre},
        {"KNEE", centreX(kneeKnob), upperCaptionBaselineY, Align::centre},
        {"RATIO", centreX(ratioKnob), upperCaptionBaselineY, Align::centre},
        {"ATTACK", centreX(attackKnob), lowerCaptionBaselineY, Align::centre},
        {"RELEASE FAST", releaseLampLeft.left - lampCaptionGapPx, lowerCaptionBaselineY,
         Align::right, releaseSizePx},
        {"RELEASE SLOW", releaseLampRight.right + lampCaptionGapPx, lowerCaptionBaselineY,
         Align::left, releaseSizePx},
        {"MAKEUP", centreX(makeUpKnob), upperCaptionBaselineY, Align::centre},
        {"DRY MIX", centreX(dryMixKnob), lowerCaptionBaselineY, Align::centre},
        {"SC", centreX(scMeter), graphCaptionBaselineY, Align::centre},
        {"GR", centreX(grMeter), graphCaptionBaselineY, Align::centre},
    };
    for (const Caption& c : captions)
        caption(canvas, c);
    canvas.text("Transfer Function", centreX(transferGraph), graphCaptionBaselineY, captionSizePx,
                false, Align::centre, palette::caption);
}
