// Which figures of a redraw later ones paint over, and what shows under all
// of them: a walk from the top figure down over a grid of cells.
#include "scene/HiddenFigures.h"

#include "platform/DamageRegion.h"
#include "scene/PictureFigures.h"
#include "scene/ShapeFigure.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

// The pixels a figure paints over whatever is below, each with a value of
// its own: a plain rectangle's whole box (outline and fill), a picture
// rectangle's stretch, the middle of an ellipse whose inside the DC's brush
// paints. Empty for every other figure.
RECT OpaqueBox(const CShapeFigure& fig, const CBrush& brush)
{
    const RECT n = NormalizedRect(fig.m_rect);
    const bool large = RectWidth(n) >= 3 && RectHeight(n) >= 3;
    if (fig.m_nKind == FK_RECTANGLE && fig.m_dTileWidth == 0 && fig.m_dTileHeight == 0)
        return fig.HasPicture() ? PictureRectangleBox(fig) : large ? n : RECT{};
    if (fig.m_nKind == FK_ELLIPSE && !brush.IsNull())
        return EllipseInteriorBox(n);
    return RECT{};
}

// Up to this many opaque boxes, the open area between them is worked out
// exactly; beyond, cell by cell.
constexpr std::size_t kFewBoxes = 64;

// The parts of `area` outside every one of `boxes` (each inside the area), as
// rectangles: bands between the boxes' top and bottom edges, the gaps of each
// band between the boxes that span it, each joined to the same gap of the
// band above.
std::vector<RECT> OpenBetween(const RECT& area, const std::vector<RECT>& boxes)
{
    std::vector<int> edges{area.top, area.bottom};
    for (const RECT& b : boxes) {
        edges.push_back(b.top);
        edges.push_back(b.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<RECT> open, above;
    std::vector<std::pair<int, int>> spans;
    for (std::size_t i = 0; i + 1 <= edges.size(); ++i) {
        std::vector<RECT> here;
        if (i + 1 < edges.size()) {
            const int y0 = edges[i], y1 = edges[i + 1];
            spans.clear();
            for (const RECT& b : boxes)
                if (b.top <= y0 && b.bottom >= y1)
                    spans.emplace_back(b.left, b.right);
            std::sort(spans.begin(), spans.end());
            int x = area.left;
            const auto gap = [&](int x0, int x1) {
                const auto same = std::find_if(above.begin(), above.end(),
                                               [&](const RECT& r) { return r.left == x0 && r.right == x1; });
                if (same != above.end()) {
                    here.push_back(RECT{x0, same->top, x1, y1});
                    above.erase(same);
                } else {
                    here.push_back(RECT{x0, y0, x1, y1});
                }
            };
            for (const auto& [l, r] : spans) {
                if (l > x)
                    gap(x, l);
                x = std::max(x, r);
            }
            if (x < area.right)
                gap(x, area.right);
        }
        open.insert(open.end(), above.begin(), above.end());
        above = std::move(here);
    }
    return open;
}

}  // namespace

std::vector<bool> HiddenWithin(const std::vector<DrawnFigure>& drawn, const RECT& area, const CBrush& brush,
                               std::vector<RECT>* open)
{
    constexpr int kCell = 16;
    std::vector<bool> hidden(drawn.size(), false);
    if (IsEmptyRect(area))
        return hidden;
    const int columns = (area.right - area.left + kCell - 1) / kCell;
    const int rows = (area.bottom - area.top + kCell - 1) / kCell;
    std::vector<std::uint8_t> covered(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
    std::vector<RECT> boxes;  // the opaque boxes of the figures not hidden
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
        boxes.push_back(box);
        const int x0 = (box.left - area.left + kCell - 1) / kCell, y0 = (box.top - area.top + kCell - 1) / kCell;
        const int x1 = box.right == area.right ? columns : (box.right - area.left) / kCell;
        const int y1 = box.bottom == area.bottom ? rows : (box.bottom - area.top) / kCell;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                cell(x, y) = 1;
    }
    if (open && boxes.size() <= kFewBoxes) {
        *open = OpenBetween(area, boxes);
    } else if (open) {
        // Runs of open cells along each row, joined to the run of the same
        // columns in the row above.
        std::vector<RECT> above;
        for (int y = 0; y <= rows; ++y) {
            std::vector<RECT> here;
            for (int x = 0; y < rows && x < columns;) {
                if (cell(x, y)) {
                    ++x;
                    continue;
                }
                const int x0 = x;
                while (x < columns && !cell(x, y))
                    ++x;
                const RECT run{area.left + x0 * kCell, area.top + y * kCell, std::min(area.left + x * kCell, area.right),
                               std::min(area.top + (y + 1) * kCell, area.bottom)};
                const auto same = std::find_if(above.begin(), above.end(), [&](const RECT& r) {
                    return r.left == run.left && r.right == run.right;
                });
                if (same != above.end()) {
                    here.push_back(RECT{run.left, same->top, run.right, run.bottom});
                    above.erase(same);
                } else {
                    here.push_back(run);
                }
            }
            open->insert(open->end(), above.begin(), above.end());
            above = std::move(here);
        }
    }
    return hidden;
}

