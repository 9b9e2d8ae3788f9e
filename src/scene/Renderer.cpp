// The full redraw: the background picture, then every figure of the list in
// stacking order, straight into the canvas. Text figures are skipped: their
// boxes paint themselves.
#include "app/MainFrame.h"
#include "platform/Picture.h"
#include "scene/PlainShape.h"
#include "scene/ShapeFigure.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

constexpr int kBackgroundOffset = 10;  // the background's top-left lands at (10, 10)
constexpr double kTileAllowance = 0.3;  // lets through a last tile that ends at most 0.3 pixel past the edge

// A double truncated toward zero as a C cast does, held inside the int range
// so that a far-off position cannot overflow.
int Trunc(double v)
{
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(v, lo, hi));
}

// A picture rectangle: the whole picture, drawn on white at its own size,
// then stretched onto the rectangle. No outline and no fill.
void DrawPictureRectangle(CMainFrame& frame, const CShapeFigure& fig)
{
    const auto picture = CPicture::Load(fig.m_strPicture);
    if (!picture)
        return;  // an unreadable file shows nothing
    frame.m_fPictureWidth = picture->GetWidthF();
    frame.m_fPictureHeight = picture->GetHeightF();
    const int w = picture->GetWidth();
    const int h = picture->GetHeight();
    if (w <= 0 || h <= 0)
        return;
    CMemoryDC mem(w, h);
    mem.DC().FillRect(RECT{0, 0, w, h}, CBrush::White());
    DrawPicture(mem.DC(), *picture, 0, 0);
    const RECT& rc = fig.m_rect;
    frame.m_pCanvasDC->StretchBlt(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, mem.DC(), 0, 0,
                                  static_cast<int>(frame.m_fPictureWidth),
                                  static_cast<int>(frame.m_fPictureHeight), SRCCOPY);
}

// The tile procedure: the picture shrunk or stretched into every tile of the
// left and right columns (corners included), then of the top and bottom rows
// between them. Corners are accumulated as doubles and truncated at each copy.
void DrawTiles(CMainFrame& frame, const RECT& rc, double A, double B, const CString& path)
{
    if (!(A > 0 && B > 0 && std::isfinite(A) && std::isfinite(B)))
        return;  // the edge loops only end for positive finite tile sizes
    const auto picture = CPicture::Load(path);
    if (!picture)
        return;  // an unreadable tile file shows nothing
    frame.m_fPictureWidth = picture->GetWidthF();
    frame.m_fPictureHeight = picture->GetHeightF();
    const int W = static_cast<int>(frame.m_fPictureWidth);
    const int H = static_cast<int>(frame.m_fPictureHeight);
    const int a = Trunc(A);
    const int b2 = Trunc(B);
    // A tile narrower or lower than one pixel copies nothing, and neither
    // does an empty picture; skipping the loops then draws the same.
    if (a == 0 || b2 == 0 || W <= 0 || H <= 0)
        return;

    // The tile DC is canvas sized; only its (0, 0, W, H) corner is ever read,
    // so a bitmap of that corner clipped to the canvas holds the same pixels.
    const int tw = std::min(W, frame.m_cxCanvas);
    const int th = std::min(H, frame.m_cyCanvas);
    if (tw <= 0 || th <= 0)
        return;
    CMemoryDC tile(tw, th);
    tile.DC().FillRect(RECT{0, 0, tw, th}, CBrush::White());
    DrawPicture(tile.DC(), *picture, 0, 0);

    CDC& dc = *frame.m_pCanvasDC;
    // Every tile is the same stretch of the picture: it is stretched once
    // and block-copied to each tile that lies wholly on the canvas. A tile
    // cut by the canvas edge is stretched in place, as the clipping of a
    // stretch decides which source pixels its visible part takes.
    std::unique_ptr<CMemoryDC> stretched;
    if (a <= frame.m_cxCanvas && b2 <= frame.m_cyCanvas) {  // a larger tile is never wholly on the canvas
        stretched = std::make_unique<CMemoryDC>(a, b2);
        stretched->DC().SetStretchBltMode(dc.GetStretchBltMode());
        stretched->DC().StretchBlt(0, 0, a, b2, tile.DC(), 0, 0, W, H, SRCCOPY);
    }
    const auto copy = [&](double x, double y) {
        const int ix = Trunc(x), iy = Trunc(y);
        const bool inside = stretched && ix >= 0 && iy >= 0 && static_cast<long long>(ix) + a <= frame.m_cxCanvas &&
                            static_cast<long long>(iy) + b2 <= frame.m_cyCanvas;
        if (inside)
            dc.BitBlt(ix, iy, a, b2, stretched->DC(), 0, 0, SRCCOPY);
        else
            dc.StretchBlt(ix, iy, a, b2, tile.DC(), 0, 0, W, H, SRCCOPY);
    };
    const double l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    for (double y = t; y + B <= b + kTileAllowance; y += B)
        copy(l, y);
    for (double y = t; y + B <= b + kTileAllowance; y += B)
        copy(r - A, y);
    for (double x = l + A; x + A <= (r - A) + kTileAllowance; x += A)
        copy(x, t);
    for (double x = l + A; x + A <= (r - A) + kTileAllowance; x += A)
        copy(x, b - B);
}

