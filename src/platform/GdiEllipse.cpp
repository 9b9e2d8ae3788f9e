// Ellipse as GDI draws it: an incremental ellipse (after Alois Zingl's
// algorithm) gives both the filled region, row by row, and the outline, one
// quadrant mirrored into a closed polygon of unit steps. The region is
// painted first, then the outline over it.
#include "platform/GdiRaster.h"

#include <algorithm>
#include <cmath>

namespace gdi {

namespace {

// The error terms of the incremental ellipse for a w x h box. Both the region
// and the outline walk the same staircase, one from the middle row outwards
// in x, the other from the right end inwards.
struct EllipseStepper {
    long long asq, bsq, dx, dy, err;
    EllipseStepper(long long w, long long h)
    {
        const long long a = w - 1, b = h - 1;
        asq = 8 * a * a;
        bsq = 8 * b * b;
        dx = 4 * b * b * (1 - a);
        dy = 4 * a * a * (1 + (b % 2));
        err = dx + dy + a * a * (b % 2);
    }
    // One step: reports whether x and y move.
    void Step(bool& stepX, bool& stepY)
    {
        const long long e2 = 2 * err;
        stepX = e2 >= dx;
        if (stepX) {
            dx += bsq;
            err += dx;
        }
        stepY = e2 <= dy;
        if (stepY) {
            dy += asq;
            err += dy;
        }
    }
};

// The analytic ellipse, for boxes too large for the incremental one: each
// row covers the pixels whose centres the ellipse spans at the row's centre;
// the outline is the edge of that region.
void DrawLargeEllipse(const Raster& raster, long long left, long long top, long long right, long long bottom,
                      const LinePen& pen, bool fill, RopMask brush)
{
    const double cx = (static_cast<double>(left) + static_cast<double>(right)) / 2;
    const double cy = (static_cast<double>(top) + static_cast<double>(bottom)) / 2;
    const double rx = (static_cast<double>(right) - static_cast<double>(left)) / 2;
    const double ry = (static_cast<double>(bottom) - static_cast<double>(top)) / 2;
    auto span = [&](long long y, long long& l, long long& r) {
        l = r = 0;
        if (y < top || y >= bottom)
            return;
        const double v = (static_cast<double>(y) + 0.5 - cy) / ry;
        const double half = rx * std::sqrt(std::max(0.0, 1 - v * v));
        l = std::llround(cx - half);
        r = std::llround(cx + half);
        if (l > r)
            l = r;
    };
    const long long w = raster.Width();
    const long long y0 = std::max(top, 0LL), y1 = std::min(bottom, static_cast<long long>(raster.Height()));
    for (long long y = y0; y < y1; ++y) {
        long long l, r, lu, ru, ld, rd;
        span(y, l, r);
        span(y - 1, lu, ru);
        span(y + 1, ld, rd);
        if (l >= r)
            continue;
        if (fill)
            raster.FillRect(l, y, r, y + 1, brush);
        if (pen.kind == LinePen::Kind::Null)
            continue;
        // Inside pixels have both vertical neighbours in the region too.
        long long il = std::max({l + 1, lu, ld}), ir = std::min({r - 1, ru, rd});
        if (il > ir)
            il = ir = r;
        const auto yi = static_cast<int>(y);
        auto outline = [&](long long a, long long b) {
            a = std::max(a, 0LL);
            b = std::min(b, w);
            if (a < b)
                raster.Span(yi, static_cast<int>(a), static_cast<int>(b), pen.fg);
        };
        outline(l, il);
        outline(ir, r);
    }
}

}  // namespace

std::vector<int> EllipseRowInsets(int w, int h)
{
    // Rows the staircase never reaches stay empty: a very narrow ellipse ends
    // its walk before the top and bottom rows.
    std::vector<int> insets(static_cast<std::size_t>(h), w);
    EllipseStepper s(w, h);
    long long x = 0, y = h / 2;
    insets[static_cast<std::size_t>(y)] = 0;
    // Guards the loop against running past the box, whatever the arithmetic.
    for (long long guard = 0; x <= w / 2 && guard <= static_cast<long long>(w) + h; ++guard) {
        bool stepX, stepY;
        s.Step(stepX, stepY);
        if (stepX)
            ++x;
        if (stepY) {
            ++y;
            if (y < h)
                insets[static_cast<std::size_t>(y)] = static_cast<int>(x);
        }
    }
    for (int i = 0; i < h / 2; ++i)
        insets[static_cast<std::size_t>(i)] = insets[static_cast<std::size_t>(h - 1 - i)];
    return insets;
}

std::vector<POINT> EllipseQuadrant(int w, int h)
{
    std::vector<POINT> points;
    points.reserve(static_cast<std::size_t>(w / 2 + h / 2 + 2));
    EllipseStepper s(w, h);
    int x = w - 1, y = h / 2;
    for (long long guard = 0; x >= w / 2 && guard <= static_cast<long long>(w) + h; ++guard) {
        points.push_back(POINT{x, y});
        bool stepX, stepY;
        s.Step(stepX, stepY);
        if (stepX)
            --x;
        if (stepY)
            ++y;
    }
    return points;
}

}  // namespace gdi

