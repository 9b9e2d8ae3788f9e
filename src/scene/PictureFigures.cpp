// Picture rectangles and tiles: pictures stretched onto the canvas in the
// averaging HALFTONE mode, from the stretch each decoded picture keeps.
#include "scene/PictureFigures.h"

#include "app/MainFrame.h"
#include "platform/DamageRegion.h"
#include "platform/Picture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

namespace {

constexpr double kTileAllowance = 0.3;  // lets through a last tile that ends at most 0.3 pixel past the edge

// A double truncated toward zero as a C cast does, held inside the int range
// so that a far-off position cannot overflow.
int Trunc(double v)
{
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(v, lo, hi));
}

// Pictures are drawn in the HALFTONE stretch mode, which shrinks them by
// averaging (a photo shrunk by the default mode, which ANDs the pixels that
// land on one, comes out dark and posterised); the DC's own mode is put back
// after each picture.
class HalftoneStretch {
public:
    explicit HalftoneStretch(CDC& dc) : m_dc(dc), m_old(dc.SetStretchBltMode(HALFTONE)) {}
    ~HalftoneStretch() { m_dc.SetStretchBltMode(m_old); }
    HalftoneStretch(const HalftoneStretch&) = delete;
    HalftoneStretch& operator=(const HalftoneStretch&) = delete;

private:
    CDC& m_dc;
    int m_old;
};

// The pixels [lo, hi) a stretch of signed size `size` from `at` covers along a side.
void Span(long long at, long long size, long long& lo, long long& hi)
{
    lo = size < 0 ? at + size + 1 : at;
    hi = lo + (size < 0 ? -size : size);
}

// Whether a stretch onto (x, y, w, h) is drawn from the kept stretch of its
// size (made once on a surface of its own and block-copied at every redraw).
// Where the destination's edges cut a stretch makes no difference to the
// pixels it shows: an averaging pixel reads its own area of the picture, and
// a growing one the picture pixel under it, whatever is cut off. So a
// stretch is kept whenever it is no larger than the canvas.
bool KeptStretchFits(const CMainFrame& frame, long long w, long long h)
{
    return std::llabs(w) <= frame.m_cxCanvas && std::llabs(h) <= frame.m_cyCanvas;
}

// Whether a stretch onto (x, y, w, h) can change a pixel the DC may draw on.
bool Visible(const CDC& dc, long long x, long long y, long long w, long long h)
{
    long long l, r, t, b;
    Span(x, w, l, r);
    Span(y, h, t, b);
    RECT area{0, 0, dc.Width(), dc.Height()};
    if (const std::optional<RECT>& clip = dc.GetClipRect())
        area = IntersectedRect(area, *clip);
    return l < area.right && r > area.left && t < area.bottom && b > area.top && !IsEmptyRect(area);
}

// A picture rectangle: the whole picture, drawn on white at its own size,
// then stretched onto the rectangle. No outline and no fill.
// The stretch size of a picture rectangle: right - left by bottom - top,
// held inside the int range.
int StretchWidth(const RECT& rc) { return Trunc(static_cast<double>(rc.right) - rc.left); }
int StretchHeight(const RECT& rc) { return Trunc(static_cast<double>(rc.bottom) - rc.top); }

}  // namespace

RECT PictureRectangleBox(const CShapeFigure& fig)
{
    const int w = StretchWidth(fig.m_rect), h = StretchHeight(fig.m_rect);
    const auto picture = CPicture::Load(fig.m_strPicture);
    if (!picture || picture->GetWidth() <= 0 || picture->GetHeight() <= 0 || w == 0 || h == 0)
        return RECT{};
    long long l, r, t, b;
    Span(fig.m_rect.left, w, l, r);
    Span(fig.m_rect.top, h, t, b);
    const auto clamp = [](long long v) {
        return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    };
    return RECT{clamp(l), clamp(t), clamp(r), clamp(b)};
}

void DrawPictureRectangle(CMainFrame& frame, const CShapeFigure& fig)
{
    const auto picture = CPicture::Load(fig.m_strPicture);
    if (!picture)
        return;  // an unreadable file shows nothing
    frame.m_fPictureWidth = picture->GetWidthF();
    frame.m_fPictureHeight = picture->GetHeightF();
    const int W = static_cast<int>(frame.m_fPictureWidth);
    const int H = static_cast<int>(frame.m_fPictureHeight);
    const RECT& rc = fig.m_rect;
    const int w = StretchWidth(rc);
    const int h = StretchHeight(rc);
    CDC& dc = *frame.m_pCanvasDC;
    if (W <= 0 || H <= 0 || w == 0 || h == 0 || !Visible(dc, rc.left, rc.top, w, h))
        return;
    const HalftoneStretch halftone(dc);
    if (KeptStretchFits(frame, w, h)) {
        // The stretch at this size is made once per decoded picture and
        // block-copied at every redraw.
        QImage kept = picture->StretchedOnWhite(w, h, HALFTONE);
        const CDC keptDC(kept);
        long long l, r, t, b;
        Span(rc.left, w, l, r);
        Span(rc.top, h, t, b);
        dc.BitBlt(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l), static_cast<int>(b - t), keptDC,
                  0, 0, SRCCOPY);
        return;
    }
    // The picture on white, composited once per decoded picture; the copy
    // shares its pixels and is only read.
    QImage onWhite = picture->OnWhite();
    const CDC mem(onWhite);
    dc.StretchBlt(rc.left, rc.top, w, h, mem, 0, 0, W, H, SRCCOPY);
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

    // Each tile shows the whole picture on white, as a picture rectangle
    // does, however large the picture (docs/decisions.md). Every tile is the
    // same stretch of it: made once per decoded picture and tile size and
    // block-copied to each tile (KeptStretchFits); a tile larger than the
    // canvas is stretched in place.
    CDC& dc = *frame.m_pCanvasDC;
    const HalftoneStretch halftone(dc);
    QImage onWhite = picture->OnWhite();
    const CDC source(onWhite);
    QImage stretched;
    if (KeptStretchFits(frame, a, b2))
        stretched = picture->StretchedOnWhite(a, b2, HALFTONE);
    const CDC stretchedDC(stretched);
    const auto copy = [&](double x, double y) {
        const int ix = Trunc(x), iy = Trunc(y);
        if (!stretched.isNull())
            dc.BitBlt(ix, iy, a, b2, stretchedDC, 0, 0, SRCCOPY);
        else
            dc.StretchBlt(ix, iy, a, b2, source, 0, 0, W, H, SRCCOPY);
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

