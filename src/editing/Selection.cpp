// Selecting by pressing: the hit test over the figure list, the selection
// state taken from the figure hit, the handles' live zones, and which drag a
// press starts.
#include "app/CanvasView.h"
#include "app/MainFrame.h"
#include "editing/Outline.h"
#include "scene/Handles.h"
#include "scene/ShapeFigure.h"

#include <array>
#include <cmath>

namespace {

constexpr int kZone = 2 * HANDLE_HALF;  // a live zone is the inner half of a drawn handle: 6 x 6
constexpr int kLineNear = 2;            // a level or upright line is hit within 2 pixels
constexpr double kSlopeNear = 10;       // a sloping line is hit within 10 pixels vertically

// Where each handle's live zone lies from its point, in the order a press
// tests them: the zones lie inside the rectangle, along its edges.
constexpr std::array<POINT, 8> kZoneShift = {
    {{0, 0}, {-3, 0}, {-6, 0}, {-6, -3}, {-6, -6}, {-3, -6}, {0, -6}, {0, -3}}};

// The zone mode of a point, the move mode inside, or MODE_NONE.
ToolMode ZoneMode(const RECT& rc, POINT p, bool zonesLive)
{
    if (zonesLive) {
        const std::array<POINT, 8> handles = BoxHandlePoints(rc);
        for (std::size_t i = 0; i < handles.size(); ++i) {
            const int x = handles[i].x + kZoneShift[i].x;
            const int y = handles[i].y + kZoneShift[i].y;
            if (PtInRect(RECT{x, y, x + kZone, y + kZone}, p))
                return static_cast<ToolMode>(MODE_SIZE_NW + static_cast<int>(i));
        }
    }
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
    // The handles shown go, whatever they belonged to; a hit shows its own
    // and picks the drag the same press starts.
    if (!m_pSelRect) {
        ClearSelection();
    } else {
        ShowHandles();
        PickHandle(point.x, point.y);
    }
    Invalidate();
}

int CMainFrame::FindFigureAt(int x, int y) const
{
    if (!g_pFigures)
        return -1;
    const POINT p{x, y};
    int found = -1;
    // Every figure that passes replaces the result: the topmost one wins.
    for (int i = 0; i < g_pFigures->GetSize(); ++i) {
        const CShapeFigure& fig = *g_pFigures->GetAt(i);
        if (fig.m_nKind == FK_RECTANGLE || fig.m_nKind == FK_ELLIPSE) {
            const RECT n = NormalizedRect(fig.m_rect);
            // Right and bottom are outside, except the exact bottom-right corner.
            if (PtInRect(n, p) || (x == n.right && y == n.bottom))
                found = i;
        } else if (fig.m_nKind == FK_LINE) {
            if (HitTestLine(fig.m_rect.left, fig.m_rect.top, fig.m_rect.right, fig.m_rect.bottom, x, y))
                found = i;
        }
        // Text and border figures are never hit by clicking.
    }
    return found;
}

std::shared_ptr<RECT> CMainFrame::HitTestFigures(int x, int y)
{
    const int index = FindFigureAt(x, y);
    if (index < 0)
        return nullptr;  // the selection state stays as it was
    return std::make_shared<RECT>(SelectFigure(index));
}

RECT CMainFrame::SelectFigure(int index)
{
    const CShapeFigure& fig = *g_pFigures->GetAt(index);
    m_nSelKind = fig.m_nKind;
    m_nSelected = index;
    m_crLine = fig.LineColor();
    m_crFill = fig.FillColor();
    m_bSelPicture = 0;
    m_dSelTileWidth = 0;
    m_dSelTileHeight = 0;
    m_strSelPicture.clear();
    // A rectangle or ellipse with a picture can only be moved: with tiles it
    // keeps them, with a tile width of exactly 0 it shows the picture whole.
    if ((fig.m_nKind == FK_RECTANGLE || fig.m_nKind == FK_ELLIPSE) && fig.HasPicture()) {
        if (fig.m_dTileWidth > 0 || fig.m_dTileHeight > 0) {
            m_bSelPicture = 1;
            m_dSelTileWidth = fig.m_dTileWidth;
            m_dSelTileHeight = fig.m_dTileHeight;
        } else if (fig.m_dTileWidth == 0) {
            m_bSelPicture = 1;
        }
        if (m_bSelPicture == 1)
            m_strSelPicture = fig.m_strPicture;
    }
    // A line keeps its direction: its rectangle runs from start to end.
    if (fig.m_nKind == FK_RECTANGLE || fig.m_nKind == FK_ELLIPSE)
        return NormalizedRect(fig.m_rect);
    return fig.m_rect;
}

std::unique_ptr<CShapeFigure> CMainFrame::MakeSelectedFigure(const RECT& rect) const
{
    if (m_nSelKind != FK_RECTANGLE && m_nSelKind != FK_ELLIPSE && m_nSelKind != FK_LINE)
        return nullptr;
    if (m_bSelPicture == 1)
        return CShapeFigure::Picture(m_nSelKind, rect, m_crLine, m_strSelPicture, m_dSelTileWidth, m_dSelTileHeight);
    return CShapeFigure::Shape(m_nSelKind, rect, m_crLine, m_crFill);
}

bool CMainFrame::StoreSelectedFigure()
{
    if (!m_pSelRect || !g_pFigures->IsValidIndex(m_nSelected))
        return false;
    std::unique_ptr<CShapeFigure> figure = MakeSelectedFigure(*m_pSelRect);
    if (!figure)
        return false;
    g_pFigures->SetAt(m_nSelected, std::move(figure));
    return true;
}

void CMainFrame::ClearSelection()
{
    HideHandles();
    m_pSelRect.reset();
    m_nSelKind = FK_NONE;
    m_nSelected = -1;
    // Text sizing waits for a press on a selected text figure: none is left.
    if (m_nMode == MODE_TEXT_SIZING)
        m_nMode = MODE_NONE;
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
    ToolMode mode = MODE_NONE;
    if (m_nSelKind == FK_LINE) {
        const auto [start, end] = LineHandlePoints(rc);
        const auto near = [&](POINT h) {
            return PtInRect(RECT{h.x - HANDLE_HALF, h.y - HANDLE_HALF, h.x + HANDLE_HALF, h.y + HANDLE_HALF}, p);
        };
        if (near(start)) {
            mode = MODE_LINE_START;
        } else if (near(end)) {
            mode = MODE_LINE_END;
        } else {
            const double d = SlopeDistance(start.x, start.y, end.x, end.y, x, y);
            // An upright line's body is taken within 2 pixels, as its hit test does.
            const bool onUpright = start.x == end.x && start.y != end.y &&
                                   std::abs(static_cast<long long>(x) - start.x) <= kLineNear;
            if ((d >= -kSlopeNear && d <= kSlopeNear) || onUpright) {
                mode = MODE_LINE_MOVE;
                m_rcGrab = RECT{x - start.x, y - start.y, end.x - start.x, end.y - start.y};
            }
        }
    } else if (m_nSelKind == FK_RECTANGLE || m_nSelKind == FK_ELLIPSE) {
        mode = ZoneMode(rc, p, m_bSelPicture == 0);
        if (mode == MODE_MOVE) {
            m_rcGrab = GrabOf(rc, x, y);
            SetModeCursor(MODE_MOVE);
        }
    }
    if (mode == MODE_NONE)
        return;
    m_nMode = mode;
    m_bDragging = true;
    m_rcDragStart = rc;
}

bool CMainFrame::PickTextHandle(int x, int y)
{
    if (!m_pSelRect)
        return false;
    const ToolMode mode = ZoneMode(*m_pSelRect, POINT{x, y}, true);
    if (mode == MODE_NONE)
        return false;
    m_nMode = mode;
    m_bDragging = true;
    m_rcDragStart = *m_pSelRect;
    // The drag works on the box window's own rectangle.
    *m_pSelRect = InflatedRect(*m_pSelRect, -TEXT_FIGURE_MARGIN);
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

void CMainFrame::SetModeCursor(ToolMode mode)
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
