// Cut, Copy and Paste of one figure inside the program. The held figure is
// only a kind, a rectangle and two colours; the system clipboard is never used.
#include "app/MainFrame.h"
#include "platform/Picture.h"
#include "platform/WindowSystem.h"
#include "scene/PlainShape.h"
#include "scene/ShapeFigure.h"

namespace {

constexpr int kPasteOffset = 10;  // a pasted figure lands 10 pixels right and down

// Cut and Copy hold the selected figure the same way, after the same two
// checks, each with its own messages. A text figure selected by Resize is
// not held: its box keeps its figure, and its text is cut and copied by the
// box's own keys. Returns whether the figure is held.
bool HoldSelection(CMainFrame& frame, const QString& noSelection, const QString& pictureSelection, int state)
{
    if (!frame.m_pSelRect) {
        WindowSystem().MessageBox(&frame, noSelection, QString(), MB_OK);
        return false;
    }
    if (frame.m_bSelPicture == 1) {
        WindowSystem().MessageBox(&frame, pictureSelection, QString(), MB_OK);
        return false;
    }
    if (!IsShapeKind(frame.m_nSelKind))
        return false;
    frame.m_pClipRect = std::make_shared<RECT>(OffsetRectBy(*frame.m_pSelRect, kPasteOffset, kPasteOffset));
    frame.m_crClipLine = frame.m_crLine;
    frame.m_crClipFill = frame.m_crFill;
    frame.m_nClipKind = frame.m_nSelKind;
    frame.m_nClipState = state;
    return true;
}

}  // namespace

void CMainFrame::OnEditCut()
{
    if (!HoldSelection(*this, QStringLiteral("first Select the area to be cut"), QStringLiteral("Border can't be cut"), 1))
        return;
    // The selection's handles go with the figure.
    const int index = m_nSelected;
    ClearSelection();
    g_pFigures->RemoveAt(index);
    RefreshCanvas(false);
}

void CMainFrame::OnEditCopy()
{
    HoldSelection(*this, QStringLiteral("First select the area to be copied"), QStringLiteral("Border can't be replicated"), 2);
}

void CMainFrame::OnEditPaste()
{
    if ((m_nClipState == 1 || m_nClipState == 2) && m_pClipRect && IsShapeKind(m_nClipKind)) {
        // The held figure is drawn straight into the canvas in copy mode:
        // the handles shown go first, so none is painted back into it.
        HideHandles();
        const RECT rc = *m_pClipRect;
        {
            CDC& dc = *m_pCanvasDC;
            dc.SetROP2(R2_COPYPEN);
            const CPenSelection pen(dc, CPen(PS_SOLID, 1, m_crClipLine));
            DrawPlainShape(dc, m_nClipKind, rc, m_crClipFill);
        }
        // The pasted figure becomes the selection, and later commands act on
        // it. One rectangle from now on: moving the selection moves where the
        // next Paste goes.
        const int index = g_pFigures->Add(CShapeFigure::Shape(m_nClipKind, rc, m_crClipLine, m_crClipFill));
        SelectFigure(index);
        m_pSelRect = m_pClipRect;
        ShowHandles();
    }
    Invalidate();
}
