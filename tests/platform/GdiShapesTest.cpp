// Rectangles, ellipses, fills and raster operations of the device context on
// tiny surfaces: exact pixel sets, inverted and degenerate boxes, clipping at
// every edge, not-XOR drawing that undoes itself.
#include "GdiTestSupport.h"

#include "platform/Gdi.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace gditest;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

// Draws `draw` on a fresh white surface and returns it.
QImage Drawn(int w, int h, const std::function<void(CDC&)>& draw)
{
    QImage image = Surface(w, h);
    CDC dc(image);
    draw(dc);
    return image;
}

}  // namespace

TEST(GdiShapesTest, HandleSquaresVanishWhenDrawnTwiceOverAnyBackground)
{
    const std::vector<POINT> handles = {{10, 10}, {20, 10}, {31, 10}, {31, 15}, {31, 21}, {20, 21}, {10, 21},
                                        {10, 15}, {0, 0},   {39, 29}, {-2, 14}, {41, 3},  {18, -2}, {7, 31}};
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        QImage image = NoiseSurface(40, 30, seed);
        const QImage before = image;
        CDC dc(image);
        dc.SetROP2(R2_NOTXORPEN);
        for (const POINT& p : handles)
            dc.Rectangle(p.x - 3, p.y - 3, p.x + 3, p.y + 3);
        EXPECT_NE(image, before);
        for (const POINT& p : handles)
            dc.Rectangle(p.x - 3, p.y - 3, p.x + 3, p.y + 3);
        EXPECT_EQ(image, before) << "seed " << seed;
    }
}

TEST(GdiShapesTest, AHandleInvertsTheSixBySixRingAndLeavesItsInside)
{
    QImage image = NoiseSurface(20, 20, 7);
    const QImage before = image;
    CDC dc(image);
    dc.SetROP2(R2_NOTXORPEN);
    dc.Rectangle(10 - 3, 10 - 3, 10 + 3, 10 + 3);
    PixelSet changed;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            if (image.pixel(x, y) != before.pixel(x, y)) {
                changed.insert({x, y});
                EXPECT_EQ(image.pixel(x, y) & 0xFFFFFFu, ~before.pixel(x, y) & 0xFFFFFFu) << x << "," << y;
            }
        }
    PixelSet ring = Box(7, 7, 13, 13);
    for (const Pixel& p : Box(8, 8, 12, 12))
        ring.erase(p);
    EXPECT_EQ(changed, ring);
}

TEST(GdiShapesTest, RectangleOutlineExcludesRightAndBottomAndTheBrushFillsInside)
{
    const QImage image = Drawn(12, 12, [](CDC& dc) {
        dc.SelectBrush(CBrush::Solid(kRed));
        dc.Rectangle(0, 0, 10, 10);
    });
    PixelSet outline = Box(0, 0, 10, 10);
    for (const Pixel& p : Box(1, 1, 9, 9))
        outline.erase(p);
    EXPECT_EQ(PixelsOf(image, 0), outline) << Picture(image);
    EXPECT_EQ(PixelsOf(image, kRed), Box(1, 1, 9, 9));  // x 1..8, y 1..8
}

TEST(GdiShapesTest, FillingTheInnerRectangleCoversExactlyTheInsideOfTheOutline)
{
    const QImage image = Drawn(12, 12, [](CDC& dc) {
        dc.Rectangle(0, 0, 10, 10);
        dc.FillRect(RECT{0 + 1, 0 + 1, 10 - 1, 10 - 1}, CBrush::Solid(kRed));
    });
    EXPECT_EQ(PixelsOf(image, kRed), Box(1, 1, 9, 9));
    EXPECT_EQ(PixelsOf(image, 0).size(), 36u);
}

