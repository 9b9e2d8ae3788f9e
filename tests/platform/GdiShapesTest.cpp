// Rectangles, ellipses and fills of the device context: the rules the program
// relies on, on tiny surfaces. The committed GDI goldens (GdiGoldenTest)
// check the shapes pixel for pixel; these state the rules readably.
#include "GdiTestSupport.h"

#include "platform/Gdi.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <random>

using namespace gditest;

namespace {

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
    const POINT handles[] = {{10, 10}, {20, 10}, {31, 10}, {31, 15}, {31, 21}, {20, 21}, {10, 21},
                             {10, 15}, {0, 0},   {39, 29}, {-2, 14}, {41, 3},  {18, -2}, {7, 31}};
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        QImage image = NoiseSurface(40, 30, seed);
        const QImage before = image;
        CDC dc(image);
        dc.SetROP2(R2_NOTXORPEN);
        for (int pass = 0; pass < 2; ++pass) {
            for (const POINT& p : handles)
                dc.Rectangle(p.x - 3, p.y - 3, p.x + 3, p.y + 3);
            EXPECT_EQ(image == before, pass == 1) << "seed " << seed;
        }
    }
}

TEST(GdiShapesTest, ATenByTenRectangleOutlinesItsEdgeAndFillsXAndYOneToEight)
{
    const QImage image = Drawn(12, 12, [](CDC& dc) {
        dc.SelectBrush(CBrush::Solid(kRed));
        dc.Rectangle(0, 0, 10, 10);
    });
    PixelSet outline = Box(0, 0, 10, 10);
    for (const Pixel& p : Box(1, 1, 9, 9))
        outline.erase(p);
    EXPECT_EQ(PixelsOf(image, 0), outline);
    EXPECT_EQ(PixelsOf(image, kRed), Box(1, 1, 9, 9));
}

TEST(GdiShapesTest, ShapesOrderInvertedCornersButFillsShiftThemByOneAndIgnoreTheRop2)
{
    for (const bool ellipse : {false, true}) {
        auto shape = [&](int l, int t, int r, int b) {
            return Drawn(48, 32, [&](CDC& dc) {
                dc.SelectBrush(CBrush::Solid(kRed));
                ellipse ? dc.Ellipse(l, t, r, b) : dc.Rectangle(l, t, r, b);
            });
        };
        const QImage normal = shape(10, 10, 31, 21);
        EXPECT_EQ(PixelsNot(normal).size(), ellipse ? 183u : 21u * 11u);
        EXPECT_EQ(shape(31, 21, 10, 10), normal);
        EXPECT_EQ(shape(31, 10, 10, 21), normal);
        EXPECT_EQ(shape(10, 21, 31, 10), normal);
        EXPECT_TRUE(PixelsNot(shape(10, 10, 10, 20)).empty());
    }
    const QImage fills = Drawn(48, 32, [](CDC& dc) {
        dc.SetROP2(R2_NOTXORPEN);
        dc.SelectBrush(CBrush::Solid(kRed));
        for (int twice = 0; twice < 2; ++twice) {  // red not-XOR red would be white
            dc.FillRect(RECT{31, 21, 10, 10}, CBrush::Solid(kRed));
            dc.PatBlt(0, 0, 2, 3);
        }
    });
    PixelSet red = Box(11, 11, 32, 22);
    red.merge(Box(0, 0, 2, 3));
    EXPECT_EQ(PixelsNot(fills), red);
    EXPECT_EQ(PixelsOf(fills, kRed), red);
}

// GDI leaves the rows its ellipse walk never reaches in a narrow, tall box
// unset (whatever memory held); we leave them empty.
TEST(GdiShapesTest, RowsTheNarrowEllipseNeverReachesStayEmpty)
{
    const QImage image = Drawn(10, 30, [](CDC& dc) {
        dc.SelectPen(CPen::Null());
        dc.SelectBrush(CBrush::Solid(kRed));
        dc.Ellipse(2, 5, 5, 25);
    });
    PixelSet expected = Box(2, 8, 5, 22);
    expected.insert({{3, 7}, {3, 22}});
    EXPECT_EQ(PixelsOf(image, kRed), expected);
}

