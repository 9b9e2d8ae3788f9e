// Pixel-level building blocks of the device context, shared by its sources:
// raster-operation masks, span filling on a 32-bit surface, cosmetic (1 pixel)
// line stepping with dash patterns, the elliptic region and outline of GDI,
// and the coverage masks that wide pens are drawn through.
//
// All coordinates that reach this layer may be anything a caller passes: the
// routines clip before they loop, so work is bounded by the visible pixels.
#pragma once

#include "platform/Gdi.h"

#include <QImage>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace gdi {

// A raster operation with its pen (or brush) colour applied: the pixel D
// becomes (D & andBits) ^ xorBits. The alpha byte of the surface stays 0xFF.
struct RopMask {
    std::uint32_t andBits = 0xFF000000u;
    std::uint32_t xorBits = 0;
    bool IsNop() const { return andBits == 0xFFFFFFFFu && xorBits == 0; }
    bool IsCopy() const { return andBits == 0xFF000000u; }
    std::uint32_t Apply(std::uint32_t d) const { return (d & andBits) ^ xorBits; }
};

// The 0x00RRGGBB bits GDI draws for a colour on a 32-bit surface. Besides
// plain RGB values this resolves palette indices (0x01000000 | i) through the
// default palette, as a memory DC without a palette of its own does.
std::uint32_t ColorBits(COLORREF color);

// The mask of binary raster operation `rop2` (R2_BLACK .. R2_WHITE) for a pen
// of `colorBits`. Out-of-range codes act as R2_NOP.
RopMask MakeRop(int rop2, std::uint32_t colorBits);

// Applies `rop` to the n pixels from p on, with wide stores where it can.
void ApplyRop(std::uint32_t* p, std::size_t n, RopMask rop);

// Direct access to the pixels of a Format_RGB32 image. Empty for a null image.
// The clip box is the part of the surface drawing may change: the whole
// surface, or the DC's clip rectangle within it. Width and Height stay the
// surface's, for the decisions that depend on the surface edges alone.
class Raster {
public:
    explicit Raster(QImage& image);
    // The DC's surface, clipped as the DC clips.
    explicit Raster(CDC& dc);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int ClipLeft() const { return m_clipLeft; }
    int ClipTop() const { return m_clipTop; }
    int ClipRight() const { return m_clipRight; }
    int ClipBottom() const { return m_clipBottom; }
    std::uint32_t* Row(int y) const
    {
        return reinterpret_cast<std::uint32_t*>(m_bits + static_cast<qsizetype>(y) * m_stride);
    }
    std::uint32_t* At(int x, int y) const { return Row(y) + x; }
    qsizetype StrideInPixels() const { return m_stride / 4; }
    // Whether (x, y) lies in the clip box.
    bool Contains(long long x, long long y) const
    {
        return x >= m_clipLeft && y >= m_clipTop && x < m_clipRight && y < m_clipBottom;
    }
    // Applies `rop` to the pixels [x0, x1) of row y that lie in the clip box;
    // the caller has clipped to the surface.
    void Span(int y, int x0, int x1, RopMask rop) const;
    // Applies `rop` to [l, r) x [t, b), clipped to the clip box.
    void FillRect(long long l, long long t, long long r, long long b, RopMask rop) const;
    // Cuts [lo, hi) to the clip box's columns or rows.
    void ClipColumns(long long& lo, long long& hi) const
    {
        lo = std::max<long long>(lo, m_clipLeft);
        hi = std::min<long long>(hi, m_clipRight);
    }
    void ClipRows(long long& lo, long long& hi) const
    {
        lo = std::max<long long>(lo, m_clipTop);
        hi = std::min<long long>(hi, m_clipBottom);
    }

private:
    uchar* m_bits = nullptr;
    qsizetype m_stride = 0;
    int m_width = 0;
    int m_height = 0;
    int m_clipLeft = 0, m_clipTop = 0, m_clipRight = 0, m_clipBottom = 0;
};