void DrawFigure(CMainFrame& frame, const CShapeFigure& fig)
{
    CDC& dc = *frame.m_pCanvasDC;
    const RECT& rc = fig.m_rect;
    switch (fig.m_nKind) {
    case FK_LINE:
        DrawPlainShape(dc, FK_LINE, rc, fig.FillColor());
        break;
    case FK_RECTANGLE:
        if (fig.m_dTileWidth == 0 && fig.m_dTileHeight == 0) {
            if (fig.m_strPicture.isEmpty())
                DrawPlainShape(dc, FK_RECTANGLE, rc, fig.FillColor());
            else
                DrawPictureRectangle(frame, fig);
        } else if (fig.m_dTileWidth > 0 && fig.m_dTileHeight > 0) {
            DrawTiles(frame, rc, fig.m_dTileWidth, fig.m_dTileHeight, fig.m_strPicture);
        }
        break;
    case FK_ELLIPSE:
        DrawPlainShape(dc, FK_ELLIPSE, rc, fig.FillColor());
        break;
    case FK_BORDER:
        DrawTiles(frame, rc, fig.m_dTileWidth, fig.m_dTileHeight, fig.m_strPicture);
        break;
    default:
        break;
    }
}

}  // namespace

void CMainFrame::RedrawFigures()
{
    CDC& dc = *m_pCanvasDC;
    if (m_bBackground == 1) {
        if (const auto picture = CPicture::Load(m_strBackground))
            DrawPicture(dc, *picture, kBackgroundOffset, kBackgroundOffset);
    }
    if (!g_pFigures)
        return;
    const int count = g_pFigures->GetSize();
    for (int i = 0; i < count; ++i) {
        const CShapeFigure* fig = g_pFigures->GetAt(i);
        if (!fig || fig->m_nKind == FK_TEXT || fig->m_nKind < FK_LINE || fig->m_nKind > FK_BORDER)
            continue;
        const CPenSelection pen(dc, CPen(PS_SOLID, 1, fig->LineColor()));
        dc.SetROP2(R2_COPYPEN);
        DrawFigure(*this, *fig);
    }
}

void CMainFrame::ClearCanvas()
{
    // The canvas DC always has the white stock brush selected.
    m_pCanvasDC->PatBlt(0, 0, m_cxCanvas, m_cyCanvas, PATCOPY);
    m_handlesShown.reset();
}

void CMainFrame::RefreshCanvas(bool withHandles)
{
    ClearCanvas();
    RedrawFigures();
    if (withHandles)
        ShowHandles();  // the canvas holds none now: the kept selection's only
    Invalidate();
}
