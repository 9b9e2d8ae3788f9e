// A line, rectangle or ellipse as the program shows it: the outline in the
// DC's selected pen, the inside in the figure's fill colour.
#pragma once

#include "platform/Gdi.h"
#include "platform/WinTypes.h"
#include "scene/ShapeFigure.h"

// Draws `kind` (FK_LINE, FK_RECTANGLE, FK_ELLIPSE) over `rc` as stored. The
// inside is taken from the ordered rectangle, so a figure dragged up and to
// the left, or resized past its opposite edge, looks like the same figure
// dragged the usual way: a rectangle's fill covers exactly the pixels inside
// its outline; an ellipse's fill starts one pixel in from the top-left and
// leaves a ring of the outline's inside white on the right and lower side.
void DrawPlainShape(CDC& dc, FigureKind kind, const RECT& rc, COLORREF fill);
