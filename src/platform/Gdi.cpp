// The device context's state, its raster-operation arithmetic and the fills
// that need no outline: PatBlt, FillRect and single pixels.
#include "platform/Gdi.h"

#include "platform/DamageRegion.h"
#include "platform/GdiRaster.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gdi {

namespace {

// The default palette of a device context (the twenty static colours), which
// palette-index colours resolve through.
constexpr std::array<COLORREF, 20> kDefaultPalette = {
    RGB(0x00, 0x00, 0x00), RGB(0x80, 0x00, 0x00), RGB(0x00, 0x80, 0x00), RGB(0x80, 0x80, 0x00),
    RGB(0x00, 0x00, 0x80), RGB(0x80, 0x00, 0x80), RGB(0x00, 0x80, 0x80), RGB(0xC0, 0xC0, 0xC0),
    RGB(0xC0, 0xDC, 0xC0), RGB(0xA6, 0xCA, 0xF0), RGB(0xFF, 0xFB, 0xF0), RGB(0xA0, 0xA0, 0xA4),
    RGB(0x80, 0x80, 0x80), RGB(0xFF, 0x00, 0x00), RGB(0x00, 0xFF, 0x00), RGB(0xFF, 0xFF, 0x00),
    RGB(0x00, 0x00, 0xFF), RGB(0xFF, 0x00, 0xFF), RGB(0x00, 0xFF, 0xFF), RGB(0xFF, 0xFF, 0xFF),
};

}  // namespace

std::uint32_t ColorBits(COLORREF color)
{
    if ((color >> 24) & 1) {  // a palette index
        const unsigned index = color & 0xFFFF;
        color = index < kDefaultPalette.size() ? kDefaultPalette[index] : kDefaultPalette[0];
    } else if ((color >> 16) == 0x10FF) {  // an index into a colour table, which this surface has not
        return 0;
    }
    return ColorToPixel(color) & 0x00FFFFFFu;
}

RopMask MakeRop(int rop2, std::uint32_t colorBits)
{
    if (rop2 < R2_BLACK || rop2 > R2_WHITE)
        rop2 = R2_NOP;
    // The code minus one is the truth table of the operation, bit (2 * P + D)
    // giving the result for pen bit P and destination bit D. For a fixed P the
    // result is D & A ^ X with X = f(P, 0) and A = f(P, 0) ^ f(P, 1).
    const unsigned table = static_cast<unsigned>(rop2 - 1);
    auto all = [](unsigned bit) { return bit ? 0xFFFFFFFFu : 0u; };
    const std::uint32_t p = colorBits;
    const std::uint32_t x = (p & all(table & 4)) | (~p & all(table & 1));
    const std::uint32_t a = (p & all(((table >> 2) ^ (table >> 3)) & 1)) | (~p & all((table ^ (table >> 1)) & 1));
    return RopMask{(a & 0x00FFFFFFu) | 0xFF000000u, x & 0x00FFFFFFu};
}

Raster::Raster(QImage& image)
{
    if (image.isNull() || image.depth() != 32)
        return;
    m_bits = image.bits();
    m_stride = image.bytesPerLine();
    m_width = image.width();
    m_height = image.height();
    m_clipRight = m_width;
    m_clipBottom = m_height;
}

Raster::Raster(CDC& dc) : Raster(dc.Surface())
{
    if (const std::optional<RECT>& clip = dc.GetClipRect()) {
        m_clipLeft = std::clamp(clip->left, 0, m_width);
        m_clipTop = std::clamp(clip->top, 0, m_height);
        m_clipRight = std::clamp(clip->right, m_clipLeft, m_width);
        m_clipBottom = std::clamp(clip->bottom, m_clipTop, m_height);
    }
}

namespace {

// Fills n pixels with v: a memset when v's four bytes are alike (white,
// black), else wide stores.
void Fill32(std::uint32_t* p, std::size_t n, std::uint32_t v)
{
    if ((v & 0xFF) * 0x01010101u == v) {
        std::memset(p, static_cast<int>(v & 0xFF), n * 4);
        return;
    }
#if defined(__SSE2__)
    const __m128i wide = _mm_set1_epi32(static_cast<int>(v));
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), wide);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 4), wide);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 8), wide);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 12), wide);
    }
    for (; i + 4 <= n; i += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), wide);
    for (; i < n; ++i)
        p[i] = v;
