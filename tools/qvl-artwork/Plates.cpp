// Images 203 and 204: the plates behind the value readouts and the text knobs. They stay
// plain so the editor's light text reads on them.
#include "Artwork.h"
#include "Canvas.h"
#include "Palette.h"

void paintReadoutPlate(Canvas& canvas) {
    canvas.panel(0, 0, canvas.width(), canvas.height(), 3, rgb8(6, 6, 7), palette::plateFill,
                 palette::plateBorder);
}

// The text knobs are dragged, so their plate carries the accent edge of the other controls.
void paintTextKnobPlate(Canvas& canvas) {
    canvas.panel(0, 0, canvas.width(), canvas.height(), 3, rgb8(6, 6, 7), palette::plateFill,
                 palette::accentDeep);
}
