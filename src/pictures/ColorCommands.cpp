// Layout > Line Color and Fill color. The change is painted straight into the
// canvas (no full redraw), then the selected figure is re-made with the new
// colour at its place in the list.
#include "app/MainFrame.h"
#include "editing/Outline.h"
#include "platform/Picture.h"
#include "platform/WindowSystem.h"
#include "scene/ShapeFigure.h"

namespace {

// Puts the figure re-made from the selection's kind, rectangle and colours at
// the selected index, and takes the selection state from it again: a picture
// or bordered rectangle becomes a plain one, and so does its selection.
void StorePlainSelectedFigure(CMainFrame& frame)
{
    if (!g_pFigures->IsValidIndex(frame.m_nSelected))
        return;
    g_pFigures->SetAt(frame.m_nSelected,
                      CShapeFigure::Shape(frame.m_nSelKind, *frame.m_pSelRect, frame.m_crLine, frame.m_crFill));
    frame.SelectFigure(frame.m_nSelected);
}

}  // namespace

void CMainFrame::OnLineColor()
{
    // The chooser comes first, also when nothing can take the colour.
    const std::optional<COLORREF> color = WindowSystem().ChooseColor(this, RGB(0, 0, 0));
    if (!color || !m_pSelRect || !IsShapeKind(m_nSelKind))
        return;
    // Two not-XOR passes over the outline: the old colour turns the outline's
    // pixels white, the new colour turns white into itself. The inside is left
    // as it was; crossing figures change by the same rule.
    CDC& dc = *m_pCanvasDC;
    dc.SetROP2(R2_NOTXORPEN);
    const OutlineShape shape = OutlineOfKind(m_nSelKind);
    {
        const CPenSelection pen(dc, CPen(PS_SOLID, 1, m_crLine));
        DrawOutline(dc, shape, *m_pSelRect);
    }
    m_crLine = *color;
    {
        const CPenSelection pen(dc, CPen(PS_SOLID, 1, m_crLine));
        DrawOutline(dc, shape, *m_pSelRect);
    }
    StorePlainSelectedFigure(*this);
    Invalidate();
}

void CMainFrame::OnFillColor()
{
    const std::optional<COLORREF> color = WindowSystem().ChooseColor(this, RGB(0, 0, 0));
    if (!color)
        return;
    if (!m_pSelRect) {
        WindowSystem().MessageBox(this, QStringLiteral("First select any fig to fill"), QString(), MB_OK);
        return;
    }
    if ((m_nSelKind != FK_RECTANGLE && m_nSelKind != FK_ELLIPSE) || m_dSelTileWidth != 0.0) {
        if (m_dSelTileWidth > 0.0)
            WindowSystem().MessageBox(this, QStringLiteral("you can't fill color inside a border"), QString(), MB_OK);
        return;  // lines and text figures take no fill
    }
    m_crFill = *color;
    // The fill is painted in copy mode: the handles go first and come back on top.
    HideHandles();
    const RECT n = NormalizedRect(*m_pSelRect);
    if (m_nSelKind == FK_RECTANGLE)
        m_pCanvasDC->FillRect(RECT{n.left + 1, n.top + 1, n.right - 1, n.bottom - 1}, CBrush::Solid(m_crFill));
    else
        FillEllipseOpaque(*m_pCanvasDC, m_crFill, n.left + 1, n.top + 1, n.right - n.left - 3, n.bottom - n.top - 3);
    ShowHandles();
    StorePlainSelectedFigure(*this);
    Invalidate();
}
