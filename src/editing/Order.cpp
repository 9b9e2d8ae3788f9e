// Delete and the stacking order: Bring Forward puts the selected figure on
// top of all others, Send Backward under all others, in one jump.
#include "app/MainFrame.h"
#include "platform/WindowSystem.h"
#include "scene/ShapeFigure.h"

void CMainFrame::OnDelete()
{
    if (!m_pSelRect)
        return;
    // The question takes the input: a drag in progress ends first.
    CancelDrag();
    if (WindowSystem().MessageBox(this, QStringLiteral("Do you want to Delete It?"), QString(),
                                  MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    if (m_nSelKind == FK_TEXT) {
        // A text figure chosen by Resize goes with its box and its record.
        DeleteActiveTextBox();
    } else {
        g_pFigures->RemoveAt(m_nSelected);
    }
    ClearSelection();
    RefreshCanvas(false);
    m_nMode = MODE_NONE;
}

namespace {
// The order commands act only on a selected figure of a list of two or more.
bool CanReorder(const CMainFrame& frame)
{
    return frame.m_pSelRect && g_pFigures->GetSize() >= 2 && g_pFigures->IsValidIndex(frame.m_nSelected);
}
}  // namespace

void CMainFrame::OnBringForward()
{
    if (!CanReorder(*this))
        return;
    g_pFigures->MoveToEnd(m_nSelected);
    m_nSelected = g_pFigures->GetSize() - 1;  // the selection follows its figure
    RefreshCanvas(true);
}

void CMainFrame::OnSendBackward()
{
    if (!CanReorder(*this))
        return;
    g_pFigures->MoveToFront(m_nSelected);
    m_nSelected = 0;
    RefreshCanvas(true);
}