#else
    std::fill_n(p, n, v);
#endif
}

// p[i] = (p[i] & a) ^ x for n pixels.
void Rop32(std::uint32_t* p, std::size_t n, std::uint32_t a, std::uint32_t x)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i wa = _mm_set1_epi32(static_cast<int>(a)), wx = _mm_set1_epi32(static_cast<int>(x));
    for (; i + 4 <= n; i += 4) {
        auto* q = reinterpret_cast<__m128i*>(p + i);
        _mm_storeu_si128(q, _mm_xor_si128(_mm_and_si128(_mm_loadu_si128(q), wa), wx));
    }
#endif
    for (; i < n; ++i)
        p[i] = (p[i] & a) ^ x;
}

}  // namespace

void ApplyRop(std::uint32_t* p, std::size_t n, RopMask rop)
{
    if (rop.IsNop())
        return;
    if (rop.IsCopy())
        Fill32(p, n, rop.xorBits | 0xFF000000u);
    else
        Rop32(p, n, rop.andBits, rop.xorBits);
}

void Raster::Span(int y, int x0, int x1, RopMask rop) const
{
    if (y < m_clipTop || y >= m_clipBottom)
        return;
    x0 = std::max(x0, m_clipLeft);
    x1 = std::min(x1, m_clipRight);
    if (x1 > x0)
        ApplyRop(At(x0, y), static_cast<std::size_t>(x1 - x0), rop);
}

void Raster::FillRect(long long l, long long t, long long r, long long b, RopMask rop) const
{
    ClipColumns(l, r);
    ClipRows(t, b);
    if (l >= r || t >= b || rop.IsNop())
        return;
    // Whole rows of a gapless surface are one block.
    if (l == 0 && r == m_width && m_stride == static_cast<qsizetype>(m_width) * 4) {
        ApplyRop(Row(static_cast<int>(t)), static_cast<std::size_t>(m_width) * static_cast<std::size_t>(b - t), rop);
        return;
    }
    for (long long y = t; y < b; ++y)
        Span(static_cast<int>(y), static_cast<int>(l), static_cast<int>(r), rop);
}

}  // namespace gdi

// ---- CDC state ----

CDC::CDC(QImage& surface) : m_surface(&surface)
{
    // Anything but a 32-bit RGB surface would be misread by the raster code.
    if (!surface.isNull() && surface.format() != QImage::Format_RGB32)
        surface.convertTo(QImage::Format_RGB32);
}

int CDC::Width() const { return m_surface->width(); }
int CDC::Height() const { return m_surface->height(); }

int CDC::SetROP2(int rop2)
{
    if (rop2 < R2_BLACK || rop2 > R2_WHITE)
        return 0;
    return std::exchange(m_rop2, rop2);
}

int CDC::SetBkMode(int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return std::exchange(m_bkMode, mode);
}

COLORREF CDC::SetBkColor(COLORREF color) { return std::exchange(m_bkColor, color); }
COLORREF CDC::SetTextColor(COLORREF color) { return std::exchange(m_textColor, color); }

int CDC::SetStretchBltMode(int mode)
{
    if (mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    return std::exchange(m_stretchMode, mode);
}

CPen CDC::SelectPen(const CPen& pen) { return std::exchange(m_pen, pen); }
CBrush CDC::SelectBrush(const CBrush& brush) { return std::exchange(m_brush, brush); }
CFont CDC::SelectFont(const CFont& font) { return std::exchange(m_font, font); }

POINT CDC::MoveTo(int x, int y) { return std::exchange(m_pos, POINT{x, y}); }

void CDC::SetClipRect(const RECT* rc)
{
    if (rc)
        m_clip = *rc;
    else
        m_clip.reset();
}

void CDC::NoteDrawn(long long l, long long t, long long r, long long b)
{
    if (!m_damage)
        return;
    l = std::max(l, 0LL);
    t = std::max(t, 0LL);
    r = std::min(r, static_cast<long long>(m_surface->width()));
    b = std::min(b, static_cast<long long>(m_surface->height()));
    if (m_clip) {
        l = std::max<long long>(l, m_clip->left);
        t = std::max<long long>(t, m_clip->top);
        r = std::min<long long>(r, m_clip->right);
        b = std::min<long long>(b, m_clip->bottom);
    }
    if (l < r && t < b)
        m_damage->Add(RECT{static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b)});
}

