// Pictures once decoded (their composite on white and kept stretches) and the
// GDI+ stand-ins that draw pictures and fill ellipses.
#include "platform/Picture.h"

#include "platform/GdiBltArea.h"
#include "platform/GdiRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <mutex>

namespace {

// Source over destination with a premultiplied source pixel.
inline std::uint32_t Over(std::uint32_t s, std::uint32_t d)
{
    const std::uint32_t a = s >> 24;
    if (a == 255)
        return s | 0xFF000000u;
    if (a == 0)
        return d;
    const std::uint32_t inv = 255 - a;
    auto channel = [&](int shift) {
        const std::uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
        return std::min<std::uint32_t>(255, sc + (dc * inv + 127) / 255) << shift;
    };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

}  // namespace

CPicture::CPicture(QImage image) : m_image(std::move(image))
{
    // The drawing code reads premultiplied pixels.
    if (!m_image.isNull() && m_image.format() != QImage::Format_ARGB32_Premultiplied)
        m_image.convertTo(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < m_image.height() && m_opaque; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(m_image.constScanLine(y));
        std::uint32_t alpha = 0xFF000000u;
        for (int x = 0; x < m_image.width(); ++x)
            alpha &= row[x];
        m_opaque = alpha == 0xFF000000u;
    }
}

const QImage& CPicture::OnWhite() const
{
    std::call_once(m_onWhiteOnce, [this] {
        const int w = GetWidth(), h = GetHeight();
        if (w <= 0 || h <= 0)
            return;
        CMemoryDC surface(w, h);
        surface.DC().FillRect(RECT{0, 0, w, h}, CBrush::White());
        DrawPicture(surface.DC(), *this, 0, 0);
        m_onWhite = surface.Image();
    });
    return m_onWhite;
}

QImage CPicture::StretchedOnWhite(int w, int h, int stretchMode) const
{
    constexpr std::size_t kKept = 8;
    constexpr long long kKeptBytes = 64LL * 1024 * 1024;
    if (w == 0 || h == 0)
        return QImage();
    const long long aw = std::llabs(static_cast<long long>(w)), ah = std::llabs(static_cast<long long>(h));
    const long long bytes = aw * ah * 4;
    const std::lock_guard<std::mutex> lock(m_stretchMutex);
    for (const Stretch& s : m_stretches)
        if (s.w == w && s.h == h && s.mode == stretchMode)
            return s.image;
    QImage source = OnWhite();
    if (source.isNull() || aw > std::numeric_limits<int>::max() || ah > std::numeric_limits<int>::max())
        return QImage();
    const CDC from(source);
    CMemoryDC to(static_cast<int>(aw), static_cast<int>(ah));
    to.DC().SetStretchBltMode(stretchMode);
    // A mirrored stretch starts at the far edge and runs back, as on the canvas.
    to.DC().StretchBlt(w < 0 ? static_cast<int>(aw - 1) : 0, h < 0 ? static_cast<int>(ah - 1) : 0, w, h, from, 0, 0,
                       GetWidth(), GetHeight(), SRCCOPY);
    if (bytes > kKeptBytes)
        return to.Image();
    long long kept = bytes;
    for (const Stretch& s : m_stretches)
        kept += s.image.sizeInBytes();
    while (!m_stretches.empty() && (m_stretches.size() == kKept || kept > kKeptBytes)) {
        kept -= m_stretches.front().image.sizeInBytes();
        m_stretches.erase(m_stretches.begin());
    }
    m_stretches.push_back(Stretch{w, h, stretchMode, to.Image()});
    return m_stretches.back().image;
}

void DrawPicture(CDC& dc, const CPicture& picture, int x, int y)
{
    const QImage& image = picture.Image();
    const gdi::Raster raster(dc);
    dc.NoteDrawn(x, y, static_cast<long long>(x) + image.width(), static_cast<long long>(y) + image.height());
    long long l = x, r = static_cast<long long>(x) + image.width();
    long long t = y, b = static_cast<long long>(y) + image.height();
    raster.ClipColumns(l, r);
    raster.ClipRows(t, b);
    for (long long row = t; row < b; ++row) {
        const auto* s = reinterpret_cast<const std::uint32_t*>(image.constScanLine(static_cast<int>(row - y)));
        std::uint32_t* d = raster.Row(static_cast<int>(row));
        if (picture.IsOpaque() && l < r) {  // over anything, an opaque pixel is itself
            std::copy(s + (l - x), s + (r - x), d + l);
            continue;
        }
        for (long long col = l; col < r; ++col)
            d[col] = Over(s[col - x], d[col]);
    }
}

void DrawPictureStretched(CDC& dc, const CPicture& picture, int x, int y, int w, int h)
{
    const QImage& image = picture.Image();
    if (w == 0 || h == 0 || image.isNull())
        return;
    const gdi::Raster raster(dc);
    const long long dw = std::llabs(static_cast<long long>(w)), dh = std::llabs(static_cast<long long>(h));
    // Mirrored, the steps run leftwards (upwards) from x (y) itself.
    dc.NoteDrawn(w > 0 ? x : x - dw + 1, h > 0 ? y : y - dh + 1, w > 0 ? x + dw : x + 1LL, h > 0 ? y + dh : y + 1LL);
    const long long sw = image.width(), sh = image.height();
    // Destination step k sits at x + k (or x - k when mirrored) and samples the
    // source pixel under its centre.
    // The steps that land in [first, limit).
    auto range = [](long long start, long long len, int dir, long long first, long long limit, long long& lo,
                    long long& hi) {
        lo = 0;
        hi = len;
        if (dir > 0) {
            lo = std::max(lo, first - start);
            hi = std::min(hi, limit - start);
        } else {
            lo = std::max(lo, start - limit + 1);
            hi = std::min(hi, start - first + 1);
        }
    };
    const int dx = w > 0 ? 1 : -1, dy = h > 0 ? 1 : -1;
    long long kx0, kx1, ky0, ky1;
    range(x, dw, dx, raster.ClipLeft(), raster.ClipRight(), kx0, kx1);
    range(y, dh, dy, raster.ClipTop(), raster.ClipBottom(), ky0, ky1);
    if (kx0 >= kx1 || ky0 >= ky1)
        return;
    if (dw < sw || dh < sh) {
        // Shrinking, each pixel takes the mean of the picture area it covers
        // (premultiplied, so transparency averages too); a side that grows
        // still takes the pixel under each centre.
        constexpr int kUnderTheCentre = 0;
        const gdi::AreaStretch area(image, gdi::StretchSide{0, sw, 1, dw, kUnderTheCentre},
                                    gdi::StretchSide{0, sh, 1, dh, kUnderTheCentre}, kx0, kx1);
        std::vector<std::uint32_t> values(static_cast<std::size_t>(kx1 - kx0));
        for (long long ky = ky0; ky < ky1; ++ky) {
            if (!area.Row(ky, values.data()))
                continue;
            std::uint32_t* d = raster.Row(static_cast<int>(y + dy * ky));
            for (std::size_t i = 0; i < values.size(); ++i) {
                std::uint32_t& p = d[x + dx * (kx0 + static_cast<long long>(i))];
                p = Over(values[i], p);
            }
        }
        return;
    }
    for (long long ky = ky0; ky < ky1; ++ky) {
        const long long sy = ((2 * ky + 1) * sh) / (2 * dh);
        const auto* s = reinterpret_cast<const std::uint32_t*>(image.constScanLine(static_cast<int>(sy)));
        std::uint32_t* d = raster.Row(static_cast<int>(y + dy * ky));
        for (long long kx = kx0; kx < kx1; ++kx) {
            const long long sx = ((2 * kx + 1) * sw) / (2 * dw);
            std::uint32_t& p = d[x + dx * kx];
            p = Over(s[sx], p);
        }
    }
}

void FillEllipseOpaque(CDC& dc, COLORREF color, int x, int y, int w, int h)
{
    FillEllipseArgb(dc, ColorToArgb(color), x, y, w, h);
}

void FillEllipseArgb(CDC& dc, std::uint32_t argb, int x, int y, int w, int h)
{
    const std::uint32_t alpha = argb >> 24;
    if (w <= 0 || h <= 0 || alpha == 0)
        return;
    __extension__ using Wide = unsigned __int128;
    const gdi::Raster raster(dc);
    dc.NoteDrawn(x, y, static_cast<long long>(x) + w, static_cast<long long>(y) + h);
    const long long W = w, H = h;
    // In doubled coordinates from the centre, pixel (px, py) has its centre at
    // u = 2 px + 1 - 2 x - w, v = 2 py + 1 - 2 y - h, and lies inside when
    // u^2 h^2 + v^2 w^2 <= w^2 h^2.
    const Wide ww = static_cast<Wide>(W * W), hh = static_cast<Wide>(H * H);
    const Wide whole = ww * hh;
    long long row0 = y, row1 = static_cast<long long>(y) + h;
    raster.ClipRows(row0, row1);
    const std::uint32_t premul = ((((argb >> 16) & 0xFF) * alpha + 127) / 255) << 16 |
                                 ((((argb >> 8) & 0xFF) * alpha + 127) / 255) << 8 | (((argb & 0xFF) * alpha + 127) / 255);
    const std::uint32_t source = (alpha << 24) | premul;
    if (row0 >= row1)
        return;
    // Rows with the same distance |v| from the centre cover the same columns,
    // and the half-width u shrinks as |v| grows. The visible rows are taken
    // by growing |v| (each |v| is one row or a pair mirrored about the
    // centre), so u is found once by a square root and then only stepped down.
    const long long c = 2 * static_cast<long long>(y) + H;  // v = 2 py + 1 - c
    const long long vFirst = 2 * row0 + 1 - c, vLast = 2 * (row1 - 1) + 1 - c;
    const long long vMin = (vFirst <= 0 && vLast >= 0) ? ((c + 1) % 2 == 0 ? 0 : 1) : std::min(std::llabs(vFirst), std::llabs(vLast));
    const long long vMax = std::max(std::llabs(vFirst), std::llabs(vLast));
    long long u = -1;
    bool first = true;
    for (long long av = vMin; av <= vMax; av += 2) {
        const Wide vv = static_cast<Wide>(av) * static_cast<Wide>(av);
        if (vv * ww > whole)
            break;  // beyond the ellipse's top and bottom: so is every row further out
        const Wide room = whole - vv * ww;  // u^2 h^2 may not exceed this
        auto fits = [&](long long t) { return static_cast<Wide>(t) * static_cast<Wide>(t) * hh <= room; };
        // A few steps down from the last row's half-width; where the edge
        // falls steeply (near the top and bottom), a fresh square root.
        int steps = 0;
        while (!first && u >= 0 && !fits(u) && steps < 8) {
            --u;
            ++steps;
        }
        if (first || (u >= 0 && !fits(u))) {
            u = static_cast<long long>(std::floor(W * std::sqrt(std::max(0.0, 1.0 - static_cast<double>(av) * av / (static_cast<double>(H) * H)))));
            while (fits(u + 1))
                ++u;
            while (u >= 0 && !fits(u))
                --u;
            first = false;
        }
        long long half = u;
        if (((half - (1 - W)) % 2 + 2) % 2 != 0)  // the half-width has the parity of 1 - w
            --half;
        if (half < 0)
            break;
        const long long left = (-half - 1 + 2 * static_cast<long long>(x) + W) / 2;
        const long long right = (half - 1 + 2 * static_cast<long long>(x) + W) / 2 + 1;
        long long l = left, r = right;
        raster.ClipColumns(l, r);
        if (l >= r)
            continue;
        const long long below = (av + c - 1) / 2, above = (c - 1 - av) / 2;  // v = +av and -av
        const long long rows[2] = {above, below};
        for (int i = 0; i < (below == above ? 1 : 2); ++i) {
            const long long row = rows[i];
            if (row < row0 || row >= row1)
                continue;
            std::uint32_t* d = raster.Row(static_cast<int>(row));
            if (alpha == 255) {
                // An opaque row is a plain fill: the wide stores of the raster code.
                gdi::ApplyRop(d + l, static_cast<std::size_t>(r - l), gdi::RopMask{0xFF000000u, argb & 0x00FFFFFFu});
                continue;
            }
            for (long long px = l; px < r; ++px)
                d[px] = Over(source, d[px]);
        }
    }
}
