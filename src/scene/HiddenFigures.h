// Leaving out of a redraw what later figures paint over. Every figure of
// the redraw paints its pixels over what is below with values of its own
// (copy mode, opaque fills), so a figure whose every pixel is painted again
// by figures above it can be left out, and so can whatever lies under the
// figures where they paint every pixel.
#pragma once

#include "platform/Gdi.h"
#include "platform/WinTypes.h"

#include <vector>

class CShapeFigure;

// A figure to draw and the canvas pixels it can reach.
struct DrawnFigure {
    const CShapeFigure* fig;
    RECT reach;
};

// Which of `drawn` (bottom to top) later ones paint over within `area`:
// walked from the top down over a grid of 16 x 16 cells laid from the area's
// corner (the last ones cut by its edges), a figure is hidden when every cell
// of its reach within the area lies wholly inside the opaque box of a figure
// above it. A figure that reaches nothing of the area counts as hidden.
// `open`, if given, receives rectangles covering what no opaque box covers:
// where what lies under all the figures still shows. With a few boxes that
// is worked out to the pixel (OpenBetween), otherwise as the open cells.
std::vector<bool> HiddenWithin(const std::vector<DrawnFigure>& drawn, const RECT& area, const CBrush& brush,
                               std::vector<RECT>* open = nullptr);
