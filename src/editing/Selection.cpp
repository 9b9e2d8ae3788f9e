// Selecting by pressing: the hit test over the figure list, the handles'
// live zones, and which drag a press starts.
#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "editing/Outline.h"
#include "scene/ShapeFigure.h"

#include <array>
#include <cmath>

namespace {

constexpr int kZone = 6;           // a live zone is the inner 6x6 half of a drawn handle
constexpr int kTextFrame = 6;      // a text figure's rectangle is its box grown by 6
constexpr int kLineNear = 2;       // a level or upright line is hit within 2 pixels
constexpr double kSlopeNear = 10;  // a sloping line is hit within 10 pixels vertically

int Mid(int a, int b)
{
    return static_cast<int>((static_cast<long long>(a) + b) / 2);
}

// The eight handle zones of (L, T, R, B), in the order a press tests them,
// with the mode each starts.
std::array<std::pair<RECT, int>, 8> HandleZones(const RECT& rc)
{
    const int L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
    const int mx = Mid(L, R), my = Mid(T, B);
    return {{
        {RECT{L, T, L + kZone, T + kZone}, MODE_SIZE_NW},
        {RECT{mx - 3, T, mx + 3, T + kZone}, MODE_SIZE_N},
        {RECT{R - kZone, T, R, T + kZone}, MODE_SIZE_NE},
        {RECT{R - kZone, my - 3, R, my + 3}, MODE_SIZE_E},
        {RECT{R - kZone, B - kZone, R, B}, MODE_SIZE_SE},
        {RECT{mx - 3, B - kZone, mx + 3, B}, MODE_SIZE_S},
        {RECT{L, B - kZone, L + kZone, B}, MODE_SIZE_SW},
        {RECT{L, my - 3, L + kZone, my + 3}, MODE_SIZE_W},
    }};
}

// The zone mode of a point, the move mode inside, or MODE_NONE.
int ZoneMode(const RECT& rc, POINT p, bool zonesLive)
{
    if (zonesLive)
        for (const auto& [zone, mode] : HandleZones(rc))
            if (PtInRect(zone, p))
                return mode;
    return PtInRect(rc, p) ? MODE_MOVE : MODE_NONE;
}

// How far the point lies below (+) or above (-) the line, measured
// vertically; NaN for an upright line or a single point (no slope).
double SlopeDistance(int x1, int y1, int x2, int y2, int px, int py)
{
    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    if (dx == 0)
        return std::nan("");
    const double slope = dy / dx;
    return py - (y1 + (static_cast<double>(px) - x1) * slope);
}

RECT GrabOf(const RECT& rc, int x, int y)
{
    return RECT{x - rc.left, y - rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

}  // namespace

void CMainFrame::SelectPress(POINT point)
{
    m_pOldSelRect = m_pSelRect;
    m_nOldSelKind = m_nSelKind;
    m_ptAnchor = point;
    m_ptCurrent = point;
    m_pSelRect = HitTestFigures(point.x, point.y);

    const std::optional<RECT> oldShown = HandleRect(m_pOldSelRect.get(), m_nOldSelKind);
    if (!m_pSelRect) {
        m_nSelKind = -1;
        if (m_nOldSelKind != -1)
            DrawHandles(oldShown ? &*oldShown : nullptr, nullptr);
    } else {
        DrawHandles(oldShown ? &*oldShown : nullptr, m_pSelRect.get());
        PickHandle(point.x, point.y);
    }
    Invalidate();
}

std::shared_ptr<RECT> CMainFrame::HitTestFigures(int x, int y)
{
    std::shared_ptr<RECT> result;
    if (!g_pFigures)
        return result;
    const POINT p{x, y};
    const int count = g_pFigures->GetSize();
    // Every figure that passes replaces the result: the topmost one wins.
    for (int i = 0; i < count; ++i) {
        const CShapeFigure& fig = *g_pFigures->GetAt(i);
        RECT hit{};
        if (fig.m_nKind == FK_RECTANGLE || fig.m_nKind == FK_ELLIPSE) {
            hit = NormalizedRect(fig.m_rect);
            // Right and bottom are outside, except the exact bottom-right corner.
            if (!PtInRect(hit, p) && !(x == hit.right && y == hit.bottom))
                continue;
        } else if (fig.m_nKind == FK_LINE) {
            hit = fig.m_rect;
            if (!HitTestLine(hit.left, hit.top, hit.right, hit.bottom, x, y))
                continue;
        } else {
            continue;  // text and border figures are never hit by clicking
        }
        result = std::make_shared<RECT>(hit);
        m_nSelKind = fig.m_nKind;
        m_crLine = fig.LineColor();
        m_crFill = fig.FillColor();
        m_nSelected = i;
        m_bSelPicture = 0;
        m_dSelTileWidth = 0;
        m_dSelTileHeight = 0;
        if (fig.m_nKind != FK_LINE && fig.HasPicture()) {
            if (fig.m_dTileWidth > 0 || fig.m_dTileHeight > 0) {
                m_bSelPicture = 1;
                m_strSelPicture = fig.m_strPicture;
                m_dSelTileWidth = fig.m_dTileWidth;
                m_dSelTileHeight = fig.m_dTileHeight;
            } else if (fig.m_dTileWidth == 0) {
                m_bSelPicture = 1;
                m_strSelPicture = fig.m_strPicture;
            }
        }
    }
    return result;
}

bool CMainFrame::HitTestLine(int x1, int y1, int x2, int y2, int px, int py)
{
    // The test follows the whole straight line, not only the segment.
    if (y1 == y2)
        return std::abs(static_cast<long long>(py) - y1) <= kLineNear;
    if (x1 == x2)
        return std::abs(static_cast<long long>(px) - x1) <= kLineNear;
    const double d = SlopeDistance(x1, y1, x2, y2, px, py);
    return d >= -kSlopeNear && d <= kSlopeNear;
}

void CMainFrame::PickHandle(int x, int y)
{
    if (!m_pSelRect)
        return;
    const RECT rc = *m_pSelRect;
    const POINT p{x, y};
    if (m_nSelKind == FK_LINE) {
        const int x1 = rc.left, y1 = rc.top, x2 = rc.right, y2 = rc.bottom;
        if (PtInRect(RECT{x1 - 3, y1 - 3, x1 + 3, y1 + 3}, p)) {
            m_nMode = MODE_LINE_START;
        } else if (PtInRect(RECT{x2 - 3, y2 - 3, x2 + 3, y2 + 3}, p)) {
            m_nMode = MODE_LINE_END;
        } else {
            const double d = SlopeDistance(x1, y1, x2, y2, x, y);
            // An upright line's body is taken within 2 pixels, as its hit test does.
            const bool onUpright = x1 == x2 && y1 != y2 && std::abs(static_cast<long long>(x) - x1) <= kLineNear;
            if ((d >= -kSlopeNear && d <= kSlopeNear) || onUpright) {
                m_nMode = MODE_LINE_MOVE;
                m_rcGrab = RECT{x - x1, y - y1, x2 - x1, y2 - y1};
            }
        }
        return;
    }
    if (m_nSelKind == FK_RECTANGLE || m_nSelKind == FK_ELLIPSE) {
        const int mode = ZoneMode(rc, p, m_bSelPicture == 0);
        if (mode == MODE_NONE)
            return;
        m_nMode = mode;
        if (mode == MODE_MOVE) {
            m_rcGrab = GrabOf(rc, x, y);
            SetModeCursor(MODE_MOVE);
        }
    }
}

bool CMainFrame::PickTextHandle(int x, int y)
{
    if (!m_pSelRect)
        return false;
    const int mode = ZoneMode(*m_pSelRect, POINT{x, y}, true);
    if (mode == MODE_NONE)
        return false;
    m_nMode = mode;
    // The drag works on the box window's own rectangle.
    *m_pSelRect = InflatedRect(*m_pSelRect, -kTextFrame);
    {
        CDC& dc = *m_pCanvasDC;
        const CPenSelection pen(dc, CPen(PS_DASH, 1, kBandColor));
        DrawOutline(dc, OutlineShape::Rectangle, *m_pSelRect);
    }
    m_bSelPicture = 0;
    if (mode == MODE_MOVE) {
        m_rcGrab = GrabOf(*m_pSelRect, x, y);
        SetModeCursor(MODE_MOVE);
    }
    return true;
}

void CMainFrame::SetModeCursor(int mode)
{
    switch (mode) {
    case MODE_MOVE:
    case MODE_LINE_MOVE:
        View()->setCursor(Qt::SizeAllCursor);
        break;
    case MODE_SIZE_NW:
    case MODE_SIZE_SE:
    case MODE_LINE_START:
    case MODE_LINE_END:
        View()->setCursor(Qt::SizeFDiagCursor);
        break;
    case MODE_SIZE_N:
    case MODE_SIZE_S:
        View()->setCursor(Qt::SizeVerCursor);
        break;
    case MODE_SIZE_NE:
    case MODE_SIZE_SW:
        View()->setCursor(Qt::SizeBDiagCursor);
        break;
    case MODE_SIZE_E:
    case MODE_SIZE_W:
        View()->setCursor(Qt::SizeHorCursor);
        break;
    default:
        View()->unsetCursor();  // the window's own cursor
        break;
    }
}
