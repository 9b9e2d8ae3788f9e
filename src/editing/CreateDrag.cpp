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

bool IsShapeCode(int code)
{
    return code == CC_LINE || code == CC_RECTANGLE || code == CC_ELLIPSE;
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
}

void CMainFrame::CreateMove(UINT nFlags, POINT point)
{
    // Only the left button alone drags: Shift, Ctrl or a second button freeze the band.
    if (nFlags != MK_LBUTTON)
        return;
    const bool textBox = m_nMode == MODE_PLACE_TEXT;
    const bool shape = !textBox && IsShapeCode(m_nShape);
    const OutlineShape outline = textBox ? OutlineShape::Rectangle : OutlineOfKind(m_nShape);

    CDC& dc = *m_pCanvasDC;
    dc.SetROP2(R2_NOTXORPEN);
    const CPenSelection pen(dc, CPen(textBox ? PS_DASH : PS_SOLID, 1, kBandColor));
    const RECT before = DragRect(m_ptAnchor, m_ptCurrent);
    if (textBox || shape)
        DrawOutline(dc, outline, before);  // erases the previous band
    m_ptCurrent = point;
    const RECT after = DragRect(m_ptAnchor, m_ptCurrent);
    if (textBox || shape)
        DrawOutline(dc, outline, after);
    InvalidateCanvasRect(before, 1);
    InvalidateCanvasRect(after, 1);
}

void CMainFrame::CreateRelease(UINT nFlags, POINT point)
{
    // A release that a text box forwards carries the box's own coordinates,
    // and the box is not known here: the drag ends where it was last drawn.
    const POINT end = nFlags == FORWARDED_UP ? m_ptCurrent : point;
    CDC& dc = *m_pCanvasDC;

    if (m_nMode == MODE_PLACE_TEXT) {
        {
            // Remove the band where it was last drawn, which leaves the
            // canvas as it was before the drag.
            dc.SetROP2(R2_NOTXORPEN);
            const CPenSelection pen(dc, CPen(PS_DASH, 1, kBandColor));
            DrawOutline(dc, OutlineShape::Rectangle, DragRect(m_ptAnchor, m_ptCurrent));
            m_ptCurrent = end;
            Invalidate();
        }
        // The box covers the rectangle as dragged; its text figure is appended.
        PlaceTextBox(DragRect(m_ptAnchor, m_ptCurrent));
        m_nMode = MODE_NONE;
        m_nShape = CC_TEXT;
        return;
    }

    if (IsShapeCode(m_nShape)) {
        const OutlineShape outline = OutlineOfKind(m_nShape);
        {
            const CPenSelection pen(dc, CPen(PS_SOLID, 1, kBandColor));
            // Take the band away, then draw the figure in plain grey up to
            // the release point.
            dc.SetROP2(R2_NOTXORPEN);
            DrawOutline(dc, outline, DragRect(m_ptAnchor, m_ptCurrent));
            m_ptCurrent = end;
            dc.SetROP2(R2_COPYPEN);
            DrawOutline(dc, outline, DragRect(m_ptAnchor, m_ptCurrent));
        }
        auto figure = std::make_unique<CShapeFigure>(DragRect(m_ptAnchor, m_ptCurrent), m_nShape, CString(), 0,
                                                     kBandColor, 0.0, 0.0, CString(), std::nullopt,
                                                     RGB(255, 255, 255));
        figure->Draw(dc);
        g_pFigures->Add(std::move(figure));
    } else {
        m_ptCurrent = end;
    }
    m_nShape = -1;
    m_nMode = MODE_NONE;
    Invalidate();
}
