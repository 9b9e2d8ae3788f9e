// Selection handles: small squares drawn in not-XOR mode, so drawing the same
// handles a second time removes them and restores the pixels under them.
#include "scene/Handles.h"

#include "app/MainFrame.h"
#include "scene/ShapeFigure.h"

namespace {

void DrawHandle(CDC& dc, POINT p)
{
    // Black outline inverts the ring under it; the white inside leaves the
    // pixels as they were.
    dc.Rectangle(p.x - HANDLE_HALF, p.y - HANDLE_HALF, p.x + HANDLE_HALF, p.y + HANDLE_HALF);
}

void DrawHandleSet(CDC& dc, const RECT& rc, FigureKind kind)
{
    switch (kind) {
    case FK_LINE:
        for (const POINT& p : LineHandlePoints(rc))
            DrawHandle(dc, p);
        break;
    case FK_RECTANGLE:
    case FK_ELLIPSE:
    case FK_TEXT:
        for (const POINT& p : BoxHandlePoints(rc))
            DrawHandle(dc, p);
        break;
    default:
        break;  // borders and "none" have no handles
    }
}

}  // namespace

void CMainFrame::DrawHandles(const RECT* pOld, const RECT* pNew)
{
    CDC& dc = *m_pCanvasDC;
    // The mode stays not-XOR after the call; later steps set their own.
    dc.SetROP2(R2_NOTXORPEN);
    const CPenSelection pen(dc, CPen::Black());
    const CBrushSelection brush(dc, CBrush::White());
    if (pOld) {
        if (m_nOldSelKind == FK_NONE)
            m_nOldSelKind = m_nSelKind;
        DrawHandleSet(dc, *pOld, m_nOldSelKind);
        m_handlesShown.reset();
    }
    if (!pNew)
        return;
    DrawHandleSet(dc, *pNew, m_nSelKind);
    m_handlesShown = ShownHandles{*pNew, m_nSelKind};
}

void CMainFrame::HideHandles()
{
    if (!m_handlesShown)
        return;
    const RECT shown = m_handlesShown->rect;
    m_nOldSelKind = m_handlesShown->kind;
    DrawHandles(&shown, nullptr);
}

void CMainFrame::ShowHandles()
{
    HideHandles();
    if (const std::optional<RECT> rc = HandleRect(m_pSelRect.get(), m_nSelKind))
        DrawHandles(nullptr, &*rc);
}

void CMainFrame::ShowHandlesAt(const ShownHandles& handles)
{
    HideHandles();
    const FigureKind kind = m_nSelKind;
    m_nSelKind = handles.kind;
    DrawHandles(nullptr, &handles.rect);
    m_nSelKind = kind;
}

std::optional<RECT> CMainFrame::HandleRect(const RECT* pRect, int kind)
{
    if (!pRect)
        return std::nullopt;
    return kind == FK_TEXT ? InflatedRect(*pRect, -HANDLE_HALF) : *pRect;
}
