// The canvas's three mouse handlers: each acts by the tool mode.
#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "text/EditBox.h"

void CMainFrame::OnLButtonDown(UINT, POINT point)
{
    // The main window always takes the keyboard focus first.
    View()->setFocus(Qt::MouseFocusReason);
    switch (m_nMode) {
    case MODE_DRAW:
    case MODE_PLACE_TEXT:
        CreatePress(point);
        break;
    case MODE_NONE:
        SelectPress(point);
        break;
    case MODE_TEXT_SIZING:
        // A press outside the text figure's zones selects as usual.
        if (PickTextHandle(point.x, point.y)) {
            Invalidate();
        } else {
            m_nMode = MODE_NONE;
            SelectPress(point);
        }
        break;
    default:
        break;  // the drag of an earlier press goes on until a release arrives
    }
}

void CMainFrame::OnMouseMove(UINT nFlags, POINT point)
{
    if (m_nMode == MODE_DRAW || m_nMode == MODE_PLACE_TEXT) {
        CreateMove(nFlags, point);
    } else if (IsDragMode(m_nMode)) {
        DragMove(nFlags, point);
    } else {
        SetModeCursor(MODE_NONE);
    }
}

void CMainFrame::OnLButtonUp(UINT nFlags, POINT point)
{
    if (m_nMode == MODE_DRAW || m_nMode == MODE_PLACE_TEXT)
        CreateRelease(nFlags, point);
    else if (IsDragMode(m_nMode))
        DragRelease(nFlags, point);
    // In MODE_NONE and MODE_TEXT_SIZING a release does nothing.
    DrawHeldSlide();
}

void CMainFrame::OnForwardedLButtonUp(CEditBox& box, POINT point)
{
    m_pForwardingBox = &box;
    OnLButtonUp(FORWARDED_UP, point);
    m_pForwardingBox = nullptr;
}
