#pragma once

class CBitmap;

// Fills `target` with `source` stretched to the target's size, every target pixel the
// area-weighted mean of the source pixels it covers (premultiplied, so edges do not darken).
void resampleArea(const CBitmap& source, CBitmap& target);
