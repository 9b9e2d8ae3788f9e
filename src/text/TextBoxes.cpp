// Text boxes of the main window: placing a box, the record lookups, and the
// mirroring of a box's text into its text figure.
#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "scene/ShapeFigure.h"
#include "text/EditBox.h"
#include "text/TextBoxInfo.h"
#include "text/TextState.h"

#include <QApplication>

namespace {
// The text figure of a box placed or edited: grey on white.
std::unique_ptr<CShapeFigure> MakeTextFigure(const RECT& rect, const CEditBox& box)
{
    return CShapeFigure::Text(rect, box.GetWindowText(), box.GetDlgCtrlID(), box.GetRect());
}
}  // namespace

void CMainFrame::PlaceTextBox(const RECT& rc)
{
    CEditBox* box = CreateTextBox(rc);
    const int id = box->GetDlgCtrlID();

    auto record = std::make_unique<CTextBoxInfo>();
    record->SetFormat(g_logfont, g_crText, id);
    g_pTextBoxes->Add(std::move(record));

    g_pFigures->Add(MakeTextFigure(InflatedRect(rc, TEXT_FIGURE_MARGIN), *box));
}

CEditBox* CMainFrame::CreateTextBox(const RECT& rc)
{
    // The new box is the active one; its id is the new box count.
    ++g_nTextBoxCount;
    const int id = g_nTextBoxCount;
    auto* box = new CEditBox(id, View());  // owned by the view, as a child window
    SetActiveTextBox(box);

    // The window at the rectangle as dragged; its text changes come here.
    box->MoveWindow(rc);
    connect(box, &QPlainTextEdit::textChanged, this, [this, id] { OnEditChange(static_cast<UINT>(id)); });
    if (!m_textFocusConnection)
        m_textFocusConnection = connect(qApp, &QApplication::focusChanged, this,
                                        [this](QWidget* pOld, QWidget* pNew) { OnTextFocusChanged(pOld, pNew); });

    // A new font from the current text format. The box keeps its own
    // reference, so replacing m_pTextFont later leaves it valid.
    m_pTextFont = std::make_shared<const CFont>(g_logfont);
    box->SetTextFont(m_pTextFont);

    // Shown without taking the focus; g_nActiveId stays as it is.
    box->show();
    return box;
}

void CMainFrame::ReplaceTextBoxInfo(int id, const CTextBoxInfo& record)
{
    bool replaced = false;
    for (int i = 0; i < g_pTextBoxes->GetSize(); ++i) {
        if (g_pTextBoxes->GetAt(i)->m_nId == id) {
            g_pTextBoxes->SetAt(i, std::make_unique<CTextBoxInfo>(record));
            replaced = true;
        }
    }
    // The box draws in its record's colour from now on.
    if (replaced) {
        if (CEditBox* box = FindTextBoxWindow(id))
            box->RefreshTextColor();
    }
}

std::shared_ptr<const CFont> CMainFrame::LoadTextBoxFormat(int id)
{
    const CTextBoxInfo* record = g_pTextBoxes->GetAt(FindTextBoxInfo(id));
    if (!record)
        return nullptr;
    g_logfontEntry = record->m_logfont;
    g_crEntry = record->m_crText;
    g_logfont = record->m_logfont;
    g_crText = record->m_crText;
    return std::make_shared<const CFont>(record->m_logfont);
}

std::optional<COLORREF> CMainFrame::GetTextBoxColor(int id) const
{
    if (!g_pTextBoxes)
        return std::nullopt;
    const CTextBoxInfo* record = g_pTextBoxes->GetAt(FindTextBoxInfo(id));
    if (!record)
        return std::nullopt;
    return record->m_crText;
}

int CMainFrame::FindTextBoxInfo(int id) const
{
    for (int i = 0; i < g_pTextBoxes->GetSize(); ++i) {
        if (g_pTextBoxes->GetAt(i)->m_nId == id)
            return i;
    }
    return g_pTextBoxes->GetSize();
}

int CMainFrame::FindTextFigure(int id) const
{
    for (int i = 0; i < g_pFigures->GetSize(); ++i) {
        if (g_pFigures->GetAt(i)->m_nTextId == id)
            return i;
    }
    return g_pFigures->GetSize();
}

CEditBox* CMainFrame::FindTextBoxWindow(int id) const
{
    if (!View())
        return nullptr;
    for (CEditBox* box : View()->findChildren<CEditBox*>(Qt::FindDirectChildrenOnly)) {
        if (box->GetDlgCtrlID() == id)
            return box;
    }
    return nullptr;
}

void CMainFrame::OnEditChange(UINT nID)
{
    if (nID < static_cast<UINT>(CEditBox::kFirstId) || nID > static_cast<UINT>(CEditBox::kLastId))
        return;
    // The figure re-made is the one of the box whose text changed.
    const int id = static_cast<int>(nID);
    const CEditBox* box = FindTextBoxWindow(id);
    if (!box)
        return;
    const int index = FindTextFigure(id);
    const CShapeFigure* old = g_pFigures->GetAt(index);
    if (!old)
        return;  // the figure was cut away: nothing to mirror into
    // Typing makes this box's figure the target: another selection ends first.
    EndSelectionOtherThan(*box);
    m_nSelected = index;
    // The new figure keeps the old rectangle; text and formatting rectangle
    // are the box's now. Nothing is redrawn: the box shows its own text.
    const RECT rect = old->m_rect;
    g_pFigures->SetAt(index, MakeTextFigure(rect, *box));
}

void CMainFrame::SetActiveTextBox(CEditBox* box)
{
    // A text figure selected through another box stops being the selection.
    if (m_pSelRect && m_nSelKind == FK_TEXT && g_pActiveEdit.data() != box) {
        CancelDrag();
        ClearSelection();
        Invalidate();
    }
    g_pActiveEdit = box;
    g_nActiveEditId = box ? box->GetDlgCtrlID() : 0;
}

void CMainFrame::EndSelectionOtherThan(const CEditBox& box)
{
    if (!m_pSelRect)
        return;
    const CShapeFigure* selected = g_pFigures->GetAt(m_nSelected);
    if (m_nSelKind == FK_TEXT && selected && selected->m_nKind == FK_TEXT &&
        selected->m_nTextId == box.GetDlgCtrlID())
        return;  // the box's own figure, selected by Resize, stays selected
    CancelDrag();
    ClearSelection();
    Invalidate();
}
