// Lines and rectangles: cosmetic pens stepped pixel for pixel as GDI steps
// them, wide pens drawn through a coverage mask, and the Rectangle call.
#include "platform/GdiRaster.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>

namespace gdi {

namespace {

// The cosmetic dash patterns, one entry per pixel: 1 in a dash, 0 in a gap.
template <std::size_t N>
constexpr std::array<std::uint8_t, N> Pattern(std::initializer_list<int> runs)
{
    std::array<std::uint8_t, N> marks{};
    std::size_t pos = 0;
    std::uint8_t mark = 1;
    for (int run : runs) {
        for (int i = 0; i < run; ++i)
            marks[pos++] = mark;
        mark = static_cast<std::uint8_t>(1 - mark);
    }
    return marks;
}

constexpr auto kDash = Pattern<24>({18, 6});
constexpr auto kDot = Pattern<6>({3, 3});
constexpr auto kDashDot = Pattern<24>({9, 6, 3, 6});
constexpr auto kDashDotDot = Pattern<24>({9, 3, 3, 3, 3, 3});

// Coordinates this far out are divided by 8 before a sloped line is stepped,
// as GDI does to keep its error terms in range.
constexpr int kCropLimit = 0x10000000;

POINT CropPoint(POINT p)
{
    if (p.x >= kCropLimit || p.x <= -kCropLimit || p.y >= kCropLimit || p.y <= -kCropLimit) {
        p.x /= 8;
        p.y /= 8;
    }
    return p;
}

// Octants are numbered clockwise from the positive x axis (y grows downwards).
int OctantNumber(long long dx, long long dy)
{
    if (dy > 0) {
        if (dx > 0)
            return dx > dy ? 1 : 2;
        return -dx > dy ? 4 : 3;
    }
    if (dx < 0)
        return -dx > -dy ? 5 : 6;
    return dx > -dy ? 8 : 7;
}

bool InOctants(int octant, unsigned mask) { return (mask >> (octant - 1)) & 1u; }

// Paints one pixel of a line: the pen colour on a dash, the background colour
// on a gap (if gaps are drawn).
inline void Plot(std::uint32_t* p, const LinePen& pen, int phase)
{
    if (pen.kind == LinePen::Kind::Dashed && !pen.marks[phase]) {
        if (pen.drawGaps)
            *p = pen.bg.Apply(*p);
        return;
    }
    *p = pen.fg.Apply(*p);
}

// A horizontal (or, transposed, vertical) run of `len` pixels from `start`
// along the axis in direction `dir`, at `across` on the other axis.
void AxisLine(const Raster& raster, const LinePen& pen, bool vertical, long long start, long long across,
              long long len, int dir, int dashPos)
{
    // The clip box along and across the line.
    const long long alongLo = vertical ? raster.ClipTop() : raster.ClipLeft();
    const long long alongHi = vertical ? raster.ClipBottom() : raster.ClipRight();
    const long long acrossLo = vertical ? raster.ClipLeft() : raster.ClipTop();
    const long long acrossHi = vertical ? raster.ClipRight() : raster.ClipBottom();
    if (across < acrossLo || across >= acrossHi)
        return;
    // Step i (0 <= i < len) is at start + dir * i.
    long long lo = 0, hi = len;
    if (dir > 0) {
        lo = std::max(lo, alongLo - start);
        hi = std::min(hi, alongHi - start);
    } else {
        lo = std::max(lo, start - alongHi + 1);
        hi = std::min(hi, start - alongLo + 1);
    }
    if (lo >= hi)
        return;
    const int a = static_cast<int>(across);
    if (pen.kind == LinePen::Kind::Solid && !vertical) {
        const long long first = start + dir * lo, last = start + dir * (hi - 1);
        raster.Span(a, static_cast<int>(std::min(first, last)), static_cast<int>(std::max(first, last)) + 1, pen.fg);
        return;
    }
    const qsizetype step = (vertical ? raster.StrideInPixels() : 1) * dir;
    const long long firstAlong = start + dir * lo;
    std::uint32_t* p = vertical ? raster.At(a, static_cast<int>(firstAlong)) : raster.At(static_cast<int>(firstAlong), a);
    if (pen.kind == LinePen::Kind::Solid) {
        for (long long i = lo; i < hi; ++i, p += step)
            *p = pen.fg.Apply(*p);
        return;
    }
    int phase = static_cast<int>((dashPos + lo % pen.period) % pen.period);
    for (long long i = lo; i < hi; ++i, p += step) {
        Plot(p, pen, phase);
        if (++phase == pen.period)
            phase = 0;
    }
}

// A sloped line, stepped along its major axis. The minor offset after m steps
// is (2 m minor + bias + L - 1) / 2L, the closed form of GDI's error term, so
// the visible steps can be found without walking the invisible ones.
void SlopedLine(const Raster& raster, const LinePen& pen, POINT p1, POINT p2, bool includeEnd, int dashPos)
{
    const long long dx = static_cast<long long>(p2.x) - p1.x;
    const long long dy = static_cast<long long>(p2.y) - p1.y;
    const int octant = OctantNumber(dx, dy);
    const bool xMajor = InOctants(octant, 0x99);
    const long long bias = InOctants(octant, 0xB4) ? 1 : 0;
    const int sx = InOctants(octant, 0xC3) ? 1 : -1;
    const int sy = InOctants(octant, 0x0F) ? 1 : -1;
    const long long length = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    const long long steps = length + (includeEnd ? 1 : 0);
    if (steps <= 0)
        return;

    auto minorAt = [&](long long m) { return length == 0 ? 0 : (2 * m * minor + bias + length - 1) / (2 * length); };

    const long long majorStart = xMajor ? p1.x : p1.y;
    const long long minorStart = xMajor ? p1.y : p1.x;
    const int majorDir = xMajor ? sx : sy;
    const int minorDir = xMajor ? sy : sx;
    // The clip box along both axes. The minor offset grows with the step, so
    // the steps inside the box are one run, and the line is cut exactly.
    const long long majorLo = xMajor ? raster.ClipLeft() : raster.ClipTop();
    const long long majorHi = xMajor ? raster.ClipRight() : raster.ClipBottom();
    const long long minorLo = xMajor ? raster.ClipTop() : raster.ClipLeft();
    const long long minorHi = xMajor ? raster.ClipBottom() : raster.ClipRight();

    long long lo = 0, hi = steps;  // candidate steps [lo, hi)
    if (majorDir > 0) {
        lo = std::max(lo, majorLo - majorStart);
        hi = std::min(hi, majorHi - majorStart);
    } else {
        lo = std::max(lo, majorStart - majorHi + 1);
        hi = std::min(hi, majorStart - majorLo + 1);
    }
    if (lo >= hi)
        return;
    // The minor offset must land inside the box: n in [nLo, nHi].
    const long long nLo = minorDir > 0 ? minorLo - minorStart : minorStart - minorHi + 1;
    const long long nHi = minorDir > 0 ? minorHi - 1 - minorStart : minorStart - minorLo;
    // First step with minorAt >= nLo, and one past the last step with minorAt <= nHi.
    auto firstAtLeast = [&](long long from, long long to, long long n) {
        while (from < to) {
            const long long mid = from + (to - from) / 2;
            if (minorAt(mid) >= n)
                to = mid;
            else
                from = mid + 1;
        }
        return from;
    };
    lo = firstAtLeast(lo, hi, nLo);
    hi = firstAtLeast(lo, hi, nHi + 1);
    if (lo >= hi)
        return;

    long long n = minorAt(lo);
    long long err = 2 * minor - length + 2 * lo * minor - 2 * n * length;
    const long long addMinor = 2 * minor - 2 * length;
    const long long addMajor = 2 * minor;
    const long long x0 = xMajor ? majorStart + majorDir * lo : minorStart + minorDir * n;
    const long long y0 = xMajor ? minorStart + minorDir * n : majorStart + majorDir * lo;
    std::uint32_t* p = raster.At(static_cast<int>(x0), static_cast<int>(y0));
    const qsizetype stride = raster.StrideInPixels();
    const qsizetype majorStep = xMajor ? majorDir : majorDir * stride;
    const qsizetype minorStep = xMajor ? minorDir * stride : minorDir;
    int phase = static_cast<int>((dashPos + lo % pen.period) % pen.period);
    for (long long m = lo; m < hi; ++m) {
        Plot(p, pen, phase);
        if (++phase == pen.period)
            phase = 0;
        if (err + bias > 0) {
            p += minorStep;
            err += addMinor;
        } else {
            err += addMajor;
        }
        p += majorStep;
    }
}

}  // namespace

LinePen MakeLinePen(const CPen& pen, int rop2, int bkMode, COLORREF bkColor)
{
    LinePen lp;
    const int style = pen.Style();
    if (style == PS_NULL) {
        lp.kind = LinePen::Kind::Null;
        lp.width = 0;
        return lp;
    }
    long long width = std::llabs(static_cast<long long>(pen.Width()));
    lp.width = static_cast<int>(std::clamp(width, 1LL, 1LL << 16));
    lp.fg = MakeRop(rop2, ColorBits(pen.Color()));
    const bool styled = style >= PS_DASH && style <= PS_DASHDOTDOT;
    if (lp.width > 1) {
        lp.kind = LinePen::Kind::Wide;  // wide cosmetic pens are never styled
    } else if (styled) {
        lp.kind = LinePen::Kind::Dashed;
        lp.drawGaps = bkMode != TRANSPARENT;
        lp.bg = MakeRop(rop2, ColorBits(bkColor));
        switch (style) {
        case PS_DASH: lp.marks = kDash.data(); lp.period = 24; break;
        case PS_DOT: lp.marks = kDot.data(); lp.period = 6; break;
        case PS_DASHDOT: lp.marks = kDashDot.data(); lp.period = 24; break;
        default: lp.marks = kDashDotDot.data(); lp.period = 24; break;
        }
    } else {
        lp.kind = LinePen::Kind::Solid;
    }
    return lp;
}

std::optional<ShapeBox> MakeShapeBox(int l, int t, int r, int b, int penStyle, int penWidth)
{
    ShapeBox box{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
    if (box.left == box.right || box.top == box.bottom)
        return std::nullopt;
    if (penStyle == 6 /* PS_INSIDEFRAME */ && penWidth > 1) {
        box.left += penWidth / 2;
        box.top += penWidth / 2;
        box.right -= (penWidth - 1) / 2;
        box.bottom -= (penWidth - 1) / 2;
    }
    return box;
}

void DrawCosmeticSegment(const Raster& raster, const LinePen& pen, POINT a, POINT b, int& dashPos)
{
    if (pen.kind == LinePen::Kind::Null || pen.kind == LinePen::Kind::Wide)
        return;
    const bool dashed = pen.kind == LinePen::Kind::Dashed;
    long long advance = 0;
    if (a.y == b.y || a.x == b.x) {
        const bool vertical = a.y != b.y;
        const long long from = vertical ? a.y : a.x;
        const long long to = vertical ? b.y : b.x;
        const long long len = std::llabs(to - from);
        AxisLine(raster, pen, vertical, from, vertical ? a.x : a.y, len, to > from ? 1 : -1, dashPos);
        advance = len;
    } else {
        const POINT p1 = CropPoint(a), p2 = CropPoint(b);
        // A styled pen keeps a cropped end point that it does not recognise as the end.
        const bool includeEnd = dashed && (p2.x != b.x || p2.y != b.y);
        SlopedLine(raster, pen, p1, p2, includeEnd, dashPos);
        advance = std::max(std::llabs(static_cast<long long>(p2.x) - p1.x),
                           std::llabs(static_cast<long long>(p2.y) - p1.y));
    }
    if (dashed)
        dashPos = static_cast<int>((dashPos + advance % pen.period) % pen.period);
}

void DrawCosmeticPolyline(const Raster& raster, const LinePen& pen, const POINT* pts, std::size_t count, bool close,
                          int& dashPos)
{
    if (count < 2 || pen.kind == LinePen::Kind::Null || pen.kind == LinePen::Kind::Wide)
        return;
    const bool dashed = pen.kind == LinePen::Kind::Dashed;
    const std::size_t segments = close ? count : count - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const POINT a = pts[i], b = pts[i + 1 == count ? 0 : i + 1];
        const long long dx = static_cast<long long>(a.x) - b.x, dy = static_cast<long long>(a.y) - b.y;
        // The outline of an ellipse is unit steps: each draws just its first pixel.
        if (dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1 && CropPoint(a) == a && CropPoint(b) == b) {
            if (dx == 0 && dy == 0)
                continue;
            if (raster.Contains(a.x, a.y))
                Plot(raster.At(a.x, a.y), pen, dashPos);
            if (dashed && ++dashPos == pen.period)
                dashPos = 0;
            continue;
        }
        DrawCosmeticSegment(raster, pen, a, b, dashPos);
    }
}

}  // namespace gdi

