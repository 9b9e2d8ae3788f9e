// The Insert commands and the creation drags: a line, rectangle or ellipse
// figure, or the rectangle of a new text box, made by one press-drag-release.
#include "app/MainFrame.h"
#include "editing/Outline.h"
#include "scene/ShapeFigure.h"

namespace {

RECT DragRect(POINT a, POINT b)
{
    // As dragged: never normalised, so a line keeps its direction.
    return RECT{a.x, a.y, b.x, b.y};
}

// The band of a creation drag: a solid outline of the shape, or a dashed
// rectangle for a text box; none for a code that makes no shape.
struct Band {
    bool shown;
    OutlineShape shape;
    int penStyle;
};

Band BandOf(ToolMode mode, CreationCode shape)
{
    if (mode == MODE_PLACE_TEXT)
        return {true, OutlineShape::Rectangle, PS_DASH};
    const FigureKind kind = KindFromCreationCode(shape);
    return {IsShapeKind(kind), OutlineOfKind(kind), PS_SOLID};
}

}  // namespace

// Each command arms exactly one drag and leaves the selection alone.
void CMainFrame::OnInsertLine()
{
    m_nShape = CC_LINE;
    m_nMode = MODE_DRAW;
}

void CMainFrame::OnInsertRectangle()
{
    m_nShape = CC_RECTANGLE;
    m_nMode = MODE_DRAW;
}

void CMainFrame::OnInsertCircle()
{
    m_nShape = CC_ELLIPSE;
    m_nMode = MODE_DRAW;
}

void CMainFrame::OnInsertEditBox()
{
    m_nMode = MODE_PLACE_TEXT;
}

void CMainFrame::CreatePress(POINT point)
{
    m_ptAnchor = point;
    m_ptCurrent = point;
    m_bDragging = true;
}

void CMainFrame::CreateMove(UINT nFlags, POINT point)
{
    // Only the left button alone drags: Shift, Ctrl or a second button freeze the band.
    if (nFlags != MK_LBUTTON)
        return;
    const Band band = BandOf(m_nMode, m_nShape);
    CDC& dc = *m_pCanvasDC;
    dc.SetROP2(R2_NOTXORPEN);
    const CPenSelection pen(dc, CPen(band.penStyle, 1, kBandColor));
    const RECT before = DragRect(m_ptAnchor, m_ptCurrent);
    if (band.shown)
        DrawOutline(dc, band.shape, before);  // erases the previous band
    m_ptCurrent = point;
    const RECT after = DragRect(m_ptAnchor, m_ptCurrent);
    if (band.shown)
        DrawOutline(dc, band.shape, after);
    InvalidateCanvasRect(before, 1);
    InvalidateCanvasRect(after, 1);
}

void CMainFrame::EraseBand()
{
    const Band band = BandOf(m_nMode, m_nShape);
    if (!band.shown)
        return;
    CDC& dc = *m_pCanvasDC;
    dc.SetROP2(R2_NOTXORPEN);
    const CPenSelection pen(dc, CPen(band.penStyle, 1, kBandColor));
    DrawOutline(dc, band.shape, DragRect(m_ptAnchor, m_ptCurrent));
}

void CMainFrame::CreateRelease(UINT nFlags, POINT point)
{
    m_bDragging = false;
    // A release that a text box forwards carries the box's own coordinates:
    // the drag ends where it was last drawn.
    const POINT end = nFlags == FORWARDED_UP ? m_ptCurrent : point;

    if (m_nMode == MODE_PLACE_TEXT) {
        // Removing the band leaves the canvas as it was before the drag.
        EraseBand();
        m_ptCurrent = end;
        Invalidate();
        // The box covers the rectangle as dragged; its text figure is appended.
        PlaceTextBox(DragRect(m_ptAnchor, m_ptCurrent));
        m_nMode = MODE_NONE;
        m_nShape = CC_TEXT;
        return;
    }

    const FigureKind kind = KindFromCreationCode(m_nShape);
    if (IsShapeKind(kind)) {
        EraseBand();
        m_ptCurrent = end;
        // The new figure is drawn over the canvas in copy mode: the handles
        // of the selection go first and come back on top of it, so erasing
        // them later restores the figure's own pixels.
        HideHandles();
        CDC& dc = *m_pCanvasDC;
        {
            // The figure in plain grey up to the release point, then drawn by itself.
            const CPenSelection pen(dc, CPen(PS_SOLID, 1, kBandColor));
            dc.SetROP2(R2_COPYPEN);
            DrawOutline(dc, OutlineOfKind(kind), DragRect(m_ptAnchor, m_ptCurrent));
        }
        auto figure = CShapeFigure::Shape(kind, DragRect(m_ptAnchor, m_ptCurrent), CR_FIGURE_GREY, CR_FIGURE_WHITE);
        figure->Draw(dc);
        g_pFigures->Add(std::move(figure));
        ShowHandles();
    } else {
        m_ptCurrent = end;
    }
    m_nShape = CC_NONE;
    m_nMode = MODE_NONE;
    Invalidate();
}
