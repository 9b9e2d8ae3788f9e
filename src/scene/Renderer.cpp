// The redraw: the background picture, then every figure of the list in
// stacking order, straight into the canvas. Text figures are skipped: their
// boxes paint themselves. The refresh redraws the whole canvas, or only the
// rectangles where it can differ from the design, clipped to each of them.
#include "app/MainFrame.h"
#include "platform/Picture.h"
#include "scene/CanvasRecord.h"
#include "scene/HiddenFigures.h"
#include "scene/PictureFigures.h"
#include "scene/PlainShape.h"
#include "scene/ShapeFigure.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>

namespace {

constexpr int kBackgroundOffset = 10;  // the background's top-left lands at (10, 10)

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

// A partial redraw costs a pass over the figures per rectangle; past this
// share of the canvas the whole redraw is as quick.
constexpr double kMostOfTheCanvas = 0.4;

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

// Draws `drawn` in order but those `hidden`, the DC then settled as drawing
// every one leaves it.
void DrawShown(CMainFrame& frame, const std::vector<DrawnFigure>& drawn, const std::vector<bool>& hidden)
{
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

bool DrawsEveryFigure(const CMainFrame& frame) { return frame.m_refreshMode == CMainFrame::RefreshMode::Reference; }

// Draws `drawn` over the whole canvas in order: every one for the reference,
// otherwise all but those later ones paint over.
void DrawAll(CMainFrame& frame, const std::vector<DrawnFigure>& drawn)
{
    DrawShown(frame, drawn,
              DrawsEveryFigure(frame) ? std::vector<bool>(drawn.size(), false)
                                      : HiddenWithin(drawn, RECT{0, 0, frame.m_cxCanvas, frame.m_cyCanvas},
                                                     frame.m_pCanvasDC->GetBrush()));
}

// Where the background paints every pixel with a value of its own: the
// canvas part of an opaque background picture.
RECT OpaqueBackground(const CMainFrame& frame)
{
    if (frame.m_bBackground != 1)
        return RECT{};
    const auto picture = CPicture::Load(frame.m_strBackground);
    if (!picture || !picture->IsOpaque())
        return RECT{};
    return IntersectedRect(RECT{kBackgroundOffset, kBackgroundOffset, kBackgroundOffset + picture->GetWidth(),
                                kBackgroundOffset + picture->GetHeight()},
                           RECT{0, 0, frame.m_cxCanvas, frame.m_cyCanvas});
}

// The parts of `rc` outside `hole`: at most four rectangles.
std::vector<RECT> Outside(const RECT& rc, const RECT& hole)
{
    const RECT h = IntersectedRect(rc, hole);
    if (IsEmptyRect(h))
        return {rc};
    std::vector<RECT> parts{RECT{rc.left, rc.top, rc.right, h.top}, RECT{rc.left, h.bottom, rc.right, rc.bottom},
                            RECT{rc.left, h.top, h.left, h.bottom}, RECT{h.right, h.top, rc.right, h.bottom}};
    std::erase_if(parts, [](const RECT& r) { return IsEmptyRect(r); });
    return parts;
}

// The whole canvas after ForgetCanvas: cleared, the background, then the
// figures. The reference does every step everywhere. Otherwise the figures
// later ones paint over are left out, and so are the clearing and the
// background where figures paint every pixel, and the clearing under an
// opaque background: what a whole redraw costs is then about what its
// visible pixels cost.
void DrawWhole(CMainFrame& frame, const std::vector<DrawnFigure>& drawn)
{
    CDC& dc = *frame.m_pCanvasDC;
    const RECT canvas{0, 0, frame.m_cxCanvas, frame.m_cyCanvas};
    if (DrawsEveryFigure(frame)) {
        dc.PatBlt(0, 0, canvas.right, canvas.bottom, PATCOPY);
        DrawBackground(frame);
        DrawShown(frame, drawn, std::vector<bool>(drawn.size(), false));
        return;
    }
    std::vector<RECT> open;
    const std::vector<bool> hidden = HiddenWithin(drawn, canvas, dc.GetBrush(), &open);
    const RECT background = OpaqueBackground(frame);
    for (const RECT& rc : open) {
        dc.SetClipRect(&rc);
        for (const RECT& part : Outside(rc, background))
            dc.PatBlt(part.left, part.top, part.right - part.left, part.bottom - part.top, PATCOPY);
        DrawBackground(frame);
    }
    dc.SetClipRect(nullptr);
    DrawShown(frame, drawn, hidden);
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
    const CPicture::Batch pictures;  // each picture file looked up once
    DrawBackground(*this);
    // The canvas now holds this drawing over whatever it held before.
    m_pCanvasRecord->Forget();
    if (g_pFigures)
        DrawAll(*this, DrawnFiguresOf(*g_pFigures, m_cxCanvas, m_cyCanvas));
}

namespace {

// What clearing the canvas means besides its pixels: no handles shown, an
// empty record, nothing drawn over the design.
void ForgetCanvas(CMainFrame& frame)
{
    frame.m_handlesShown.reset();
    frame.m_pCanvasRecord->Cleared(CanvasConditions{frame.m_cxCanvas, frame.m_cyCanvas,
                                                    frame.m_pCanvasDC->GetBrush(),
                                                    frame.m_pCanvasDC->GetStretchBltMode()});
    frame.m_canvasDamage.Clear();
}

}  // namespace

void CMainFrame::ClearCanvas()
{
    // The canvas DC always has the white stock brush selected.
    m_pCanvasDC->PatBlt(0, 0, m_cxCanvas, m_cyCanvas, PATCOPY);
    ForgetCanvas(*this);
}

void CMainFrame::RefreshCanvas(bool withHandles)
{
    // The record and the drawing see one version of each picture file, each
    // looked up once.
    const CPicture::Batch pictures;
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
        ForgetCanvas(*this);
        // The record is made first: the reach it works out for each figure
        // serves the drawing too.
        m_pCanvasRecord->Redrawn(g_pFigures, background, conditions);
        std::vector<DrawnFigure> drawn;
        if (g_pFigures) {
            const std::vector<CCanvasRecord::Entry>& entries = m_pCanvasRecord->Entries();
            drawn.reserve(entries.size());
            for (const auto& fig : *g_pFigures)
                if (fig && IsDrawnKind(fig->m_nKind) && drawn.size() < entries.size())
                    drawn.push_back(DrawnFigure{fig.get(), entries[drawn.size()].bounds});
        }
        DrawWhole(*this, drawn);
    }
    m_pCanvasDC->RecordDamage(recording);
    if (withHandles)
        ShowHandles();  // the canvas holds none now: the kept selection's only
    Invalidate();
}
