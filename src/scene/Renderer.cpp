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
    // The picture on white, composited once per decoded picture; the copy
    // shares its pixels and is only read.
    QImage onWhite = picture->OnWhite();
    const CDC mem(onWhite);
    const RECT& rc = fig.m_rect;
    frame.m_pCanvasDC->StretchBlt(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, mem, 0, 0,
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
    // A picture that fits the canvas is its composite on white, made once;
    // a larger one is cut to the canvas as the tile DC cuts it.
    std::unique_ptr<CMemoryDC> cut;
    QImage onWhite;
    if (tw == W && th == H) {
        onWhite = picture->OnWhite();
    } else {
        cut = std::make_unique<CMemoryDC>(tw, th);
        cut->DC().FillRect(RECT{0, 0, tw, th}, CBrush::White());
        DrawPicture(cut->DC(), *picture, 0, 0);
    }
    const CDC tileDC(onWhite);
    const CDC& tileSource = cut ? cut->DC() : tileDC;

    CDC& dc = *frame.m_pCanvasDC;
    // Every tile is the same stretch of the picture: it is stretched once
    // and block-copied to each tile that lies wholly on the canvas. A tile
    // cut by the canvas edge is stretched in place, as the clipping of a
    // stretch decides which source pixels its visible part takes.
    // A picture that fits the canvas keeps its stretch for the next redraws.
    QImage stretched;
    if (a <= frame.m_cxCanvas && b2 <= frame.m_cyCanvas) {  // a larger tile is never wholly on the canvas
        if (cut) {
            CMemoryDC once(a, b2);
            once.DC().SetStretchBltMode(dc.GetStretchBltMode());
            once.DC().StretchBlt(0, 0, a, b2, tileSource, 0, 0, W, H, SRCCOPY);
            stretched = once.Image();
        } else {
            stretched = picture->StretchedOnWhite(a, b2, dc.GetStretchBltMode());
        }
    }
    const CDC stretchedDC(stretched);
    const auto copy = [&](double x, double y) {
        const int ix = Trunc(x), iy = Trunc(y);
        const bool inside = !stretched.isNull() && ix >= 0 && iy >= 0 &&
                            static_cast<long long>(ix) + a <= frame.m_cxCanvas &&
                            static_cast<long long>(iy) + b2 <= frame.m_cyCanvas;
        if (inside)
            dc.BitBlt(ix, iy, a, b2, stretchedDC, 0, 0, SRCCOPY);
        else
            dc.StretchBlt(ix, iy, a, b2, tileSource, 0, 0, W, H, SRCCOPY);
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