void CDC::LineTo(int x, int y)
{
    const POINT from = m_pos;
    const POINT to{x, y};
    m_pos = to;
    const gdi::LinePen pen = gdi::MakeLinePen(m_pen, m_rop2, m_bkMode, m_bkColor);
    if (pen.kind == gdi::LinePen::Kind::Null)
        return;
    const gdi::Raster raster(*this);
    {
        // A far-off end is stepped from its eighth, which may lie outside the
        // two ends' box: the box holds both forms.
        const POINT cf = gdi::CropPoint(from), ct = gdi::CropPoint(to);
        const long long m = pen.kind == gdi::LinePen::Kind::Wide ? pen.width : 0;
        NoteDrawn(std::min({from.x, to.x, cf.x, ct.x}) - m, std::min({from.y, to.y, cf.y, ct.y}) - m,
                  std::max({from.x, to.x, cf.x, ct.x}) + 1LL + m, std::max({from.y, to.y, cf.y, ct.y}) + 1LL + m);
    }
    if (pen.kind == gdi::LinePen::Kind::Wide) {
        const long long w = pen.width;
        gdi::CoverageMask mask(std::min(from.x, to.x) - w, std::min(from.y, to.y) - w,
                               std::max<long long>(from.x, to.x) + w + 1, std::max<long long>(from.y, to.y) + w + 1,
                               raster.Width(), raster.Height());
        if (mask.Empty())
            return;
        const POINT pts[2] = {from, to};
        gdi::AddWidePolyline(mask, pen.width, pts, 2, false);
        mask.Paint(raster, pen.fg);
        return;
    }
    int dashPos = 0;
    gdi::DrawCosmeticSegment(raster, pen, from, to, dashPos);
}