TEST(GdiShapesTest, RectangleOrdersItsCornersAndDegenerateBoxesDrawNothing)
{
    auto rect = [](int l, int t, int r, int b) {
        return Drawn(48, 32, [&](CDC& dc) {
            dc.SelectBrush(CBrush::Solid(kRed));
            dc.Rectangle(l, t, r, b);
        });
    };
    const QImage normal = rect(10, 10, 31, 21);
    EXPECT_EQ(PixelsOf(normal, 0).size(), 60u);
    EXPECT_EQ(PixelsOf(normal, kRed), Box(11, 11, 30, 20));
    EXPECT_EQ(rect(31, 21, 10, 10), normal);
    EXPECT_EQ(rect(31, 10, 10, 21), normal);
    EXPECT_EQ(rect(10, 21, 31, 10), normal);
    EXPECT_TRUE(PixelsNot(rect(10, 10, 10, 20)).empty());
    EXPECT_TRUE(PixelsNot(rect(10, 10, 20, 10)).empty());
    EXPECT_TRUE(PixelsNot(rect(10, 10, 11, 11)).empty());
    EXPECT_EQ(PixelsOf(rect(10, 10, 12, 12), 0), Box(10, 10, 12, 12));
}

TEST(GdiShapesTest, ANullPenLeavesTheBrushOnePixelShortOnTheRightAndBottom)
{
    const QImage image = Drawn(48, 32, [](CDC& dc) {
        dc.SelectPen(CPen::Null());
        dc.SelectBrush(CBrush::Solid(kRed));
        dc.Rectangle(10, 10, 31, 21);
    });
    EXPECT_EQ(PixelsNot(image), Box(10, 10, 30, 20));
}

TEST(GdiShapesTest, FillRectAndPatBltDoNotReorderButShiftANegativeSizeByOne)
{
    const QImage forward = Drawn(48, 32, [](CDC& dc) { dc.FillRect(RECT{10, 10, 31, 21}, CBrush::Solid(kRed)); });
    EXPECT_EQ(PixelsNot(forward), Box(10, 10, 31, 21));
    const QImage inverted = Drawn(48, 32, [](CDC& dc) { dc.FillRect(RECT{31, 21, 10, 10}, CBrush::Solid(kRed)); });
    EXPECT_EQ(PixelsNot(inverted), Box(11, 11, 32, 22));
    const QImage patblt = Drawn(48, 32, [](CDC& dc) {
        dc.SelectBrush(CBrush::Solid(kRed));
        dc.PatBlt(31, 21, -21, -11);
    });
    EXPECT_EQ(PixelsNot(patblt), Box(11, 11, 32, 22));
    const QImage nullBrush = Drawn(8, 8, [](CDC& dc) { dc.FillRect(RECT{0, 0, 8, 8}, CBrush::Null()); });
    EXPECT_TRUE(PixelsNot(nullBrush).empty());
}

TEST(GdiShapesTest, FillsAndBlocksIgnoreTheRop2ButShapesUseIt)
{
    QImage image = Surface(8, 4);
    CDC dc(image);
    dc.SetROP2(R2_NOTXORPEN);
    dc.FillRect(RECT{0, 0, 4, 4}, CBrush::Solid(kRed));
    EXPECT_EQ(At(image, 1, 1), kRed);
    dc.SelectBrush(CBrush::Solid(kRed));
    dc.SelectPen(CPen::Null());
    dc.Rectangle(4, 0, 8, 4);  // red not-XOR white is red
    EXPECT_EQ(At(image, 5, 1), kRed);
    dc.Rectangle(4, 0, 8, 4);  // red not-XOR red is white
    EXPECT_EQ(At(image, 5, 1), kWhite);
}

