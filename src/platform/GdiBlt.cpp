// Block copies between surfaces: BitBlt and StretchBlt.
//
// A stretch maps each axis as GDI's Bresenham stretcher does. Growing, the
// destination pixel k (0-based along the axis) takes source pixel
// ((2k + 1) S - 1) / 2D, the one whose centre it covers, ties going to the
// lower index; shrinking, source pixel j lands on destination pixel
// ((2j + 1) D - 1) / 2S, and the pixels landing on one destination pixel are
// combined by the stretch mode: ANDed (BLACKONWHITE), ORed (WHITEONBLACK), or
// for COLORONCOLOR the last column of the first row is kept. HALFTONE, the
// mode pictures are drawn in, averages instead (GdiBltArea.h) wherever a side
// shrinks; where none does it grows as COLORONCOLOR.
#include "platform/GdiBltArea.h"
#include "platform/GdiRaster.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

bool RopUsesSource(DWORD rop) { return ((rop >> 2) & 0x330000u) != (rop & 0x330000u); }
bool RopUsesPattern(DWORD rop) { return ((rop >> 4) & 0x0F0000u) != (rop & 0x0F0000u); }

// The pixels a signed extent covers: [x, x + w), or [x + w + 1, x + 1) when negative.
void Extent(long long x, long long w, long long& lo, long long& hi)
{
    if (w >= 0) {
        lo = x;
        hi = x + w;
    } else {
        lo = x + w + 1;
        hi = x + 1;
    }
}

// One axis of a stretch: which source pixels feed destination step k.
struct AxisMap {
    long long dstStart, srcStart;
    long long dstLen, srcLen;  // absolute lengths
    int dstInc, srcInc;

    AxisMap(long long dst, long long dw, long long src, long long sw)
        : dstStart(dst), srcStart(src), dstLen(dw < 0 ? -dw : dw), srcLen(sw < 0 ? -sw : sw),
          dstInc(dw < 0 ? -1 : 1), srcInc(sw < 0 ? -1 : 1)
    {
    }
    bool Shrinks() const { return srcLen > dstLen; }
    // Source indices [first, last] of destination step k.
    void Sources(long long k, long long& first, long long& last) const
    {
        if (!Shrinks()) {
            first = last = ((2 * k + 1) * srcLen - 1) / (2 * dstLen);
            return;
        }
        first = FirstSource(k);
        last = FirstSource(k + 1) - 1;
    }
    long long FirstSource(long long k) const
    {
        if (k >= dstLen)
            return srcLen;
        const long long num = 2 * srcLen * k + 1 - dstLen;
        return num <= 0 ? 0 : (num + 2 * dstLen - 1) / (2 * dstLen);
    }
    long long DstCoord(long long k) const { return dstStart + dstInc * k; }
    long long SrcCoord(long long j) const { return srcStart + srcInc * j; }
    // The steps whose destination lies in [from, to).
    void VisibleSteps(long long from, long long to, long long& lo, long long& hi) const
    {
        lo = 0;
        hi = dstLen;
        if (dstInc > 0) {
            lo = std::max(lo, from - dstStart);
            hi = std::min(hi, to - dstStart);
        } else {
            lo = std::max(lo, dstStart - to + 1);
            hi = std::min(hi, dstStart - from + 1);
        }
    }
};

// C division, truncating toward zero, as GDI's integer arithmetic divides.
long long Div(long long a, long long b) { return a / b; }

// Where a stretch may draw along one axis, as GDI works it out: the source
// extent is clipped to the source surface and mapped onto the destination
// (with a pixel to spare each side), and back. A mirrored copy whose source
// does not fit in its surface is moved instead of flipped, as GDI moves it.
// Returns false when nothing is visible.
bool StretchAxis(long long& dst, long long dw, long long src, long long sw, long long dstLimit,
                 long long srcLimit, long long& dstLo, long long& dstHi, long long& srcLo, long long& srcHi)
{
    Extent(dst, dw, dstLo, dstHi);
    dstLo = std::max(dstLo, 0LL);
    dstHi = std::min(dstHi, dstLimit);
    Extent(src, sw, srcLo, srcHi);
    srcLo = std::max(srcLo, 0LL);
    srcHi = std::min(srcHi, srcLimit);
    if (dstLo >= dstHi || srcLo >= srcHi)
        return false;
    const long long srcShift = src + (sw < 0 ? 1 : 0);
    long long a = Div((srcLo - srcShift) * dw, sw), b = Div((srcHi - srcShift) * dw, sw);
    if (a > b)
        std::swap(a, b);
    if (sw < 0 && dw > 0 && (src + sw + 1 < srcLo || src > srcHi))
        dst += (dw - b) - a;
    else if (sw > 0 && dw < 0 && (src < srcLo || src + sw > srcHi))
        dst -= b - (dw - a);
    dstLo = std::max(dstLo, dst + a - 1);
    dstHi = std::min(dstHi, dst + b + 1);
    if (dstLo >= dstHi)
        return false;
    const long long dstShift = dst + (dw < 0 ? 1 : 0);
    long long c = src + Div((dstLo - dstShift) * sw, dw), d = src + Div((dstHi - dstShift) * sw, dw);
    if (c > d)
        std::swap(c, d);
    srcLo = std::max(srcLo, c - 1);
    srcHi = std::min(srcHi, d + 1);
    return srcLo < srcHi;
}

