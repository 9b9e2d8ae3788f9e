// The focus rules: when a text box or the main window loses the keyboard
// focus, the current text format is written back to the box recorded as
// active; a box that receives the focus becomes the active box with its own
// format; any other window (a dialog, a chooser) puts the active box's record
// back to the format it had when it became active.
#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "platform/WindowSystem.h"
#include "text/EditBox.h"
#include "text/TextBoxInfo.h"
#include "text/TextState.h"

namespace {
// The box `w` is, or null. The focus may rest on the editor's viewport.
CEditBox* AsEditBox(QWidget* w)
{
    if (auto* box = qobject_cast<CEditBox*>(w))
        return box;
    if (w) {
        if (auto* box = qobject_cast<CEditBox*>(w->parentWidget()); box && box->viewport() == w)
            return box;
    }
    return nullptr;
}

// Whether `w` is the main window: the top-level window titled with the
// program's title, or its client area, which holds its keyboard focus.
bool IsMainWindow(QWidget* w)
{
    QWidget* main = FindWindowByTitle(kAppTitle);
    if (!w || !main)
        return false;
    if (w == main)
        return true;
    const auto* frame = dynamic_cast<const CMainFrame*>(main);
    return frame && w == frame->View();
}

// Whoever loses the focus first writes the current format back to the box
// recorded as active.
void WriteBackCurrentFormat(CMainFrame& frame)
{
    if (g_nActiveId > 0) {
        CTextBoxInfo record;
        record.SetFormat(g_logfont, g_crText, g_nActiveId);
        frame.ReplaceTextBoxInfo(g_nActiveId, record);
    }
}

// A box that takes the focus becomes the active box with the format of its
// record, and its text figure the target of what the user types.
void ActivateBox(CMainFrame& frame, CEditBox& box)
{
    const int id = box.GetDlgCtrlID();
    frame.EndSelectionOtherThan(box);
    std::shared_ptr<const CFont> font = frame.LoadTextBoxFormat(id);
    frame.SetActiveTextBox(&box);
    box.SetTextFont(std::move(font));  // without a record the box keeps its font
    g_bEntryLoaded = 1;
    g_nActiveId = id;
}
}  // namespace

void CEditBox::OnKillFocus(QWidget* pNewWnd)
{
    CMainFrame* frame = Frame();
    if (!pNewWnd || !frame)
        return;
    WriteBackCurrentFormat(*frame);
    if (IsMainWindow(pNewWnd))
        return;
    if (CEditBox* box = AsEditBox(pNewWnd)) {
        ActivateBox(*frame, *box);
        return;
    }
    // Any other window: the active box's record returns to its entry format.
    CTextBoxInfo record;
    if (g_bEntryLoaded == 1) {
        record.SetFormat(g_logfontEntry, g_crEntry, g_nActiveId);
    } else {
        g_nActiveId = g_pActiveEdit ? g_pActiveEdit->GetDlgCtrlID() : 0;
        record.SetFormat(g_logfont, g_crText, g_nActiveId);
    }
    frame->ReplaceTextBoxInfo(g_nActiveId, record);
}

void CMainFrame::OnKillFocus(QWidget* pNewWnd)
{
    if (!pNewWnd)
        return;
    WriteBackCurrentFormat(*this);
    if (IsMainWindow(pNewWnd))
        return;
    if (CEditBox* box = AsEditBox(pNewWnd)) {
        ActivateBox(*this, *box);
        Invalidate();
    }
}

void CMainFrame::OnTextFocusChanged(QWidget* pOld, QWidget* pNew)
{
    if (pOld && pOld->window() == this) {
        if (CEditBox* box = AsEditBox(pOld))
            box->OnKillFocus(pNew);
        else if (pOld == View() || pOld == this)
            OnKillFocus(pNew);
        return;
    }
    // Nothing of this window lost the focus (it was nowhere, after the box
    // that had it was deleted or a dialog closed, or in another window): a
    // box that gains it still becomes the active box.
    if (CEditBox* box = AsEditBox(pNew); box && box->window() == this)
        OnTextBoxEntered(*box);
}

void CMainFrame::OnTextBoxEntered(CEditBox& box)
{
    WriteBackCurrentFormat(*this);
    ActivateBox(*this, box);
    Invalidate();
}