TEST(GdiShapesTest, EveryBinaryRasterOperationCombinesPenAndPixelAsDocumented)
{
    // The sixteen operations as the Windows documentation defines them.
    const std::vector<std::function<std::uint32_t(std::uint32_t, std::uint32_t)>> ops = {
        [](auto, auto) { return 0u; },                // R2_BLACK
        [](auto p, auto d) { return ~(p | d); },      // R2_NOTMERGEPEN
        [](auto p, auto d) { return ~p & d; },        // R2_MASKNOTPEN
        [](auto p, auto) { return ~p; },              // R2_NOTCOPYPEN
        [](auto p, auto d) { return p & ~d; },        // R2_MASKPENNOT
        [](auto, auto d) { return ~d; },              // R2_NOT
        [](auto p, auto d) { return p ^ d; },         // R2_XORPEN
        [](auto p, auto d) { return ~(p & d); },      // R2_NOTMASKPEN
        [](auto p, auto d) { return p & d; },         // R2_MASKPEN
        [](auto p, auto d) { return ~(p ^ d); },      // R2_NOTXORPEN
        [](auto, auto d) { return d; },               // R2_NOP
        [](auto p, auto d) { return ~p | d; },        // R2_MERGENOTPEN
        [](auto p, auto) { return p; },               // R2_COPYPEN
        [](auto p, auto d) { return p | ~d; },        // R2_MERGEPENNOT
        [](auto p, auto d) { return p | d; },         // R2_MERGEPEN
        [](auto, auto) { return 0xFFFFFFFFu; },       // R2_WHITE
    };
    const std::uint32_t pens[] = {0x000000, 0xFFFFFF, 0x3C5A96, 0xC3A569};
    const std::uint32_t pixels[] = {0x000000, 0xFFFFFF, 0x0F0F0F, 0x12AB34};
    for (int rop = R2_BLACK; rop <= R2_WHITE; ++rop) {
        for (std::uint32_t p : pens) {
            QImage image = Surface(4, 1);
            for (int x = 0; x < 4; ++x)
                image.setPixel(x, 0, 0xFF000000u | pixels[x]);
            CDC dc(image);
            dc.SetROP2(rop);
            dc.SelectPen(CPen(PS_SOLID, 1, PixelToColor(p)));
            dc.MoveTo(0, 0);
            dc.LineTo(4, 0);
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(image.pixel(x, 0), 0xFF000000u | (ops[rop - 1](p, pixels[x]) & 0xFFFFFFu))
                    << "rop " << rop << " pen " << std::hex << p << " pixel " << pixels[x];
        }
    }
    QImage image = Surface(2, 1);
    CDC dc(image);
    EXPECT_EQ(dc.SetROP2(0), 0);
    EXPECT_EQ(dc.SetROP2(17), 0);
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
}

TEST(GdiShapesTest, EllipseOutlineOfTheDocumentedBoxIsSymmetricAndFilledIncludesIt)
{
    const QImage outline = Drawn(120, 60, [](CDC& dc) {
        dc.SelectBrush(CBrush::Null());
        dc.Ellipse(0, 0, 100, 50);
    });
    const PixelSet pen = PixelsOf(outline, 0);
    EXPECT_EQ(pen.size(), 220u);
    for (const Pixel& p : pen) {
        EXPECT_TRUE(pen.count({99 - p.first, p.second})) << p.first << "," << p.second;
        EXPECT_TRUE(pen.count({p.first, 49 - p.second})) << p.first << "," << p.second;
    }
    PixelSet topRow;
    for (const Pixel& p : pen)
        if (p.second == 0)
            topRow.insert(p);
    EXPECT_EQ(topRow, Box(40, 0, 60, 1));
    for (int y = 22; y <= 27; ++y) {
        EXPECT_TRUE(pen.count({0, y}));
        EXPECT_TRUE(pen.count({99, y}));
    }
    const QImage filled = Drawn(120, 60, [](CDC& dc) {
        dc.SelectBrush(CBrush::Solid(kRed));
        dc.Ellipse(0, 0, 100, 50);
    });
    EXPECT_EQ(PixelsOf(filled, 0), pen);
    EXPECT_EQ(PixelsNot(filled).size(), 3924u);
    const QImage nullPen = Drawn(120, 60, [](CDC& dc) {
        dc.SelectPen(CPen::Null());
        dc.SelectBrush(CBrush::Solid(kRed));
        dc.Ellipse(0, 0, 100, 50);
    });
    EXPECT_EQ(PixelsNot(nullPen), PixelsNot(filled));
}

