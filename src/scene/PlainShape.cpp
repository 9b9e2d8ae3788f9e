#include "scene/PlainShape.h"

#include "platform/Picture.h"
#include "scene/ShapeFigure.h"

void DrawPlainShape(CDC& dc, FigureKind kind, const RECT& rc, COLORREF fill)
{
    const RECT n = NormalizedRect(rc);
    switch (kind) {
    case FK_LINE:
        dc.MoveTo(rc.left, rc.top);
        dc.LineTo(rc.right, rc.bottom);
        break;
    case FK_RECTANGLE: {
        // The fill covers every pixel inside the outline, so the outline is
        // drawn without painting that inside first.
        {
            const CBrushSelection noInside(dc, CBrush::Null());
            dc.Rectangle(rc);
        }
        dc.FillRect(RECT{n.left + 1, n.top + 1, n.right - 1, n.bottom - 1}, CBrush::Solid(fill));
        break;
    }
    case FK_ELLIPSE:
        dc.Ellipse(rc);
        FillEllipseOpaque(dc, fill, n.left + 1, n.top + 1, n.right - n.left - 3, n.bottom - n.top - 3);
        break;
    default:
        break;
    }
}