RECT EllipseInteriorBox(const RECT& rc)
{
    const long long left = std::min(rc.left, rc.right), right = std::max(rc.left, rc.right);
    const long long top = std::min(rc.top, rc.bottom), bottom = std::max(rc.top, rc.bottom);
    const long long w = right - left, h = bottom - top;
    // Small boxes hide little; huge ones are drawn by the analytic ellipse.
    if (w < 8 || h < 8 || w + h > gdi::kExactEllipseLimit)
        return RECT{};
    // The band of rows from 15 % to 85 % of the height, and the columns every
    // one of those rows covers: about half the box, near the largest
    // rectangle an ellipse holds.
    const std::vector<int> insets = gdi::EllipseRowInsets(static_cast<int>(w), static_cast<int>(h));
    const long long k = h * 15 / 100;
    int inset = 0;
    for (long long i = k; i < h - k; ++i)
        inset = std::max(inset, insets[static_cast<std::size_t>(i)]);
    if (2LL * inset >= w)
        return RECT{};
    return RECT{static_cast<int>(left + inset), static_cast<int>(top + k), static_cast<int>(right - inset),
                static_cast<int>(bottom - k)};
}

void CDC::Ellipse(int l, int t, int r, int b)
{
    const gdi::LinePen pen = gdi::MakeLinePen(m_pen, m_rop2, m_bkMode, m_bkColor);
    const auto box = gdi::MakeShapeBox(l, t, r, b, m_pen.Style(), pen.width);
    if (!box)
        return;
    const auto [left, top, right, bottom] = *box;
    const long long w = right - left, h = bottom - top;
    if (w <= 2 || h <= 2) {
        Rectangle(l, t, r, b);  // too thin for an ellipse
        return;
    }
    const gdi::Raster raster(*this);
    const long long margin = pen.width;
    if (right + margin <= 0 || bottom + margin <= 0 || left - margin >= raster.Width() ||
        top - margin >= raster.Height())
        return;
    const bool fill = !m_brush.IsNull();
    const gdi::RopMask brush = gdi::MakeRop(m_rop2, gdi::ColorBits(m_brush.Color()));
    NoteDrawn(left - margin, top - margin, right + margin, bottom + margin);
    if (w + h > gdi::kExactEllipseLimit) {
        gdi::DrawLargeEllipse(raster, left, top, right, bottom, pen, fill, brush);
        return;
    }

    // The outline: the first quadrant (right end to top middle), mirrored
    // into the top-left quadrant, then the whole upper half into the lower.
    const std::vector<POINT> quadrant = gdi::EllipseQuadrant(static_cast<int>(w), static_cast<int>(h));
    std::vector<POINT> pts;
    pts.reserve(quadrant.size() * 4);
    for (const POINT& q : quadrant)
        pts.push_back(POINT{static_cast<int>(left + q.x), static_cast<int>(top + h - 1 - q.y)});
    const std::size_t count = pts.size();
    std::size_t end = 2 * count - 1 - ((w % 2) ? 1 : 0);  // an odd width shares its middle column
    pts.resize(end + 1);
    for (std::size_t i = 0; i < count; ++i)
        pts[end - i] = POINT{static_cast<int>(left + right - 1 - pts[i].x), pts[i].y};
    const std::size_t half = end + 1;
    end = 2 * half - 1 - ((h % 2) ? 1 : 0);  // an odd height shares its middle row
    pts.resize(end + 1);
    for (std::size_t i = 0; i < half; ++i)
        pts[end - i] = POINT{pts[i].x, static_cast<int>(top + bottom - 1 - pts[i].y)};

    std::vector<int> insets;
    if (fill)
        insets = gdi::EllipseRowInsets(static_cast<int>(w), static_cast<int>(h));
    if (pen.kind == gdi::LinePen::Kind::Wide) {
        gdi::CoverageMask outline(std::min(left, right) - margin, std::min(top, bottom) - margin,
                                  std::max(left, right) + margin + 1, std::max(top, bottom) + margin + 1,
                                  raster.Width(), raster.Height());
        gdi::AddWidePolyline(outline, pen.width, pts.data(), pts.size(), true);
        if (fill) {
            gdi::CoverageMask inside(left, top, right, bottom, raster.Width(), raster.Height());
            for (long long i = 0; i < h; ++i)
                inside.AddSpan(top + i, left + insets[static_cast<std::size_t>(i)],
                               right - insets[static_cast<std::size_t>(i)]);
            inside.Subtract(outline);
            inside.Paint(raster, brush);
        }
        outline.Paint(raster, pen.fg);
        return;
    }
    if (fill) {
        const long long first = std::max(0LL, -top), last = std::min(h, raster.Height() - top);
        for (long long i = first; i < last; ++i)
            raster.FillRect(left + insets[static_cast<std::size_t>(i)], top + i,
                            right - insets[static_cast<std::size_t>(i)], top + i + 1, brush);
    }
    int dashPos = 0;
    gdi::DrawCosmeticPolyline(raster, pen, pts.data(), pts.size(), true, dashPos);
}
