// Lines of the device context: which pixels a line steps through, its end
// point left out, the dash patterns and their restart, and the background
// colour in the gaps.
#include "GdiTestSupport.h"

#include "platform/Gdi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace gditest;

namespace {

// Lengths of the runs of black and white along row y from x0 to x1 (excl.).
std::vector<int> Runs(const QImage& image, int y, int x0, int x1)
{
    std::vector<int> runs;
    COLORREF last = At(image, x0, y);
    int length = 0;
    for (int x = x0; x < x1; ++x) {
        const COLORREF c = At(image, x, y);
        if (c != last) {
            runs.push_back(length);
            length = 0;
            last = c;
        }
        ++length;
    }
    runs.push_back(length);
    return runs;
}

QImage Line(int w, int h, const CPen& pen, POINT a, POINT b, int bkMode = OPAQUE, int rop = R2_COPYPEN)
{
    QImage image = Surface(w, h);
    CDC dc(image);
    dc.SelectPen(pen);
    dc.SetBkMode(bkMode);
    dc.SetROP2(rop);
    dc.MoveTo(a.x, a.y);
    dc.LineTo(b.x, b.y);
    return image;
}

}  // namespace

TEST(GdiLinesTest, LineToDrawsItsStartAndLeavesOutItsEnd)
{
    const QImage down = Line(110, 110, CPen::Black(), {50, 50}, {20, 80});
    PixelSet expected;
    for (int i = 0; i < 30; ++i)
        expected.insert({50 - i, 50 + i});
    EXPECT_EQ(PixelsNot(down), expected);
    const QImage up = Line(110, 110, CPen::Black(), {20, 80}, {50, 50});
    expected.clear();
    for (int i = 0; i < 30; ++i)
        expected.insert({20 + i, 80 - i});
    EXPECT_EQ(PixelsNot(up), expected);
    EXPECT_EQ(PixelsNot(Line(110, 20, CPen::Black(), {0, 5}, {100, 5})), Box(0, 5, 100, 6));
    EXPECT_EQ(PixelsNot(Line(110, 20, CPen::Black(), {100, 5}, {0, 5})), Box(1, 5, 101, 6));
    EXPECT_TRUE(PixelsNot(Line(10, 10, CPen::Black(), {4, 4}, {4, 4})).empty());
}

TEST(GdiLinesTest, LineToMovesTheCurrentPosition)
{
    QImage image = Surface(20, 20);
    CDC dc(image);
    EXPECT_EQ(dc.MoveTo(3, 4), (POINT{0, 0}));
    dc.LineTo(10, 4);
    EXPECT_EQ(dc.GetCurrentPosition(), (POINT{10, 4}));
    dc.LineTo(10, 12);
    EXPECT_EQ(PixelsNot(image).size(), 7u + 8u);
    EXPECT_EQ(At(image, 10, 4), 0u);   // the corner, drawn by the second line
    EXPECT_EQ(At(image, 10, 12), RGB(255, 255, 255));
}

// Every slope from one centre: the line has one pixel per step of its major
// axis, starts at the start, misses the end, and stays within half a pixel
// of the ideal line, ties broken the way GDI breaks them.
TEST(GdiLinesTest, EverySlopeStepsOnePixelPerMajorStepNextToTheIdealLine)
{
    const POINT c{25, 25};
    for (int dx = -20; dx <= 20; ++dx)
        for (int dy = -20; dy <= 20; ++dy) {
            if (dx == 0 && dy == 0)
                continue;
            const QImage image = Line(51, 51, CPen::Black(), c, {c.x + dx, c.y + dy});
            const PixelSet pixels = PixelsNot(image);
            const int major = std::max(std::abs(dx), std::abs(dy));
            ASSERT_EQ(pixels.size(), static_cast<std::size_t>(major)) << dx << "," << dy;
            EXPECT_TRUE(pixels.count({c.x, c.y}));
            EXPECT_FALSE(pixels.count({c.x + dx, c.y + dy}));
            const bool xMajor = std::abs(dx) > std::abs(dy);
            for (const Pixel& p : pixels) {
                const double t = xMajor ? static_cast<double>(p.first - c.x) / dx : static_cast<double>(p.second - c.y) / dy;
                const double ideal = xMajor ? c.y + t * dy : c.x + t * dx;
                const double actual = xMajor ? p.second : p.first;
                EXPECT_LE(std::abs(actual - ideal), 0.5) << dx << "," << dy;
            }
        }
}

TEST(GdiLinesTest, TiesAreBrokenAsGdiBreaksThemInEachOctant)
{
    // Lines of slope 1/4 pass midway between two pixels at their third step.
    struct Case {
        POINT to;
        std::vector<POINT> pixels;
    };
    // Where the ideal line passes midway between two pixels, lines heading
    // into octants 3, 5, 6 and 8 (numbered clockwise from +x, y down) take
    // the pixel further along their minor axis.
    const std::vector<Case> cases = {
        {{14, 11}, {{10, 10}, {11, 10}, {12, 10}, {13, 11}}},  // octant 1
        {{11, 14}, {{10, 10}, {10, 11}, {10, 12}, {11, 13}}},  // octant 2
        {{9, 14}, {{10, 10}, {10, 11}, {9, 12}, {9, 13}}},     // octant 3
        {{6, 11}, {{10, 10}, {9, 10}, {8, 10}, {7, 11}}},      // octant 4
        {{6, 9}, {{10, 10}, {9, 10}, {8, 9}, {7, 9}}},         // octant 5
        {{9, 6}, {{10, 10}, {10, 9}, {9, 8}, {9, 7}}},         // octant 6
        {{11, 6}, {{10, 10}, {10, 9}, {10, 8}, {11, 7}}},      // octant 7
        {{14, 9}, {{10, 10}, {11, 10}, {12, 9}, {13, 9}}},     // octant 8
    };
    for (const Case& c : cases) {
        PixelSet expected;
        for (const POINT& p : c.pixels)
            expected.insert({p.x, p.y});
        EXPECT_EQ(PixelsNot(Line(20, 20, CPen::Black(), {10, 10}, c.to)), expected) << c.to.x << "," << c.to.y;
    }
}

