// Coverage masks and the outline of wide pens. A wide pen's outline is the
// union of its segments (rectangles along the axes, quadrilaterals across
// them) with a round cap at each open end and a round join at each corner,
// painted once per pixel as GDI paints a region.
#include "platform/GdiRaster.h"

#include <algorithm>
#include <cmath>

namespace gdi {

CoverageMask::CoverageMask(long long l, long long t, long long r, long long b, int surfaceWidth, int surfaceHeight)
{
    l = std::max(l, 0LL);
    t = std::max(t, 0LL);
    r = std::min(r, static_cast<long long>(surfaceWidth));
    b = std::min(b, static_cast<long long>(surfaceHeight));
    if (l >= r || t >= b)
        return;
    m_left = l;
    m_top = t;
    m_width = static_cast<int>(r - l);
    m_height = static_cast<int>(b - t);
    m_bits.assign(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 0);
}

void CoverageMask::AddSpan(long long y, long long l, long long r)
{
    if (y < m_top || y >= m_top + m_height)
        return;
    l = std::max(l, m_left);
    r = std::min(r, m_left + m_width);
    if (l >= r)
        return;
    std::uint8_t* row = m_bits.data() + static_cast<std::size_t>(y - m_top) * static_cast<std::size_t>(m_width);
    std::fill(row + (l - m_left), row + (r - m_left), std::uint8_t{1});
}

void CoverageMask::AddRect(long long l, long long t, long long r, long long b)
{
    t = std::max(t, m_top);
    b = std::min(b, m_top + m_height);
    for (long long y = t; y < b; ++y)
        AddSpan(y, l, r);
}

void CoverageMask::SubtractRect(long long l, long long t, long long r, long long b)
{
    t = std::max(t, m_top);
    b = std::min(b, m_top + m_height);
    l = std::max(l, m_left);
    r = std::min(r, m_left + m_width);
    if (l >= r)
        return;
    for (long long y = t; y < b; ++y) {
        std::uint8_t* row = m_bits.data() + static_cast<std::size_t>(y - m_top) * static_cast<std::size_t>(m_width);
        std::fill(row + (l - m_left), row + (r - m_left), std::uint8_t{0});
    }
}

void CoverageMask::AddEllipse(long long l, long long t, long long r, long long b)
{
    const long long w = r - l, h = b - t;
    if (w < 2 || h < 2 || w + h > kExactEllipseLimit) {
        AddRect(l, t, r, b);
        return;
    }
    const std::vector<int> insets = EllipseRowInsets(static_cast<int>(w), static_cast<int>(h));
    for (long long i = 0; i < h; ++i)
        AddSpan(t + i, l + insets[static_cast<std::size_t>(i)], r - insets[static_cast<std::size_t>(i)]);
}

void CoverageMask::AddPolygon(const Vertex* pts, std::size_t count)
{
    if (count < 3 || Empty())
        return;
    long long minY = pts[0].y, maxY = pts[0].y;
    for (std::size_t i = 1; i < count; ++i) {
        minY = std::min(minY, pts[i].y);
        maxY = std::max(maxY, pts[i].y);
    }
    minY = std::max(minY, m_top);
    maxY = std::min(maxY, m_top + m_height - 1);
    std::vector<double> xs;
    for (long long y = minY; y <= maxY; ++y) {
        xs.clear();
        for (std::size_t i = 0; i < count; ++i) {
            const Vertex a = pts[i], b = pts[(i + 1) % count];
            const long long ya = a.y, yb = b.y;
            if (ya == yb)
                continue;
            // Each edge owns its upper end and not its lower one.
            if ((y >= ya && y < yb) || (y >= yb && y < ya)) {
                const double x = static_cast<double>(a.x) +
                                 static_cast<double>(y - ya) * static_cast<double>(b.x - a.x) / static_cast<double>(yb - ya);
                xs.push_back(x);
            }
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
            AddSpan(y, static_cast<long long>(std::ceil(xs[i])), static_cast<long long>(std::ceil(xs[i + 1])));
    }
}

void CoverageMask::Subtract(const CoverageMask& other)
{
    for (int row = 0; row < m_height; ++row) {
        const long long y = m_top + row;
        for (int col = 0; col < m_width; ++col) {
            std::uint8_t& bit = m_bits[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_width) +
                                       static_cast<std::size_t>(col)];
            if (bit && other.Test(m_left + col, y))
                bit = 0;
        }
    }
}

bool CoverageMask::Test(long long x, long long y) const
{
    if (x < m_left || y < m_top || x >= m_left + m_width || y >= m_top + m_height)
        return false;
    return m_bits[static_cast<std::size_t>(y - m_top) * static_cast<std::size_t>(m_width) +
                  static_cast<std::size_t>(x - m_left)] != 0;
}

void CoverageMask::Paint(const Raster& raster, RopMask rop) const
{
    if (rop.IsNop())
        return;
    for (int row = 0; row < m_height; ++row) {
        const std::uint8_t* bits = m_bits.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(m_width);
        int col = 0;
        while (col < m_width) {
            while (col < m_width && !bits[col])
                ++col;
            const int start = col;
            while (col < m_width && bits[col])
                ++col;
            if (col > start)
                raster.Span(static_cast<int>(m_top + row), static_cast<int>(m_left + start),
                            static_cast<int>(m_left + col), rop);
        }
    }
}

namespace {

long long RoundHalfAway(double v) { return static_cast<long long>(v > 0 ? v + 0.5 : v - 0.5); }

// The round cap and join of a pen: GDI's elliptic region of a width x width
// box centred on the point, its rows worked out once a polyline.
class Disc {
public:
    explicit Disc(int width) : m_width(width)
    {
        if (width >= 2 && 2LL * width <= kExactEllipseLimit)
            m_insets = EllipseRowInsets(width, width);
        else
            m_insets.assign(static_cast<std::size_t>(std::max(width, 1)), 0);
    }
    void AddAt(CoverageMask& mask, POINT c) const
    {
        const long long l = static_cast<long long>(c.x) - m_width / 2;
        const long long t = static_cast<long long>(c.y) - m_width / 2;
        const long long first = std::max(0LL, mask.Top() - t);
        const long long last = std::min<long long>(m_width, mask.Bottom() - t);
        for (long long i = first; i < last; ++i) {
            const int inset = m_insets[static_cast<std::size_t>(i)];
            mask.AddSpan(t + i, l + inset, l + m_width - inset);
        }
    }

private:
    int m_width;
    std::vector<int> m_insets;
};

void AddWideSegment(CoverageMask& mask, int width, POINT a, POINT b)
{
    const long long dx = static_cast<long long>(b.x) - a.x, dy = static_cast<long long>(b.y) - a.y;
    if (dx == 0 && dy == 0)
        return;
    if (dy == 0) {
        const long long top = static_cast<long long>(a.y) - width / 2;
        mask.AddRect(std::min(a.x, b.x), top, std::max(a.x, b.x), top + width);
        return;
    }
    if (dx == 0) {
        const long long left = static_cast<long long>(a.x) - width / 2;
        mask.AddRect(left, std::min(a.y, b.y), left + width, std::max(a.y, b.y));
        return;
    }
    // A quadrilateral of the pen's width across the segment, the halves
    // rounded so that the narrow one lies on the left of the direction.
    const double len = std::hypot(static_cast<double>(dx), static_cast<double>(dy));
    const double widthX = width * std::llabs(dy) / len;
    const double widthY = width * std::llabs(dx) / len;
    long long narrowX = RoundHalfAway(widthX / 2), narrowY = RoundHalfAway(widthY / 2);
    long long wideX = RoundHalfAway((widthX + 1) / 2), wideY = RoundHalfAway((widthY + 1) / 2);
    if (dx < 0) {
        wideY = -wideY;
        narrowY = -narrowY;
    }
    if (dy < 0) {
        std::swap(narrowX, wideX);
        std::swap(narrowY, wideY);
        wideX = -wideX;
        narrowX = -narrowX;
    }
    using V = CoverageMask::Vertex;
    const V quad[4] = {V{a.x - narrowX, a.y + narrowY}, V{a.x + wideX, a.y - wideY}, V{b.x + wideX, b.y - wideY},
                       V{b.x - narrowX, b.y + narrowY}};
    mask.AddPolygon(quad, 4);
}

}  // namespace

void AddWidePolyline(CoverageMask& mask, int width, const POINT* pts, std::size_t count, bool close)
{
    if (count < 2 || mask.Empty())
        return;
    // Empty segments at either end are dropped.
    while (count > 2 && pts[0] == pts[1]) {
        ++pts;
        --count;
    }
    while (count > 2 && pts[count - 1] == pts[count - 2])
        --count;
    const Disc disc(width);
    if (!close) {
        disc.AddAt(mask, pts[0]);
        disc.AddAt(mask, pts[count - 1]);
    }
    const std::size_t segments = close ? count : count - 1;
    for (std::size_t i = 0; i < segments; ++i)
        AddWideSegment(mask, width, pts[i], pts[(i + 1) % count]);
    // Round joins at the corners.
    for (std::size_t i = 1; i + 1 < count; ++i)
        disc.AddAt(mask, pts[i]);
    if (close) {
        disc.AddAt(mask, pts[count - 1]);
        disc.AddAt(mask, pts[0]);
    }
}

}  // namespace gdi
