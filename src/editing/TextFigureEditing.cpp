// Text boxes as figures: the Resize command selects the active box's text
// figure with live handles, a drag of it moves or resizes the box window,
// and Delete removes box, figure and record together.
#include "app/MainFrame.h"
#include "scene/ShapeFigure.h"
#include "text/EditBox.h"
#include "text/TextBoxInfo.h"
#include "text/TextState.h"

void CMainFrame::OnResize()
{
    // Only the active box, and only while it still has its figure; a deleted
    // box reads as none.
    CEditBox* box = g_pActiveEdit.data();
    if (!box)
        return;
    const int id = box->GetDlgCtrlID();
    const int index = FindTextFigure(id);
    if (!g_pFigures->IsValidIndex(index))
        return;

    CancelDrag();
    m_pOldSelRect = m_pSelRect;
    m_nOldSelKind = m_nSelKind;
    // The box's record takes the current text format.
    CTextBoxInfo record;
    record.SetFormat(g_logfont, g_crText, id);
    ReplaceTextBoxInfo(id, record);

    // The colours stay those the last selection or colour command left.
    const COLORREF line = m_crLine, fill = m_crFill;
    m_pSelRect = std::make_shared<RECT>(SelectFigure(index));
    m_crLine = line;
    m_crFill = fill;
    ShowHandles();
    m_nMode = MODE_TEXT_SIZING;
    Invalidate();
}

void CMainFrame::RebuildTextFigure(UINT nFlags, POINT point)
{
    if (nFlags == FORWARDED_UP) {
        // The point is in the client coordinates of whichever box it was
        // released over; it is made an offset from the selection's corner
        // through that box's place on the canvas. Over the resized box
        // itself, in a resize that keeps its top-left corner, it stays the
        // offset it came as.
        POINT offset = point;
        if (CEditBox* over = m_pForwardingBox.data()) {
            const RECT boxRect = over->GetCanvasRect();
            offset.x += boxRect.left - m_pSelRect->left;
            offset.y += boxRect.top - m_pSelRect->top;
        }
        ApplyForwardedRelease(offset.x, offset.y);
    }
    CEditBox* box = g_pActiveEdit.data();
    if (!box) {
        // The box went away during the drag: nothing to move or mirror.
        *m_pSelRect = InflatedRect(*m_pSelRect, TEXT_FIGURE_MARGIN);
        m_nMode = MODE_NONE;
        return;
    }
    // During the drag the selection was the box window's own rectangle.
    box->MoveWindow(*m_pSelRect);
    const int id = box->GetDlgCtrlID();
    m_nSelected = FindTextFigure(id);
    *m_pSelRect = InflatedRect(*m_pSelRect, TEXT_FIGURE_MARGIN);
    // The line and fill colours are the ones the last selection or colour
    // command left; a missing figure is not re-made.
    g_pFigures->SetAt(m_nSelected,
                      CShapeFigure::Text(*m_pSelRect, box->GetWindowText(), id, box->GetRect(), m_crLine, m_crFill));
    m_nMode = MODE_TEXT_SIZING;  // the figure stays selected with live handles
}

void CMainFrame::DeleteActiveTextBox()
{
    CEditBox* box = g_pActiveEdit.data();
    if (!box)
        return;  // no live box: nothing is removed
    const int id = box->GetDlgCtrlID();
    g_pFigures->RemoveAt(FindTextFigure(id));
    delete box;  // a child window of the view: deleting it destroys the window
    g_pTextBoxes->RemoveAt(FindTextBoxInfo(id));
}
