// The canvas's mouse handlers: each acts by the tool mode.
#include "app/CanvasView.h"
#include "app/MainFrame.h"

void CMainFrame::OnLButtonDown(UINT, POINT)
{
    // The main window always takes the keyboard focus first.
    View()->setFocus(Qt::MouseFocusReason);
}

void CMainFrame::OnMouseMove(UINT, POINT) {}

void CMainFrame::OnLButtonUp(UINT, POINT) {}

void CMainFrame::OnKeyDown(UINT, UINT, UINT)
{
    Invalidate();
}

void CMainFrame::OnKeyUp(UINT, UINT, UINT) {}

void CMainFrame::OnContextMenu(QPoint) {}