TEST(GdiLinesTest, DashPatternsHaveTheirCosmeticLengths)
{
    const struct {
        int style;
        std::vector<int> runs;
    } patterns[] = {
        {PS_DASH, {18, 6, 18, 6, 18, 6, 18, 6, 4}},
        {PS_DOT, {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 1}},
        {PS_DASHDOT, {9, 6, 3, 6, 9, 6, 3, 6, 9, 6, 3, 6, 9, 6, 3, 6, 4}},
        {PS_DASHDOTDOT, {9, 3, 3, 3, 3, 3, 9, 3, 3, 3, 3, 3, 9, 3, 3, 3, 3, 3, 9, 3, 3, 3, 3, 3, 4}},
    };
    for (const auto& p : patterns) {
        const QImage h = Line(110, 20, CPen(p.style, 1, 0), {0, 5}, {100, 5}, TRANSPARENT);
        EXPECT_EQ(Runs(h, 5, 0, 100), p.runs) << "style " << p.style;
        EXPECT_EQ(At(h, 100, 5), RGB(255, 255, 255));
        // Vertical lines and sloped lines step through the same pattern.
        const QImage v = Line(20, 110, CPen(p.style, 1, 0), {5, 0}, {5, 100}, TRANSPARENT);
        const QImage s = Line(110, 110, CPen(p.style, 1, 0), {0, 0}, {100, 100}, TRANSPARENT);
        for (int i = 0; i < 100; ++i) {
            EXPECT_EQ(At(v, 5, i), At(h, i, 5)) << "style " << p.style << " at " << i;
            EXPECT_EQ(At(s, i, i), At(h, i, 5)) << "style " << p.style << " at " << i;
        }
    }
}

TEST(GdiLinesTest, ThePatternRestartsAtEveryLineToAndRunsOnRoundARectangle)
{
    QImage image = Surface(110, 20);
    CDC dc(image);
    dc.SelectPen(CPen(PS_DASH, 1, 0));
    dc.MoveTo(0, 5);
    dc.LineTo(10, 5);
    dc.LineTo(100, 5);
    EXPECT_EQ(Runs(image, 5, 0, 100).front(), 28);

    // Round a rectangle the pattern goes on from side to side, starting at the
    // top right corner and heading left, then down, right and up.
    QImage rect = Surface(40, 30);
    CDC rdc(rect);
    rdc.SelectPen(CPen(PS_DOT, 1, 0));
    rdc.SelectBrush(CBrush::Null());
    rdc.Rectangle(0, 0, 30, 20);
    std::vector<Pixel> path;
    for (int x = 29; x > 0; --x)
        path.push_back({x, 0});
    for (int y = 0; y < 19; ++y)
        path.push_back({0, y});
    for (int x = 0; x < 29; ++x)
        path.push_back({x, 19});
    for (int y = 19; y > 0; --y)
        path.push_back({29, y});
    ASSERT_EQ(path.size(), 96u);
    for (std::size_t i = 0; i < path.size(); ++i)
        EXPECT_EQ(At(rect, path[i].first, path[i].second) == 0, i % 6 < 3) << "step " << i;
}

TEST(GdiLinesTest, GapsTakeTheBackgroundColourThroughTheRop2InOpaqueMode)
{
    // A black dashed line in XOR: dashes leave white alone, gaps invert it.
    const QImage opaque = Line(110, 20, CPen(PS_DASH, 1, 0), {0, 5}, {100, 5}, OPAQUE, R2_XORPEN);
    const QImage dashed = Line(110, 20, CPen(PS_DASH, 1, 0), {0, 5}, {100, 5}, TRANSPARENT);
    for (int x = 0; x < 100; ++x)
        EXPECT_EQ(At(opaque, x, 5) == 0, At(dashed, x, 5) != 0) << x;
    EXPECT_TRUE(PixelsNot(Line(110, 20, CPen(PS_DASH, 1, 0), {0, 5}, {100, 5}, TRANSPARENT, R2_XORPEN)).empty());

    QImage coloured = Surface(40, 3);
    CDC dc(coloured);
    dc.SelectPen(CPen(PS_DOT, 1, RGB(255, 0, 0)));
    dc.SetBkColor(RGB(0, 0, 255));
    dc.MoveTo(0, 1);
    dc.LineTo(12, 1);
    EXPECT_EQ(Runs(coloured, 1, 0, 12), (std::vector<int>{3, 3, 3, 3}));
    EXPECT_EQ(At(coloured, 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(At(coloured, 3, 1), RGB(0, 0, 255));
}

TEST(GdiLinesTest, ADashedRubberBandDrawnTwiceInNotXorRestoresTheCanvas)
{
    QImage image = NoiseSurface(60, 40, 9);
    const QImage before = image;
    CDC dc(image);
    dc.SetROP2(R2_NOTXORPEN);
    dc.SelectPen(CPen(PS_DASH, 1, RGB(192, 192, 192)));
    for (int pass = 0; pass < 2; ++pass) {
        dc.Rectangle(50, 35, 3, 2);
        dc.MoveTo(-10, 20);
        dc.LineTo(70, 25);
    }
    EXPECT_EQ(image, before);
}
