// The outlines that drags draw into the canvas: a line, a rectangle or an
// ellipse over a rectangle given corner to corner. Drawn with the DC's pen
// under its current raster operation and with no fill, so in not-XOR mode a
// second drawing of the same outline restores every pixel.
#pragma once

#include "platform/Gdi.h"
#include "platform/WinTypes.h"
#include "scene/ShapeFigure.h"

// The shape of an outline.
enum class OutlineShape { Line, Rectangle, Ellipse };

// The outline of a figure kind: a line for a line, an ellipse for an
// ellipse, a rectangle for everything else (rectangles and text figures).
OutlineShape OutlineOfKind(FigureKind kind);

// Draws the outline: a line from (left, top) to (right, bottom); the
// rectangle or ellipse over the rectangle.
void DrawOutline(CDC& dc, OutlineShape shape, const RECT& rc);

// The dashed grey pen of move, resize and arrow-key outlines and of the text
// box band; and the solid grey pen of the shape band.
constexpr COLORREF kBandColor = CR_FIGURE_GREY;