TEST(GdiShapesTest, EllipsesDrawnTwiceInNotXorRestoreEveryPixel)
{
    for (std::uint32_t seed : {1u, 2u}) {
        QImage image = NoiseSurface(70, 50, seed);
        const QImage before = image;
        CDC dc(image);
        dc.SetROP2(R2_NOTXORPEN);
        dc.SelectBrush(CBrush::Solid(RGB(12, 200, 77)));
        const RECT boxes[] = {{5, 5, 60, 40}, {60, 40, 5, 5}, {-10, 20, 30, 70}, {40, -5, 41, 30},
                              {3, 3, 5, 40},  {10, 10, 13, 13}, {0, 0, 70, 50}, {20, 20, 20, 40}};
        for (int pass = 0; pass < 2; ++pass)
            for (int style : {PS_SOLID, PS_DASH, PS_DOT, PS_NULL}) {
                dc.SelectPen(CPen(style, 1, RGB(192, 192, 192)));
                for (const RECT& r : boxes)
                    dc.Ellipse(r);
            }
        EXPECT_EQ(image, before) << "seed " << seed;
    }
}

TEST(GdiShapesTest, EllipseOrdersItsCornersAndABoxUnderThreePixelsIsARectangle)
{
    auto ellipse = [](int l, int t, int r, int b) {
        return Drawn(48, 32, [&](CDC& dc) {
            dc.SelectBrush(CBrush::Solid(kRed));
            dc.Ellipse(l, t, r, b);
        });
    };
    EXPECT_EQ(ellipse(31, 21, 10, 10), ellipse(10, 10, 31, 21));
    const QImage thin = ellipse(4, 4, 6, 30);
    const QImage rect = Drawn(48, 32, [](CDC& dc) {
        dc.SelectBrush(CBrush::Solid(kRed));
        dc.Rectangle(4, 4, 6, 30);
    });
    EXPECT_EQ(thin, rect);
    EXPECT_TRUE(PixelsNot(ellipse(4, 4, 4, 30)).empty());
}

TEST(GdiShapesTest, RowsTheNarrowEllipseNeverReachesStayEmpty)
{
    // In a 3 x 20 box the incremental ellipse ends its walk before the top
    // and bottom rows: neither its outline nor its region covers them.
    const QImage image = Drawn(10, 30, [](CDC& dc) {
        dc.SelectBrush(CBrush::Solid(kRed));
        dc.Ellipse(2, 5, 5, 25);
    });
    const PixelSet all = PixelsNot(image);
    ASSERT_FALSE(all.empty());
    int top = 100, bottom = -1;
    for (const Pixel& p : all) {
        top = std::min(top, p.second);
        bottom = std::max(bottom, p.second);
        EXPECT_GE(p.first, 2);
        EXPECT_LT(p.first, 5);
    }
    EXPECT_GT(top, 5);
    EXPECT_LT(bottom, 24);
    EXPECT_EQ(top - 5, 24 - bottom);  // symmetric
    for (int y = top; y <= bottom; ++y)
        EXPECT_TRUE(all.count({3, y})) << y;
}

// Drawing on a small surface must give exactly the matching window of the
// same drawing on a larger one: every primitive clips at every edge.
TEST(GdiShapesTest, ClippingAtTheEdgesKeepsExactlyTheVisiblePixels)
{
    constexpr int kBig = 90, kOff = 30, kSmall = 30;
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-15, kSmall + 15), rop(0, 2), style(0, 5), pick(0, 4);
    for (int round = 0; round < 60; ++round) {
        std::vector<std::function<void(CDC&, int)>> steps;
        for (int i = 0; i < 12; ++i) {
            const int kind = pick(rng), l = coord(rng), t = coord(rng), r = coord(rng), b = coord(rng);
            const int rop2 = rop(rng) == 0 ? R2_NOTXORPEN : rop(rng) == 1 ? R2_XORPEN : R2_COPYPEN;
            const int penStyle = style(rng);
            const COLORREF color = RGB(l * 7, t * 13, r * 5);
            steps.push_back([=](CDC& dc, int o) {
                dc.SetROP2(rop2);
                dc.SelectPen(CPen(penStyle, 1, color));
                dc.SelectBrush(kind % 2 ? CBrush::Solid(RGB(b * 3, 90, 200)) : CBrush::Null());
                if (kind == 0) {
                    dc.Rectangle(l + o, t + o, r + o, b + o);
                } else if (kind == 1) {
                    dc.Ellipse(l + o, t + o, r + o, b + o);
                } else if (kind == 2) {
                    dc.MoveTo(l + o, t + o);
                    dc.LineTo(r + o, b + o);
                } else if (kind == 3) {
                    dc.FillRect(RECT{l + o, t + o, r + o, b + o}, CBrush::Solid(color));
                } else {
                    dc.PatBlt(l + o, t + o, r - l, b - t);
                }
            });
        }
        QImage big = NoiseSurface(kBig, kBig, static_cast<std::uint32_t>(round));
        QImage small = big.copy(kOff, kOff, kSmall, kSmall);
        CDC bigDc(big), smallDc(small);
        for (const auto& step : steps) {
            step(bigDc, kOff);
            step(smallDc, 0);
        }
        ASSERT_EQ(small, big.copy(kOff, kOff, kSmall, kSmall)) << "round " << round;
    }
}

