// The redraw's picture figures: a picture rectangle shows its whole picture
// stretched onto the rectangle; tiles show it stretched onto each tile of a
// border. Pictures shrink by averaging (the HALFTONE stretch mode) and grow
// nearest neighbour; each stretch is made once per decoded picture and size
// and block-copied at every redraw, so a whole redraw of many pictures costs
// what copying their pixels costs.
#pragma once

#include "platform/WinTypes.h"

class CMainFrame;
class CShapeFigure;

// The pixels a picture rectangle paints, each with an opaque value (the
// picture on white): empty when its picture cannot be read or the stretch
// has no size.
RECT PictureRectangleBox(const CShapeFigure& fig);

// A picture rectangle on the canvas DC: the picture on white, stretched onto
// the figure's rectangle (negative sizes mirror). No outline and no fill; an
// unreadable picture draws nothing. Sets the frame's picture size.
void DrawPictureRectangle(CMainFrame& frame, const CShapeFigure& fig);

// The tile procedure on (l, t, r, b) with tiles of A x B and the picture at
// `path`: the left and right columns (corners included), then the top and
// bottom rows between them, each tile the whole picture stretched onto it;
// corners held as doubles and truncated at each copy. Sets the frame's
// picture size.
void DrawTiles(CMainFrame& frame, const RECT& rc, double A, double B, const CString& path);