// The source pixels of one destination pixel, as the stretch mode combines them.
struct Sampler {
    const QImage& src;
    int mode;
    long long left, top, right, bottom;  // the source pixels that may be read
    bool Combine(long long x0, long long x1, long long xInc, long long y0, long long y1, long long yInc,
                 std::uint32_t& out) const
    {
        bool any = false;
        std::uint32_t acc = mode == WHITEONBLACK ? 0u : 0xFFFFFFFFu;
        const bool deleteScans = mode == COLORONCOLOR;
        const long long rows = (y1 - y0) * yInc + 1;
        const long long cols = (x1 - x0) * xInc + 1;
        for (long long r = 0; r < rows; ++r) {
            const long long y = y0 + r * yInc;
            if (y < top || y >= bottom)
                continue;
            const auto* row = reinterpret_cast<const std::uint32_t*>(src.constScanLine(static_cast<int>(y)));
            for (long long c = 0; c < cols; ++c) {
                const long long x = x0 + c * xInc;
                if (x < left || x >= right)
                    continue;
                if (deleteScans)
                    acc = row[x];  // the last column wins
                else if (mode == WHITEONBLACK)
                    acc |= row[x];
                else
                    acc &= row[x];
                any = true;
            }
            if (deleteScans && any)
                break;  // only the first row counts
        }
        out = acc | 0xFF000000u;
        return any;
    }
};

}  // namespace

void CDC::BitBlt(int x, int y, int w, int h, const CDC& src, int sx, int sy, DWORD rop)
{
    if (!RopUsesSource(rop)) {
        PatBlt(x, y, w, h, rop);
        return;
    }
    StretchBlt(x, y, w, h, src, sx, sy, w, h, rop);
}

