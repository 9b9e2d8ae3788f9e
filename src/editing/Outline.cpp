#include "editing/Outline.h"

#include "scene/ShapeFigure.h"

OutlineShape OutlineOfKind(FigureKind kind)
{
    switch (kind) {
    case FK_LINE: return OutlineShape::Line;
    case FK_ELLIPSE: return OutlineShape::Ellipse;
    default: return OutlineShape::Rectangle;
    }
}

void DrawOutline(CDC& dc, OutlineShape shape, const RECT& rc)
{
    // The canvas's white brush would leave the inside unchanged in not-XOR
    // mode; the null brush gives the same pixels without touching the inside.
    const CBrushSelection brush(dc, CBrush::Null());
    switch (shape) {
    case OutlineShape::Line:
        dc.MoveTo(rc.left, rc.top);
        dc.LineTo(rc.right, rc.bottom);
        break;
    case OutlineShape::Rectangle:
        dc.Rectangle(rc);
        break;
    case OutlineShape::Ellipse:
        dc.Ellipse(rc);
        break;
    }
}