void CDC::Rectangle(int l, int t, int r, int b)
{
    const gdi::LinePen pen = gdi::MakeLinePen(m_pen, m_rop2, m_bkMode, m_bkColor);
    const auto box = gdi::MakeShapeBox(l, t, r, b, m_pen.Style(), pen.width);
    if (!box)
        return;
    auto [left, top, right, bottom] = *box;
    // The outline runs through the last column and row inside the box.
    --right;
    --bottom;
    const gdi::Raster raster(*this);
    const POINT pts[4] = {{static_cast<int>(right), static_cast<int>(top)},
                          {static_cast<int>(left), static_cast<int>(top)},
                          {static_cast<int>(left), static_cast<int>(bottom)},
                          {static_cast<int>(right), static_cast<int>(bottom)}};
    const bool fill = !m_brush.IsNull();
    const gdi::RopMask brush = gdi::MakeRop(m_rop2, gdi::ColorBits(m_brush.Color()));
    {
        // A wide pen reaches up to its width beyond the outline. When the
        // inside is left as it was (no brush, or one the ROP2 turns into no
        // change), only the four sides are noted.
        // A wide inside-frame pen may have shrunk a thin box past itself:
        // its corners are taken in order.
        const long long m = pen.kind == gdi::LinePen::Kind::Wide ? pen.width : 0;
        const long long l = std::min(left, right), r = std::max(left, right);
        const long long t = std::min(top, bottom), b = std::max(top, bottom);
        if ((fill && !brush.IsNop()) || r - l < 8 || b - t < 8) {
            NoteDrawn(l - m, t - m, r + 1 + m, b + 1 + m);
        } else if (pen.kind != gdi::LinePen::Kind::Null) {
            NoteDrawn(l - m, t - m, r + 1 + m, t + 1 + m);
            NoteDrawn(l - m, b - m, r + 1 + m, b + 1 + m);
            NoteDrawn(l - m, t - m, l + 1 + m, b + 1 + m);
            NoteDrawn(r - m, t - m, r + 1 + m, b + 1 + m);
        }
    }
    if (pen.kind == gdi::LinePen::Kind::Wide) {
        const long long w = pen.width;
        gdi::CoverageMask outline(std::min(left, right) - w, std::min(top, bottom) - w, std::max(left, right) + w + 1,
                                  std::max(top, bottom) + w + 1, raster.Width(), raster.Height());
        gdi::AddWidePolyline(outline, pen.width, pts, 4, true);
        if (fill) {
            // The inside is a rectangle region, which puts its corners in order.
            const long long l = std::min(left, right), r = std::max(left, right);
            const long long t = std::min(top, bottom), b = std::max(top, bottom);
            gdi::CoverageMask inside(l, t, r, b, raster.Width(), raster.Height());
            inside.AddRect(l, t, r, b);
            inside.Subtract(outline);
            inside.Paint(raster, brush);
        }
        outline.Paint(raster, pen.fg);
        return;
    }
    int dashPos = 0;
    gdi::DrawCosmeticPolyline(raster, pen, pts, 4, true, dashPos);
    if (fill) {
        const long long pw = pen.width;
        raster.FillRect(left + (pw + 1) / 2, top + (pw + 1) / 2, right - pw / 2, bottom - pw / 2, brush);
    }
}