// Drawing on a small surface gives exactly the matching window of the same
// drawing on a larger one: every primitive clips at all four edges.
TEST(GdiShapesTest, ClippingAtTheEdgesKeepsExactlyTheVisiblePixels)
{
    std::mt19937 rng(11);
    auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (std::uint32_t round = 0; round < 60; ++round) {
        QImage big = NoiseSurface(90, 90, round), small = big.copy(30, 30, 30, 30);
        CDC bigDc(big), smallDc(small);
        for (int i = 0; i < 12; ++i) {
            const int kind = any(0, 4), style = any(0, 6), width = any(0, 2) ? 1 : 3;
            const int rop2 = std::array{R2_NOTXORPEN, R2_XORPEN, R2_COPYPEN}[static_cast<std::size_t>(any(0, 2))];
            const int l = any(-15, 45), t = any(-15, 45), r = any(-15, 45), b = any(-15, 45);
            for (auto [dc, o] : {std::pair{&bigDc, 30}, std::pair{&smallDc, 0}}) {
                dc->SetROP2(rop2);
                dc->SelectPen(CPen(style, width, RGB(l * 7, t * 13, r * 5)));
                dc->SelectBrush(kind % 2 ? CBrush::Solid(RGB(b * 3, 90, 200)) : CBrush::Null());
                if (kind == 0)
                    dc->Rectangle(l + o, t + o, r + o, b + o);
                else if (kind == 1)
                    dc->Ellipse(l + o, t + o, r + o, b + o);
                else if (kind == 2)
                    dc->FillRect(RECT{l + o, t + o, r + o, b + o}, CBrush::Solid(RGB(l, t, r)));
                else if (kind == 3)
                    dc->PatBlt(l + o, t + o, r - l, b - t);
                else {
                    dc->MoveTo(l + o, t + o);
                    dc->LineTo(r + o, b + o);
                }
            }
        }
        ASSERT_EQ(small, big.copy(30, 30, 30, 30)) << "round " << round;
    }
}

// Boxes beyond GDI's range are drawn from the analytic ellipse, which no
// golden covers: clipped to the surface, flat ones keep their outline rows.
TEST(GdiShapesTest, HugeEllipsesAreClippedToTheSurface)
{
    QImage image = Surface(50, 40);
    CDC dc(image);
    dc.SelectBrush(CBrush::Solid(kRed));
    dc.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
    EXPECT_EQ(PixelsOf(image, kRed).size(), 50u * 40u);
    dc.Ellipse(-1000000, 10, 1000000, 30);
    PixelSet outline = Box(0, 10, 50, 11);
    outline.merge(Box(0, 29, 50, 30));
    EXPECT_EQ(PixelsOf(image, 0), outline);
}

TEST(GdiShapesTest, PixelsOffTheSurfaceAndEmptySurfacesAreSafe)
{
    QImage image = Surface(4, 3);
    CDC dc(image);
    EXPECT_EQ(dc.SetPixel(1, 2, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(dc.GetPixel(1, 2), RGB(1, 2, 3));
    EXPECT_EQ(dc.GetPixel(4, 0), CLR_INVALID);
    EXPECT_EQ(dc.SetPixel(-1, 0, 0), static_cast<COLORREF>(-1));
    EXPECT_EQ(PixelsNot(image), (PixelSet{{1, 2}}));
    dc.SetPixel(0, 0, 0x01000000 | 13);  // palette index 13 of the default palette is red
    EXPECT_EQ(dc.GetPixel(0, 0), kRed);

    CMemoryDC memory(3, 2);
    EXPECT_EQ(PixelsOf(memory.Image(), 0).size(), 6u);  // a memory DC starts black
    CMemoryDC empty(0, 5);
    empty.DC().Rectangle(0, 0, 10, 10);
    empty.DC().Ellipse(0, 0, 10, 10);
    empty.DC().PatBlt(0, 0, 10, 10);
    empty.DC().LineTo(5, 5);
    EXPECT_EQ(empty.DC().GetPixel(0, 0), CLR_INVALID);
}

TEST(GdiShapesTest, TheEllipseInteriorBoxLiesWhollyInWhatTheEllipsePaints)
{
    int boxes = 0;
    for (int w = 1; w <= 90; w += 1)
        for (int h = 1; h <= 70; h += 3) {
            const RECT rc{5, 4, 5 + w, 4 + h};
            const RECT inner = EllipseInteriorBox(rc);
            if (inner.left >= inner.right || inner.top >= inner.bottom)
                continue;
            ++boxes;
            QImage image = Surface(100, 80, RGB(0, 0, 0));
            CDC dc(image);
            dc.SelectPen(CPen(PS_SOLID, 1, RGB(255, 0, 0)));
            dc.SelectBrush(CBrush::Solid(RGB(0, 255, 0)));
            dc.Ellipse(rc);
            for (int y = inner.top; y < inner.bottom; ++y)
                for (int x = inner.left; x < inner.right; ++x)
                    ASSERT_NE(At(image, x, y), RGB(0, 0, 0)) << w << "x" << h << " at " << x << "," << y;
            // About half the box: big enough to hide what lies under it.
            EXPECT_GE(4LL * (inner.right - inner.left) * (inner.bottom - inner.top), 1LL * w * h) << w << "x" << h;
        }
    EXPECT_GT(boxes, 1500);
    // Corners in any order give the same box; tiny and huge ellipses give none.
    EXPECT_EQ(EllipseInteriorBox(RECT{60, 50, 10, 5}), EllipseInteriorBox(RECT{10, 5, 60, 50}));
    EXPECT_EQ(EllipseInteriorBox(RECT{0, 0, 7, 40}), RECT{});
    EXPECT_EQ(EllipseInteriorBox(RECT{0, 0, 300000, 40}), RECT{});
}