TEST(GdiShapesTest, ShapesFarOutsideTheSurfaceAreClippedNotWalked)
{
    // Each of these would take billions of steps if drawn before clipping.
    QImage image = Surface(50, 40);
    CDC dc(image);
    dc.SelectBrush(CBrush::Solid(kRed));
    dc.Rectangle(-1000000000, -1000000000, 1000000000, 1000000000);
    EXPECT_EQ(PixelsOf(image, kRed).size(), 50u * 40u);
    dc.PatBlt(-2000000000, 5, 2000000000, 1);
    dc.SelectBrush(CBrush::Solid(RGB(0, 0, 255)));
    dc.PatBlt(2000000000, -2000000000, -2000000000, 2100000000);  // counts back from x: [1, x + 1)
    EXPECT_EQ(PixelsOf(image, RGB(0, 0, 255)), Box(1, 0, 50, 40));
    dc.MoveTo(-2000000000, 7);
    dc.LineTo(2000000000, 7);
    EXPECT_EQ(PixelsOf(image, 0), Box(0, 7, 50, 8));
    dc.SelectBrush(CBrush::Solid(kRed));
    dc.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);  // the whole surface is inside it
    EXPECT_EQ(PixelsOf(image, kRed).size(), 50u * 40u);
    dc.Ellipse(-1000000, 10, 1000000, 30);  // a flat one across the surface
    EXPECT_FALSE(PixelsOf(image, 0).empty());
}

TEST(GdiShapesTest, WidePensDrawSolidWithRoundEnds)
{
    const QImage image = Drawn(110, 20, [](CDC& dc) {
        dc.SelectPen(CPen(PS_DASH, 2, 0));
        dc.MoveTo(0, 5);
        dc.LineTo(100, 5);
    });
    EXPECT_EQ(PixelsNot(image), Box(0, 4, 101, 6));
}

TEST(GdiShapesTest, SetPixelAndGetPixelStayOnTheSurface)
{
    QImage image = Surface(4, 3);
    CDC dc(image);
    EXPECT_EQ(dc.SetPixel(1, 2, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(dc.GetPixel(1, 2), RGB(1, 2, 3));
    EXPECT_EQ(dc.GetPixel(4, 0), CLR_INVALID);
    EXPECT_EQ(dc.GetPixel(0, -1), CLR_INVALID);
    EXPECT_EQ(dc.SetPixel(-1, 0, 0), static_cast<COLORREF>(-1));
    EXPECT_EQ(PixelsNot(image), (PixelSet{{1, 2}}));
    // Palette indices resolve through the default palette: 13 is red.
    dc.SetPixel(0, 0, 0x01000000 | 13);
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(255, 0, 0));
}

TEST(GdiShapesTest, AMemoryDcStartsBlackAndANullSurfaceDrawsNothing)
{
    CMemoryDC memory(3, 2);
    EXPECT_EQ(PixelsOf(memory.Image(), 0).size(), 6u);
    CMemoryDC empty(0, 5);
    empty.DC().Rectangle(0, 0, 10, 10);
    empty.DC().PatBlt(0, 0, 10, 10);
    empty.DC().MoveTo(0, 0);
    empty.DC().LineTo(5, 5);
    EXPECT_EQ(empty.DC().GetPixel(0, 0), CLR_INVALID);
}
