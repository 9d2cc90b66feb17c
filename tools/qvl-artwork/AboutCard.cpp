// Image 214: the about card, of which the editor shows the top rows. A click in the card's link
// zone opens the maker's version-check page, so the web address line is drawn inside that zone
// and the zone is outlined.
#include "Artwork.h"
#include "Canvas.h"
#include "Palette.h"

#include "editor/ArtworkGeometry.h"

#include "ProductIdentity.h"

#include <cstring>
#include <string>

namespace {

constexpr double shownHeightPx = kAboutCardShownHeightPx;
// The zone's first and last pixels inside its borders, and one past them.
constexpr double linkLeftPx = 1, linkTopPx = kLinkZoneTopPx + 1,
                 linkRightPx = kAboutCardWidthPx - kLinkZoneRightInsetPx,
                 linkBottomPx = kAboutCardShownHeightPx - kLinkZoneBottomInsetPx;
constexpr double marginPx = 10;

// The maker's address as the card prints it: its page without the scheme.
std::string printedAddress() {
    const char* scheme = std::strstr(kVendorUrl, "://");
    return scheme ? scheme + 3 : kVendorUrl;
}

} // namespace

void paintAboutCard(Canvas& canvas) {
    cairo_t* cr = canvas.cr();
    const double w = canvas.width();
    cairo_rectangle(cr, 0, 0, w, canvas.height());
    canvas.setColour(rgb8(20, 21, 24));
    cairo_fill(cr);
    cairo_rectangle(cr, 0.5, 0.5, w - 1, shownHeightPx - 1);
    canvas.setColour(palette::accentDeep);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    const double qvlWidth = canvas.textWidth("QVL ", 14, true);
    const double titleWidth = qvlWidth + canvas.textWidth("Feedback Compressor", 14, false);
    const double titleLeft = (w - titleWidth) * 0.5;
    canvas.text("QVL ", titleLeft, 24, 14, true, Align::left, palette::accent);
    canvas.text("Feedback Compressor", titleLeft + qvlWidth, 24, 14, false, Align::left,
                palette::title);
    cairo_rectangle(cr, marginPx, 31, w - 2 * marginPx, 1);
    canvas.setColour(palette::accentDeep);
    cairo_fill(cr);

    canvas.text(kVendorName, w * 0.5, 46, 11, true, Align::centre, palette::caption);
    canvas.text(std::string("version ") + QVL_VERSION_TEXT, w * 0.5, 59, 10, false, Align::centre,
                palette::captionDim);
    canvas.text("Design, DSP and artwork", w * 0.5, 72, 9, false, Align::centre,
                palette::captionDim);
    canvas.text(std::string("by the ") + kVendorName + " team", w * 0.5, 83, 9, false,
                Align::centre, palette::captionDim);

    canvas.roundedRect(linkLeftPx + 2, linkTopPx, linkRightPx - linkLeftPx - 4,
                       linkBottomPx - linkTopPx, 3);
    canvas.setColour(Rgba{palette::accent.r, palette::accent.g, palette::accent.b, 0.10});
    cairo_fill(cr);
    canvas.text("Manual, news and updates:", linkLeftPx + 6, linkTopPx - 5, 9, false, Align::left,
                palette::caption);
    const std::string address = printedAddress();
    const double addressBaseline = linkTopPx + 13;
    canvas.text(address, linkLeftPx + 6, addressBaseline, 10, false, Align::left, palette::accent);
    cairo_rectangle(cr, linkLeftPx + 6, addressBaseline + 2, canvas.textWidth(address, 10, false),
                    1);
    canvas.setColour(palette::accent);
    cairo_fill(cr);

    canvas.text("click to close", w - marginPx, shownHeightPx - 8, 8, false, Align::right,
                palette::captionDim);
}
