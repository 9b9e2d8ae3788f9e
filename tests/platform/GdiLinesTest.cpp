// Lines of the device context: the end point left out, the dash lengths and
// their restart at every call. Slopes, styles through the ROP2 and the
// background colour are checked pixel for pixel by the goldens.
#include "GdiTestSupport.h"

#include "platform/Gdi.h"

#include <gtest/gtest.h>

using namespace gditest;

namespace {

// Lengths of the runs of one colour along row y from x0 to x1 (excluded).
std::vector<int> Runs(const QImage& image, int y, int x0, int x1)
{
    std::vector<int> runs{0};
    for (int x = x0; x < x1; ++x) {
        if (x > x0 && At(image, x, y) != At(image, x - 1, y))
            runs.push_back(0);
        ++runs.back();
    }
    return runs;
}

// Draws a polyline through `points` with `pen`, background mode TRANSPARENT.
QImage Polyline(int w, int h, const CPen& pen, std::initializer_list<POINT> points)
{
    QImage image = Surface(w, h);
    CDC dc(image);
    dc.SelectPen(pen);
    dc.SetBkMode(TRANSPARENT);
    dc.MoveTo(points.begin()->x, points.begin()->y);
    for (auto p = points.begin() + 1; p != points.end(); ++p)
        dc.LineTo(p->x, p->y);
    return image;
}

}  // namespace

TEST(GdiLinesTest, LineToDrawsItsStartAndLeavesOutItsEnd)
{
    EXPECT_EQ(PixelsNot(Polyline(110, 20, CPen::Black(), {{0, 5}, {100, 5}})), Box(0, 5, 100, 6));
    EXPECT_EQ(PixelsNot(Polyline(110, 20, CPen::Black(), {{100, 5}, {0, 5}})), Box(1, 5, 101, 6));
    EXPECT_TRUE(PixelsNot(Polyline(10, 10, CPen::Black(), {{4, 4}, {4, 4}})).empty());
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
        const QImage h = Polyline(110, 20, CPen(p.style, 1, 0), {{0, 5}, {100, 5}});
        EXPECT_EQ(Runs(h, 5, 0, 100), p.runs) << "style " << p.style;
        EXPECT_EQ(At(h, 0, 5), 0u);
    }
}

TEST(GdiLinesTest, ThePatternRestartsAtEveryLineTo)
{
    // 10 pixels of the first dash, then a fresh 18 from the second call.
    const QImage image = Polyline(110, 20, CPen(PS_DASH, 1, 0), {{0, 5}, {10, 5}, {100, 5}});
    EXPECT_EQ(Runs(image, 5, 0, 100), (std::vector<int>{28, 6, 18, 6, 18, 6, 18}));
}
