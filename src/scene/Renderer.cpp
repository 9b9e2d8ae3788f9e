// The redraw: the background picture, then every figure of the list in
// stacking order, straight into the canvas. Text figures are skipped: their
// boxes paint themselves. The refresh redraws the whole canvas, or only the
// rectangles where it can differ from the design, clipped to each of them.
#include "app/MainFrame.h"
#include "platform/Picture.h"
#include "scene/CanvasRecord.h"
#include "scene/PlainShape.h"
#include "scene/ShapeFigure.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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
// a growing one the picture pixel under it, whatever is cut off. (The one
// source cut short, a tile picture larger than the canvas, is shrunk on its
// cut side by any tile that fits the canvas.) So a stretch is kept whenever
// it is no larger than the canvas.
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
    const int w = Trunc(static_cast<double>(rc.right) - rc.left);
    const int h = Trunc(static_cast<double>(rc.bottom) - rc.top);
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
    const HalftoneStretch halftone(dc);
    // Every tile is the same stretch of the picture: it is stretched once
    // and block-copied to each tile (KeptStretchFits); a tile larger than the
    // canvas is stretched in place. A picture that fits the canvas keeps its
    // stretch for the next redraws.
    QImage stretched;
    if (KeptStretchFits(frame, a, b2)) {
        if (cut) {
            CMemoryDC once(a, b2);
            once.DC().SetStretchBltMode(HALFTONE);
            once.DC().StretchBlt(0, 0, a, b2, tileSource, 0, 0, W, H, SRCCOPY);
            stretched = once.Image();
        } else {
            stretched = picture->StretchedOnWhite(a, b2, HALFTONE);
        }
    }
    const CDC stretchedDC(stretched);
    const auto copy = [&](double x, double y) {
        const int ix = Trunc(x), iy = Trunc(y);
        if (!stretched.isNull())
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

// Where the tiles of (l, t, r, b) can lie. A column tile starts at x = l or
// r - A and a row tile between them, so tiles start no further left than
// min(l, r - A) and end no further right than max(r, l + A), give or take
// the truncation of their corners; rows alike with B. The loops' test keeps
// every corner within those limits, whatever the additions round to.
RECT TileBounds(const RECT& rc, double A, double B)
{
    const double l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    const auto clamp = [](double v) {
        return static_cast<int>(std::clamp(v, -1e9, 1e9));
    };
    return RECT{clamp(std::floor(std::min(l, r - A)) - 1), clamp(std::floor(std::min(t, b - B)) - 1),
                clamp(std::ceil(std::max(r, l + A)) + 2), clamp(std::ceil(std::max(b, t + B)) + 2)};
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

void DrawOneFigure(CMainFrame& frame, const CShapeFigure& fig)
{
    CDC& dc = *frame.m_pCanvasDC;
    const CPenSelection pen(dc, CPen(PS_SOLID, 1, fig.LineColor()));
    dc.SetROP2(R2_COPYPEN);
    DrawFigure(frame, fig);
}

void DrawBackground(CMainFrame& frame)
{
    if (frame.m_bBackground != 1)
        return;
    if (const auto picture = CPicture::Load(frame.m_strBackground))
        DrawPicture(*frame.m_pCanvasDC, *picture, kBackgroundOffset, kBackgroundOffset);
}

// A redraw leaves the canvas DC and the picture size as the last figures
// drawn leave them. A redraw that skips figures puts back what drawing every
// figure would have left: the copy mode after any figure, the current
// position at the end of the last line, the size of the last picture loaded.
void SettleAsWholeRedraw(CMainFrame& frame, const CFigureList* figures, bool mayShowPictures = true)
{
    if (!figures)
        return;
    CDC& dc = *frame.m_pCanvasDC;
    bool drawn = false, line = false, picture = !mayShowPictures;
    for (int i = figures->GetSize() - 1; i >= 0 && !(line && picture); --i) {
        const CShapeFigure* fig = figures->GetAt(i);
        if (!fig || !IsDrawnKind(fig->m_nKind))
            continue;
        drawn = true;
        if (!line && fig->m_nKind == FK_LINE) {
            dc.MoveTo(fig->m_rect.right, fig->m_rect.bottom);
            line = true;
        }
        const double A = fig->m_dTileWidth, B = fig->m_dTileHeight;
        const bool tiles = A > 0 && B > 0 && std::isfinite(A) && std::isfinite(B);
        const bool loads = (fig->m_nKind == FK_RECTANGLE && A == 0 && B == 0 && fig->HasPicture()) ||
                           ((fig->m_nKind == FK_RECTANGLE || fig->m_nKind == FK_BORDER) && tiles);
        if (!picture && loads) {
            if (const auto loaded = CPicture::Load(fig->m_strPicture)) {
                frame.m_fPictureWidth = loaded->GetWidthF();
                frame.m_fPictureHeight = loaded->GetHeightF();
                picture = true;
            }
        }
    }
    if (drawn)
        dc.SetROP2(R2_COPYPEN);
}

// The pixels a figure paints over whatever is below, each with a value of
// its own: a plain rectangle's whole box (outline and fill), the middle of an
// ellipse whose inside the DC's brush paints. Empty for every other figure.
RECT OpaqueBox(const CShapeFigure& fig, const CBrush& brush)
{
    const RECT n = NormalizedRect(fig.m_rect);
    const bool large = RectWidth(n) >= 3 && RectHeight(n) >= 3;
    if (fig.m_nKind == FK_RECTANGLE && fig.m_dTileWidth == 0 && fig.m_dTileHeight == 0 && !fig.HasPicture() && large)
        return n;
    if (fig.m_nKind == FK_ELLIPSE && !brush.IsNull())
        return EllipseInteriorBox(n);
    return RECT{};
}


// A partial redraw costs a pass over the figures per rectangle; past this
// share of the canvas the whole redraw is as quick.
constexpr double kMostOfTheCanvas = 0.4;

// A figure to draw and the canvas pixels it can reach.
struct DrawnFigure {
    const CShapeFigure* fig;
    RECT reach;
};

// Which of `drawn` (bottom to top) later ones paint over within `area`:
// walked from the top down over a grid of 16 x 16 cells laid from the area's
// corner (the last ones cut by its edges), a figure is hidden when every cell
// of its reach within the area lies wholly inside the opaque box of a figure
// above it. A figure that reaches nothing of the area counts as hidden.
std::vector<bool> HiddenWithin(const std::vector<DrawnFigure>& drawn, const RECT& area, const CBrush& brush)
{
    constexpr int kCell = 16;
    std::vector<bool> hidden(drawn.size(), false);
    if (IsEmptyRect(area))
        return hidden;
    const int columns = (area.right - area.left + kCell - 1) / kCell;
    const int rows = (area.bottom - area.top + kCell - 1) / kCell;
    std::vector<std::uint8_t> covered(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
    const auto cell = [&](int x, int y) -> std::uint8_t& {
        return covered[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(x)];
    };
    for (std::size_t k = drawn.size(); k-- > 0;) {
        const RECT reach = IntersectedRect(drawn[k].reach, area);
        bool seen = false;
        if (!IsEmptyRect(reach)) {
            const int x0 = (reach.left - area.left) / kCell, x1 = (reach.right - 1 - area.left) / kCell;
            const int y0 = (reach.top - area.top) / kCell, y1 = (reach.bottom - 1 - area.top) / kCell;
            for (int y = y0; y <= y1 && !seen; ++y)
                for (int x = x0; x <= x1 && !seen; ++x)
                    seen = !cell(x, y);
        }
        if (!seen) {
            hidden[k] = true;
            continue;
        }
        // The cells wholly inside this figure's opaque box are covered for
        // every figure below it; a cell cut by the area's edge needs only its
        // part inside the area covered.
        const RECT box = IntersectedRect(OpaqueBox(*drawn[k].fig, brush), area);
        if (IsEmptyRect(box))
            continue;
        const int x0 = (box.left - area.left + kCell - 1) / kCell, y0 = (box.top - area.top + kCell - 1) / kCell;
        const int x1 = box.right == area.right ? columns : (box.right - area.left) / kCell;
        const int y1 = box.bottom == area.bottom ? rows : (box.bottom - area.top) / kCell;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                cell(x, y) = 1;
    }
    return hidden;
}

}  // namespace

RECT DrawingBounds(const CShapeFigure& fig, int cxCanvas, int cyCanvas)
{
    const RECT& rc = fig.m_rect;
    // The ordered rectangle with a pixel to spare on every side (two after
    // the last column and row), worked out in 64 bits and cut to the canvas.
    const auto around = [&] {
        const long long l = std::min(rc.left, rc.right) - 1LL, r = std::max(rc.left, rc.right) + 2LL;
        const long long t = std::min(rc.top, rc.bottom) - 1LL, b = std::max(rc.top, rc.bottom) + 2LL;
        return RECT{static_cast<int>(std::clamp<long long>(l, 0, cxCanvas)),
                    static_cast<int>(std::clamp<long long>(t, 0, cyCanvas)),
                    static_cast<int>(std::clamp<long long>(r, 0, cxCanvas)),
                    static_cast<int>(std::clamp<long long>(b, 0, cyCanvas))};
    };
    RECT bounds{};
    switch (fig.m_nKind) {
    case FK_LINE:
    case FK_ELLIPSE:
        bounds = around();
        break;
    case FK_RECTANGLE:
        if (fig.m_dTileWidth == 0 && fig.m_dTileHeight == 0) {
            bounds = around();  // outline and fill, or the stretched picture
        } else if (fig.m_dTileWidth > 0 && fig.m_dTileHeight > 0) {
            bounds = TileBounds(rc, fig.m_dTileWidth, fig.m_dTileHeight);
        }
        break;
    case FK_BORDER:
        if (fig.m_dTileWidth > 0 && fig.m_dTileHeight > 0 && std::isfinite(fig.m_dTileWidth) &&
            std::isfinite(fig.m_dTileHeight))
            bounds = TileBounds(rc, fig.m_dTileWidth, fig.m_dTileHeight);
        break;
    default:
        break;
    }
    return IntersectedRect(bounds, RECT{0, 0, cxCanvas, cyCanvas});
}

namespace {

// The figures of the list the redraw draws, in order, with their reach.
std::vector<DrawnFigure> DrawnFiguresOf(const CFigureList& figures, int cx, int cy, std::vector<int>* indices = nullptr)
{
    std::vector<DrawnFigure> drawn;
    drawn.reserve(static_cast<std::size_t>(figures.GetSize()));
    for (int i = 0; i < figures.GetSize(); ++i) {
        const CShapeFigure* fig = figures.GetAt(i);
        if (fig && IsDrawnKind(fig->m_nKind)) {
            drawn.push_back(DrawnFigure{fig, DrawingBounds(*fig, cx, cy)});
            if (indices)
                indices->push_back(i);
        }
    }
    return drawn;
}

// Draws `drawn` over the whole canvas in order: every one for the reference,
// otherwise all but those later ones paint over, the DC then settled as
// drawing every one leaves it.
void DrawAll(CMainFrame& frame, const std::vector<DrawnFigure>& drawn)
{
    const bool every = frame.m_refreshMode == CMainFrame::RefreshMode::Reference;
    const std::vector<bool> hidden =
        every ? std::vector<bool>(drawn.size(), false)
              : HiddenWithin(drawn, RECT{0, 0, frame.m_cxCanvas, frame.m_cyCanvas}, frame.m_pCanvasDC->GetBrush());
    bool skipped = false;
    for (std::size_t k = 0; k < drawn.size(); ++k) {
        if (hidden[k])
            skipped = true;
        else
            DrawOneFigure(frame, *drawn[k].fig);
    }
    if (skipped)
        SettleAsWholeRedraw(frame, g_pFigures);
}

}  // namespace

std::vector<bool> HiddenFigures(const CFigureList& figures, int cx, int cy, const CBrush& brush)
{
    std::vector<int> indices;
    const std::vector<DrawnFigure> drawn = DrawnFiguresOf(figures, cx, cy, &indices);
    const std::vector<bool> covered = HiddenWithin(drawn, RECT{0, 0, cx, cy}, brush);
    std::vector<bool> hidden(static_cast<std::size_t>(figures.GetSize()), false);
    for (std::size_t k = 0; k < drawn.size(); ++k)
        hidden[static_cast<std::size_t>(indices[k])] = covered[k];
    return hidden;
}

void CMainFrame::RedrawFigures()
{
    DrawBackground(*this);
    // The canvas now holds this drawing over whatever it held before.
    m_pCanvasRecord->Forget();
    if (g_pFigures)
        DrawAll(*this, DrawnFiguresOf(*g_pFigures, m_cxCanvas, m_cyCanvas));
}

void CMainFrame::ClearCanvas()
{
    // The canvas DC always has the white stock brush selected.
    m_pCanvasDC->PatBlt(0, 0, m_cxCanvas, m_cyCanvas, PATCOPY);
    m_handlesShown.reset();
    m_pCanvasRecord->Cleared(CanvasConditions{m_cxCanvas, m_cyCanvas, m_pCanvasDC->GetBrush(),
                                              m_pCanvasDC->GetStretchBltMode()});
    m_canvasDamage.Clear();
}

void CMainFrame::RefreshCanvas(bool withHandles)
{
    // The refresh draws the design itself: nothing it draws is damage.
    CDamageRegion* const recording = m_pCanvasDC->RecordDamage(nullptr);
    const CanvasConditions conditions{m_cxCanvas, m_cyCanvas, m_pCanvasDC->GetBrush(),
                                      m_pCanvasDC->GetStretchBltMode()};
    const BackgroundState background{m_bBackground == 1, m_strBackground};
    CDamageRegion damage;
    bool partial =
        m_refreshMode == RefreshMode::Damaged && m_pCanvasRecord->Update(g_pFigures, background, conditions, damage);
    if (partial) {
        damage.Add(m_canvasDamage);  // everything drawn over the canvas since, handles included
        partial = static_cast<double>(damage.Area()) <=
                  kMostOfTheCanvas * static_cast<double>(m_cxCanvas) * static_cast<double>(m_cyCanvas);
    }
    if (partial) {
        CDC& dc = *m_pCanvasDC;
        const std::vector<CCanvasRecord::Entry>& entries = m_pCanvasRecord->Entries();
        const RECT& backgroundBounds = m_pCanvasRecord->BackgroundBounds();
        for (const RECT& rc : damage.Rects()) {
            dc.SetClipRect(&rc);
            dc.PatBlt(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, PATCOPY);
            if (RectsMeet(backgroundBounds, rc))
                DrawBackground(*this);
            if (!g_pFigures)
                continue;
            // The figures that reach the rectangle (the record lists the drawn
            // figures in the list's order), less those others paint over there.
            std::vector<DrawnFigure> reaching;
            std::size_t k = 0;
            for (const auto& fig : *g_pFigures) {
                if (!fig || !IsDrawnKind(fig->m_nKind))
                    continue;
                if (k < entries.size() && RectsMeet(entries[k].bounds, rc))
                    reaching.push_back(DrawnFigure{fig.get(), entries[k].bounds});
                ++k;
            }
            const std::vector<bool> hidden = HiddenWithin(reaching, rc, dc.GetBrush());
            for (std::size_t j = 0; j < reaching.size(); ++j)
                if (!hidden[j])
                    DrawOneFigure(*this, *reaching[j].fig);
        }
        dc.SetClipRect(nullptr);
        SettleAsWholeRedraw(*this, g_pFigures, m_pCanvasRecord->ShowsPictures());
        m_handlesShown.reset();  // any handles shown were damage, now redrawn
        m_canvasDamage.Clear();
        ++m_refreshCounts.partial;
    } else {
        ++m_refreshCounts.whole;
        ClearCanvas();
        DrawBackground(*this);
        // The record is made first: the reach it works out for each figure
        // serves the drawing too.
        m_pCanvasRecord->Redrawn(g_pFigures, background, conditions);
        if (g_pFigures) {
            const std::vector<CCanvasRecord::Entry>& entries = m_pCanvasRecord->Entries();
            std::vector<DrawnFigure> drawn;
            drawn.reserve(entries.size());
            for (const auto& fig : *g_pFigures)
                if (fig && IsDrawnKind(fig->m_nKind) && drawn.size() < entries.size())
                    drawn.push_back(DrawnFigure{fig.get(), entries[drawn.size()].bounds});
            DrawAll(*this, drawn);
        }
    }
    m_pCanvasDC->RecordDamage(recording);
    if (withHandles)
        ShowHandles();  // the canvas holds none now: the kept selection's only
    Invalidate();
}