void CDC::StretchBlt(int x, int y, int w, int h, const CDC& src, int sx, int sy, int sw, int sh, DWORD rop)
{
    if (!RopUsesSource(rop)) {
        PatBlt(x, y, w, h, rop);
        return;
    }
    if (RopUsesPattern(rop) || w == 0 || h == 0 || sw == 0 || sh == 0)
        return;
    const int rop2 = static_cast<int>((rop >> 16) & 0x0Fu) + 1;
    const gdi::Raster raster(*this);
    {
        long long l, r, t, b;
        Extent(x, w, l, r);
        Extent(y, h, t, b);
        NoteDrawn(l, t, r, b);
    }
    // Copying within one surface reads a snapshot, so overlapping areas copy cleanly.
    QImage snapshot;
    const QImage* source = &src.Surface();
    if (source == m_surface) {
        snapshot = m_surface->copy();
        source = &snapshot;
    }
    auto put = [&](std::uint32_t* d, std::uint32_t s) {
        *d = rop2 == R2_COPYPEN ? (s | 0xFF000000u) : gdi::MakeRop(rop2, s & 0x00FFFFFFu).Apply(*d);
    };

    if (w == sw && h == sh) {  // a straight copy, whatever the signs
        long long dl, dr, dt, db, sl, sr, st, sb;
        Extent(x, w, dl, dr);
        Extent(y, h, dt, db);
        Extent(sx, sw, sl, sr);
        Extent(sy, sh, st, sb);
        const long long ox = sl - dl, oy = st - dt;
        long long l = std::max({dl, 0LL, std::max(sl, 0LL) - ox});
        long long r = std::min({dr, static_cast<long long>(raster.Width()),
                                std::min(sr, static_cast<long long>(source->width())) - ox});
        long long t = std::max({dt, 0LL, std::max(st, 0LL) - oy});
        long long b = std::min({db, static_cast<long long>(raster.Height()),
                                std::min(sb, static_cast<long long>(source->height())) - oy});
        raster.ClipColumns(l, r);
        raster.ClipRows(t, b);
        if (l >= r)
            return;
        for (long long row = t; row < b; ++row) {
            const auto* s = reinterpret_cast<const std::uint32_t*>(source->constScanLine(static_cast<int>(row + oy)));
            std::uint32_t* d = raster.Row(static_cast<int>(row));
            if (rop2 == R2_COPYPEN) {
                std::copy(s + (l + ox), s + (r + ox), d + l);
                continue;
            }
            for (long long col = l; col < r; ++col)
                put(d + col, s[col + ox]);
        }
        return;
    }

    if (m_stretchMode == HALFTONE && (std::llabs(sw) > std::llabs(w) || std::llabs(sh) > std::llabs(h))) {
        // Each pixel reads the source area it covers, whatever the
        // destination edges cut off, so the clip box alone limits the steps.
        const AxisMap hm(x, w, sx, sw), vm(y, h, sy, sh);
        long long l, r, t, b;
        Extent(x, w, l, r);
        Extent(y, h, t, b);
        raster.ClipColumns(l, r);
        raster.ClipRows(t, b);
        long long kx0, kx1, ky0, ky1;
        hm.VisibleSteps(l, r, kx0, kx1);
        vm.VisibleSteps(t, b, ky0, ky1);
        if (kx0 >= kx1 || ky0 >= ky1)
            return;
        constexpr int kGdiNearest = -1;  // a side that grows takes ((2k + 1) S - 1) / 2D
        const gdi::AreaStretch area(*source, gdi::StretchSide{sx, hm.srcLen, hm.srcInc, hm.dstLen, kGdiNearest},
                                    gdi::StretchSide{sy, vm.srcLen, vm.srcInc, vm.dstLen, kGdiNearest}, kx0, kx1);
        std::vector<std::uint32_t> values(static_cast<std::size_t>(kx1 - kx0));
        for (long long ky = ky0; ky < ky1; ++ky) {
            if (!area.Row(ky, values.data()))
                continue;
            std::uint32_t* row = raster.Row(static_cast<int>(vm.DstCoord(ky)));
            for (std::size_t i = 0; i < values.size(); ++i)
                if (area.Reads(i))
                    put(row + hm.DstCoord(kx0 + static_cast<long long>(i)), values[i]);
        }
        return;
    }

    long long dx = x, dy = y, dstL, dstR, dstT, dstB, srcL, srcR, srcT, srcB;
    if (!StretchAxis(dx, w, sx, sw, raster.Width(), source->width(), dstL, dstR, srcL, srcR) ||
        !StretchAxis(dy, h, sy, sh, raster.Height(), source->height(), dstT, dstB, srcT, srcB))
        return;
    // GDI samples one source pixel fewer when a stretch lands on a single
    // destination pixel.
    const long long sw1 = (w == 1 && sw > 1) ? sw - 1 : sw;
    const long long sh1 = (h == 1 && sh > 1) ? sh - 1 : sh;
    const AxisMap hmap(dx, w, sx, sw1), vmap(dy, h, sy, sh1);
    // The clip box cuts the destination only after the surface edges have
    // decided which source pixels may be read, so a clipped stretch writes
    // exactly the pixels of the whole stretch that lie inside it.
    raster.ClipColumns(dstL, dstR);
    raster.ClipRows(dstT, dstB);
    long long kx0, kx1, ky0, ky1;
    hmap.VisibleSteps(dstL, dstR, kx0, kx1);
    vmap.VisibleSteps(dstT, dstB, ky0, ky1);
    if (kx0 >= kx1 || ky0 >= ky1)
        return;
    std::vector<long long> colFirst(static_cast<std::size_t>(kx1 - kx0)), colLast(colFirst.size());
    for (long long k = kx0; k < kx1; ++k) {
        long long first, last;
        hmap.Sources(k, first, last);
        colFirst[static_cast<std::size_t>(k - kx0)] = hmap.SrcCoord(first);
        colLast[static_cast<std::size_t>(k - kx0)] = hmap.SrcCoord(last);
    }
    const Sampler sampler{*source, m_stretchMode, srcL, srcT, srcR, srcB};
    if (!hmap.Shrinks() && !vmap.Shrinks()) {
        // Growing both ways: one source pixel a destination pixel, read directly.
        for (long long ky = ky0; ky < ky1; ++ky) {
            long long first, last;
            vmap.Sources(ky, first, last);
            const long long sy = vmap.SrcCoord(first);
            if (sy < srcT || sy >= srcB)
                continue;
            const auto* s = reinterpret_cast<const std::uint32_t*>(source->constScanLine(static_cast<int>(sy)));
            std::uint32_t* row = raster.Row(static_cast<int>(vmap.DstCoord(ky)));
            for (long long kx = kx0; kx < kx1; ++kx) {
                const long long sx = colFirst[static_cast<std::size_t>(kx - kx0)];
                if (sx >= srcL && sx < srcR)
                    put(row + hmap.DstCoord(kx), s[sx] | 0xFF000000u);
            }
        }
        return;
    }
    for (long long ky = ky0; ky < ky1; ++ky) {
        long long first, last;
        vmap.Sources(ky, first, last);
        const long long y0 = vmap.SrcCoord(first), y1 = vmap.SrcCoord(last);
        std::uint32_t* row = raster.Row(static_cast<int>(vmap.DstCoord(ky)));
        for (long long kx = kx0; kx < kx1; ++kx) {
            const std::size_t i = static_cast<std::size_t>(kx - kx0);
            std::uint32_t value;
            if (sampler.Combine(colFirst[i], colLast[i], hmap.srcInc, y0, y1, vmap.srcInc, value))
                put(row + hmap.DstCoord(kx), value);
        }
    }
}