// ---- fills ----

namespace {

// The binary operation a pattern raster operation performs when it reads no
// source, or 0 when it reads one.
int PatternRop2(DWORD rop)
{
    const bool usesSource = ((rop >> 2) & 0x330000u) != (rop & 0x330000u);
    if (usesSource)
        return 0;
    return static_cast<int>(((rop >> 18) & 0x0Cu) | ((rop >> 16) & 0x03u)) + 1;
}

}  // namespace

void CDC::PatBlt(int x, int y, int w, int h, DWORD rop)
{
    const int rop2 = PatternRop2(rop);
    if (rop2 == 0 || w == 0 || h == 0)
        return;
    // The far edge is computed in 32 bits as GDI computes it (so a FillRect
    // whose size overflowed comes out right); a negative size counts back
    // from x, including x itself.
    auto wrap = [](int a, int b) { return static_cast<int>(static_cast<unsigned>(a) + static_cast<unsigned>(b)); };
    long long l = x, r = wrap(x, w);
    long long t = y, b = wrap(y, h);
    if (l > r) {
        std::swap(l, r);
        ++l;
        ++r;
    }
    if (t > b) {
        std::swap(t, b);
        ++t;
        ++b;
    }
    gdi::RopMask mask;
    switch (rop2) {
    case R2_BLACK:
    case R2_WHITE:
    case R2_NOT:
    case R2_NOP:
        mask = gdi::MakeRop(rop2, 0);  // these never look at the brush
        break;
    default:
        if (m_brush.IsNull())
            return;
        mask = gdi::MakeRop(rop2, gdi::ColorBits(m_brush.Color()));
        break;
    }
    NoteDrawn(l, t, r, b);
    gdi::Raster(*this).FillRect(l, t, r, b, mask);
}

void CDC::FillRect(const RECT& rc, const CBrush& brush)
{
    CBrushSelection select(*this, brush);
    // Sizes in 32 bits, wrapping as GDI's do; PatBlt undoes the wrap.
    PatBlt(rc.left, rc.top, static_cast<int>(static_cast<unsigned>(rc.right) - static_cast<unsigned>(rc.left)),
           static_cast<int>(static_cast<unsigned>(rc.bottom) - static_cast<unsigned>(rc.top)), PATCOPY);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color)
{
    const std::uint32_t bits = gdi::ColorBits(color);
    const gdi::Raster raster(*this);
    if (x < 0 || y < 0 || x >= raster.Width() || y >= raster.Height())
        return static_cast<COLORREF>(-1);
    if (!raster.Contains(x, y))
        return PixelToColor(bits);  // clipped away
    NoteDrawn(x, y, x + 1LL, y + 1LL);
    std::uint32_t* p = raster.At(x, y);
    *p = gdi::MakeRop(m_rop2, bits).Apply(*p);
    return PixelToColor(bits);
}

COLORREF CDC::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_surface->width() || y >= m_surface->height())
        return CLR_INVALID;
    const auto* row = reinterpret_cast<const std::uint32_t*>(m_surface->constScanLine(y));
    return PixelToColor(row[x]);
}

// ---- memory DC ----

CMemoryDC::CMemoryDC(int width, int height)
{
    if (width > 0 && height > 0) {
        m_image = QImage(width, height, QImage::Format_RGB32);
        if (!m_image.isNull())
            m_image.fill(0xFF000000u);
    }
    m_dc = std::make_unique<CDC>(m_image);
}
