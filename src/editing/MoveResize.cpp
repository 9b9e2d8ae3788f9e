// Moving and resizing: during a drag the selection rectangle follows the
// pointer as a dashed outline; the release re-makes the selected figure from
// it and redraws the canvas.
#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "editing/Outline.h"
#include "scene/ShapeFigure.h"

#include <QRect>

namespace {

// The selection rectangle after the pointer moved to (x, y) in a drag mode.
RECT DraggedRect(ToolMode mode, RECT rc, int x, int y, const RECT& grab)
{
    switch (mode) {
    case MODE_SIZE_NW:
    case MODE_LINE_START: rc.left = x; rc.top = y; break;
    case MODE_SIZE_N: rc.top = y; break;
    case MODE_SIZE_NE: rc.top = y; rc.right = x; break;
    case MODE_SIZE_E: rc.right = x; break;
    case MODE_SIZE_SE:
    case MODE_LINE_END: rc.right = x; rc.bottom = y; break;
    case MODE_SIZE_S: rc.bottom = y; break;
    case MODE_SIZE_SW: rc.left = x; rc.bottom = y; break;
    case MODE_SIZE_W: rc.left = x; break;
    case MODE_MOVE:
    case MODE_LINE_MOVE:
        rc.left = x - grab.left;
        rc.top = y - grab.top;
        rc.right = rc.left + grab.right;
        rc.bottom = rc.top + grab.bottom;
        break;
    default: break;
    }
    return rc;
}

}  // namespace

void CMainFrame::DragMove(UINT nFlags, POINT point)
{
    if (nFlags != MK_LBUTTON || !m_pSelRect) {
        SetModeCursor(MODE_NONE);
        return;  // nothing on the canvas changed
    }
    // Only the parts of the window that show the two outlines need painting.
    const RECT before = *m_pSelRect;
    OutlineStep(point);
    SetModeCursor(m_nMode);
    InvalidateCanvasRect(before, 1);
    InvalidateCanvasRect(*m_pSelRect, 1);
}

namespace {
// The outline a drag of the selection shows: a picture moves as a rectangle
// in its own line colour, everything else as its kind's shape in grey.
struct DragOutline {
    OutlineShape shape;
    COLORREF color;
};

DragOutline OutlineOfDrag(const CMainFrame& frame)
{
    if (frame.m_nMode == MODE_MOVE && frame.m_bSelPicture == 1)
        return {OutlineShape::Rectangle, frame.m_crLine};
    return {OutlineOfKind(frame.m_nSelKind), kBandColor};
}

void DrawDragOutline(CMainFrame& frame, const DragOutline& outline, const RECT& rc)
{
    CDC& dc = *frame.m_pCanvasDC;
    dc.SetROP2(R2_NOTXORPEN);
    const CPenSelection pen(dc, CPen(PS_DASH, 1, outline.color));
    DrawOutline(dc, outline.shape, rc);
}
}  // namespace

void CMainFrame::OutlineStep(POINT point)
{
    if (!m_pSelRect)
        return;
    const DragOutline outline = OutlineOfDrag(*this);
    DrawDragOutline(*this, outline, *m_pSelRect);  // erases the outline of the previous step
    *m_pSelRect = DraggedRect(m_nMode, *m_pSelRect, point.x, point.y, m_rcGrab);
    DrawDragOutline(*this, outline, *m_pSelRect);
}

void CMainFrame::DragRelease(UINT nFlags, POINT point)
{
    m_bDragging = false;
    SetModeCursor(MODE_NONE);
    if (!m_pSelRect) {
        m_nMode = MODE_NONE;
        Invalidate();
        return;
    }
    RebuildSelectedFigure(nFlags, point);
}

void CMainFrame::RebuildSelectedFigure(UINT nFlags, POINT point)
{
    if (m_nSelKind == FK_TEXT && m_bSelPicture == 0) {
        RebuildTextFigure(nFlags, point);
    } else {
        // The figure takes the rectangle of the last move, also when a text
        // box forwarded the release; the release point itself is not used.
        // A picture or bordered rectangle keeps its picture and tiles on white.
        StoreSelectedFigure();
        m_nMode = MODE_NONE;
    }
    RefreshCanvas(true);
}

void CMainFrame::CancelDrag()
{
    if (!m_bDragging)
        return;
    m_bDragging = false;
    SetModeCursor(MODE_NONE);
    if (m_nMode == MODE_DRAW || m_nMode == MODE_PLACE_TEXT) {
        EraseBand();
        m_nMode = MODE_NONE;
        if (m_nShape != CC_TEXT)
            m_nShape = CC_NONE;
    } else if (IsDragMode(m_nMode) && m_pSelRect) {
        // The selection goes back where the drag found it. The first step of
        // an outline marks the figure's own place too, so only a refresh
        // takes every trace of the drag away.
        *m_pSelRect = m_rcDragStart;
        m_nMode = m_nSelKind == FK_TEXT ? MODE_TEXT_SIZING : MODE_NONE;
        RefreshCanvas(true);
    } else {
        m_nMode = MODE_NONE;
    }
    Invalidate();
    DrawHeldSlide();
}

void CMainFrame::ApplyForwardedRelease(int x, int y)
{
    if (!m_pSelRect)
        return;
    RECT& rc = *m_pSelRect;
    const int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    switch (m_nMode) {
    case MODE_SIZE_NW: rc = RECT{L + x, T + y, R, B}; break;
    case MODE_SIZE_N: rc = RECT{L, T + y, R, B}; break;
    case MODE_SIZE_NE: rc = RECT{L, T + y, L + x, B}; break;
    case MODE_SIZE_E: rc = RECT{L, T, L + x, B}; break;
    case MODE_SIZE_SE: rc = RECT{L, T, L + x, T + y}; break;
    case MODE_SIZE_S: rc = RECT{L, T, R, T + y}; break;
    case MODE_SIZE_SW: rc = RECT{L + x, T, R, T + y}; break;
    case MODE_SIZE_W: rc = RECT{L + x, T, R, B}; break;
    case MODE_MOVE: {
        const int left = L - m_rcGrab.left + x;
        const int top = T - m_rcGrab.top + y;
        rc = RECT{left, top, left + (R - L), top + (B - T)};
        break;
    }
    default: break;
    }
}

void CMainFrame::InvalidateCanvasRect(const RECT& rc, int margin)
{
    const RECT n = InflatedRect(NormalizedRect(rc), margin);
    // Canvas pixels show in the view at their position less the scroll position.
    const QRect canvas(0, 0, m_cxCanvas, m_cyCanvas);
    const QRect r = QRect(QPoint(n.left, n.top), QPoint(n.right, n.bottom)).intersected(canvas);
    if (!r.isEmpty())
        View()->update(r.translated(-g_nScrollX, -g_nScrollY));
}