// A 1-pixel pen as the line routines see it.
struct LinePen {
    enum class Kind { Null, Solid, Dashed, Wide };
    Kind kind = Kind::Solid;
    int width = 1;            // device width, 1 for every cosmetic pen
    RopMask fg;               // the pen colour through the ROP2
    RopMask bg;               // the gaps of a styled pen (OPAQUE mode) through the ROP2
    bool drawGaps = false;    // OPAQUE background mode: gaps are drawn in the bk colour
    const std::uint8_t* marks = nullptr;  // styled pens: 1 = dash, 0 = gap, per position
    int period = 1;           // length of the dash pattern in pixels
};

// The pen `pen` as drawn with the DC state (ROP2, background mode and colour).
LinePen MakeLinePen(const CPen& pen, int rop2, int bkMode, COLORREF bkColor);

// The box of a Rectangle or Ellipse call: corners in order, pulled in by an
// inside-frame pen wider than a pixel so that its outline stays inside. None
// for a box without width or height, which draws nothing.
struct ShapeBox {
    long long left, top, right, bottom;
};
std::optional<ShapeBox> MakeShapeBox(int l, int t, int r, int b, int penStyle, int penWidth);

// One cosmetic line from a to b, end point excluded, stepping exactly as GDI's
// Bresenham does (octant bias and clipping included). `dashPos` is the dash
// pattern position, advanced by the length of the segment.
void DrawCosmeticSegment(const Raster& raster, const LinePen& pen, POINT a, POINT b, int& dashPos);

// A polyline of cosmetic segments; closed polylines join the last point to the first.
void DrawCosmeticPolyline(const Raster& raster, const LinePen& pen, const POINT* pts, std::size_t count,
                          bool close, int& dashPos);

// A set of pixels inside a clip box (the visible part of a shape), built from
// rectangles, elliptic regions and polygons; painted once per pixel.
class CoverageMask {
public:
    CoverageMask(long long l, long long t, long long r, long long b, int surfaceWidth, int surfaceHeight);
    bool Empty() const { return m_width <= 0 || m_height <= 0; }
    long long Top() const { return m_top; }
    long long Bottom() const { return m_top + m_height; }
    void AddRect(long long l, long long t, long long r, long long b);
    void SubtractRect(long long l, long long t, long long r, long long b);
    // Spans of one row, [l, r), set or cleared.
    void AddSpan(long long y, long long l, long long r);
    void AddEllipse(long long l, long long t, long long r, long long b);
    // A polygon, sampled at integer points (left and top edges in).
    struct Vertex {
        long long x, y;
    };
    void AddPolygon(const Vertex* pts, std::size_t count);
    // Every pixel of `other` cleared from this mask.
    void Subtract(const CoverageMask& other);
    void Paint(const Raster& raster, RopMask rop) const;
    bool Test(long long x, long long y) const;

private:
    long long m_left = 0;
    long long m_top = 0;
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_bits;
};

// The outline of a wide pen along a polyline (round caps and joins, as the
// default geometric pen draws), added to `mask`.
void AddWidePolyline(CoverageMask& mask, int width, const POINT* pts, std::size_t count, bool close);

// The rows of GDI's elliptic region for a w x h box: for row i (0 <= i < h)
// the pixels [inset[i], w - inset[i]) are inside. Requires w >= 2 and h >= 2.
// The walk of a very narrow, tall box (h from about 2 (w - 1)^2 on) ends
// before its top and bottom rows; those rows are empty (inset w).
std::vector<int> EllipseRowInsets(int w, int h);

// The first-quadrant outline points of GDI's ellipse of a w x h box, relative
// to the box: from (w - 1, h / 2) down to x = w / 2, y growing.
std::vector<POINT> EllipseQuadrant(int w, int h);

// Ellipses whose width plus height exceed this are drawn from the analytic
// ellipse instead of GDI's incremental one (whose cost grows with the size).
constexpr long long kExactEllipseLimit = 1LL << 18;

}  // namespace gdi
