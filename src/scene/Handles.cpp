// Selection handles: small squares drawn in not-XOR mode, so drawing the same
// handles a second time removes them and restores the pixels under them.
#include "app/MainFrame.h"
#include "scene/ShapeFigure.h"

namespace {

constexpr int kHandleHalf = 3;  // a handle is the square from point - 3 to point + 3

void DrawHandle(CDC& dc, int x, int y)
{
    // Black outline inverts the ring under it; the white inside leaves the
    // pixels as they were.
    dc.Rectangle(x - kHandleHalf, y - kHandleHalf, x + kHandleHalf, y + kHandleHalf);
}

// Middle of two coordinates, truncated toward zero, without overflow.
int Mid(int a, int b)
{
    return static_cast<int>((static_cast<long long>(a) + b) / 2);
}

void DrawHandleSet(CDC& dc, const RECT& rc, int kind)
{
    const int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    switch (kind) {
    case FK_LINE:
        DrawHandle(dc, l, t);
        DrawHandle(dc, r, b);
        break;
    case FK_RECTANGLE:
    case FK_ELLIPSE:
    case FK_TEXT: {
        const int mx = Mid(l, r);
        const int my = Mid(t, b);
        DrawHandle(dc, l, t);
        DrawHandle(dc, mx, t);
        DrawHandle(dc, r, t);
        DrawHandle(dc, r, my);
        DrawHandle(dc, r, b);
        DrawHandle(dc, mx, b);
        DrawHandle(dc, l, b);
        DrawHandle(dc, l, my);
        break;
    }
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
        if (m_nOldSelKind == -1)
            m_nOldSelKind = m_nSelKind;
        DrawHandleSet(dc, *pOld, m_nOldSelKind);
    }
    if (!pNew)
        return;
    DrawHandleSet(dc, *pNew, m_nSelKind);
}

std::optional<RECT> CMainFrame::HandleRect(const RECT* pRect, int kind)
{
    if (!pRect)
        return std::nullopt;
    return kind == FK_TEXT ? InflatedRect(*pRect, -3) : *pRect;
}
