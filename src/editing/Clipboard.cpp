// Cut, Copy and Paste of one figure inside the program. The held figure is
// only a kind, a rectangle and two colours; the system clipboard is never used.
#include "app/MainFrame.h"
#include "platform/Picture.h"
#include "platform/WindowSystem.h"
#include "scene/PlainShape.h"
#include "scene/ShapeFigure.h"

namespace {

constexpr int kPasteOffset = 10;  // a pasted figure lands 10 pixels right and down

bool IsShapeKind(int kind)
{
    return kind == FK_LINE || kind == FK_RECTANGLE || kind == FK_ELLIPSE;
}

}  // namespace

namespace {
// Cut and Copy hold the selected figure the same way, after the same two
// checks, each with its own messages. Returns whether the figure is held.
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
    // Take the selection's handles away, then remove the figure.
    m_nOldSelKind = m_nSelKind;
    const std::optional<RECT> shown = HandleRect(m_pSelRect.get(), m_nSelKind);
    DrawHandles(shown ? &*shown : nullptr, nullptr);
    g_pFigures->RemoveAt(m_nSelected);
    m_pSelRect.reset();
    RefreshCanvas(false);
}

void CMainFrame::OnEditCopy()
{
    HoldSelection(*this, QStringLiteral("First select the area to be copied"), QStringLiteral("Border can't be replicated"), 2);
}

void CMainFrame::OnEditPaste()
{
    if ((m_nClipState == 1 || m_nClipState == 2) && m_pClipRect) {
        const RECT rc = *m_pClipRect;
        CDC& dc = *m_pCanvasDC;
        {
            // The held figure, drawn straight into the canvas.
            dc.SetROP2(R2_COPYPEN);
            const CPenSelection pen(dc, CPen(PS_SOLID, 1, m_crClipLine));
            // A held text figure draws nothing.
            DrawPlainShape(dc, m_nClipKind, rc, m_crClipFill);
        }
        // The old selection loses its handles; the pasted figure becomes the
        // selection, and later commands act on it.
        m_nOldSelKind = m_nSelKind;
        const std::optional<RECT> oldShown = HandleRect(m_pSelRect.get(), m_nSelKind);
        m_nSelKind = m_nClipKind;
        m_crLine = m_crClipLine;
        m_crFill = m_crClipFill;
        m_bSelPicture = 0;  // only plain figures are ever held
        if (IsShapeKind(m_nClipKind))
            m_nSelected = g_pFigures->Add(std::make_unique<CShapeFigure>(rc, CreationCodeFromKind(m_nClipKind), CString(),
                                                                         0, m_crClipLine, 0.0, 0.0, CString(),
                                                                         std::nullopt, m_crClipFill));
        const std::optional<RECT> newShown = HandleRect(m_pClipRect.get(), m_nSelKind);
        DrawHandles(oldShown ? &*oldShown : nullptr, newShown ? &*newShown : nullptr);
        // One rectangle from now on: moving the selection moves where the
        // next Paste goes.
        m_pSelRect = m_pClipRect;
    }
    Invalidate();
}
