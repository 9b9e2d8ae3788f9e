// Delete and the stacking order: Bring Forward puts the selected figure on
// top of all others, Send Backward under all others, in one jump.
#include "app/MainFrame.h"
#include "platform/WindowSystem.h"
#include "scene/ShapeFigure.h"

void CMainFrame::OnDelete()
{
    if (!m_pSelRect)
        return;
    if (WindowSystem().MessageBox(this, QStringLiteral("Do you want to Delete It?"), QString(),
                                  MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    if (m_nSelKind == FK_TEXT) {
        // A text figure chosen by Resize goes with its box and its record.
        DeleteActiveTextBox();
    } else {
        g_pFigures->RemoveAt(m_nSelected);
    }
    RefreshCanvas(false);
    m_pSelRect.reset();
    m_nMode = MODE_NONE;
    m_nSelKind = -1;
}

void CMainFrame::OnBringForward()
{
    if (g_pFigures->GetSize() < 2 || !g_pFigures->IsValidIndex(m_nSelected))
        return;
    g_pFigures->MoveToEnd(m_nSelected);
    m_nSelected = g_pFigures->GetSize() - 1;  // the selection follows its figure
    RefreshCanvas(true);
}

void CMainFrame::OnSendBackward()
{
    if (g_pFigures->GetSize() < 2 || !g_pFigures->IsValidIndex(m_nSelected))
        return;
    g_pFigures->MoveToFront(m_nSelected);
    m_nSelected = 0;
    RefreshCanvas(true);
}
