// The full redraw: the background at (10, 10), figures in list order with
// their exact pixels, picture rectangles, and the tile procedure's positions;
// and the selection handles drawn over it in not-XOR.
#include "editing/EditingFixture.h"
#include "platform/Picture.h"

#include <QFile>

#include <cmath>
#include <limits>

namespace {

using HandlesTest = EditingTest;

class RendererTest : public EditingTest {
protected:
    RendererTest() { CPicture::ClearCache(); }

    // Every canvas pixel of colour c.
    Pixels PixelsOf(COLORREF c) const
    {
        Pixels s;
        for (int y = 0; y < frame.m_cyCanvas; ++y)
            for (int x = 0; x < frame.m_cxCanvas; ++x)
                if (Pixel(x, y) == c)
                    s.emplace(x, y);
        return s;
    }
};

TEST_F(RendererTest, AnInvertedRectangleOrEllipseDrawsExactlyAsItsOrderedTwin)
{
    for (FigureKind code : {FK_RECTANGLE, FK_ELLIPSE}) {
        g_pFigures->RemoveAll();
        Add(code, RECT{40, 30, 140, 90}, kBlue, kRed);
        frame.RefreshCanvas(false);
        const QImage ordered = Canvas();
        ASSERT_FALSE(PixelsOf(kRed).empty());
        for (RECT inverted : {RECT{140, 90, 40, 30}, RECT{40, 90, 140, 30}, RECT{140, 30, 40, 90}}) {
            g_pFigures->RemoveAll();
            Add(code, inverted, kBlue, kRed);
            frame.RefreshCanvas(false);
            EXPECT_TRUE(frame.m_bmpCanvas == ordered) << code << ": " << inverted.left << "," << inverted.top;
        }
    }
}

TEST_F(RendererTest, APictureRectangleShowsTheWholePictureScaledWithoutOutline)
{
    // 2 x 2, red at the top left, scaled onto a 40 x 20 rectangle.
    AddPicture(FK_RECTANGLE, RECT{100, 50, 140, 70}, Picture(QStringLiteral("quad.png"), 2, 2), 0, 0, kBlack);
    frame.RefreshCanvas(false);
    const Pixels red = PixelsOf(kRed);
    EXPECT_EQ(red.size(), 200u);
    EXPECT_TRUE(red.count({100, 50}) && red.count({119, 59}));
    EXPECT_EQ(PixelsOf(kBlue).size(), 600u) << "the rest of the rectangle, without outline";
    EXPECT_EQ(frame.m_fPictureWidth, 2.0f);
}

TEST_F(RendererTest, TextFiguresUnreadablePicturesAndTileSizesNotBothPositiveDrawNothing)
{
    frame.m_fPictureWidth = 7;
    frame.m_pCanvasDC->SetPixel(5, 5, kRed);  // the refresh clears it
    g_pFigures->Add(CShapeFigure::Text(RECT{10, 10, 200, 100}, QStringLiteral("text"), 1, RECT{1, 1, 20, 20}, kRed, kRed));
    const QString junk = dir.filePath(QStringLiteral("junk.png")), tile = Picture(QStringLiteral("t.png"), 20, 10);
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("not a picture") > 0);
    f.close();
    AddPicture(FK_RECTANGLE, RECT{0, 0, 100, 100}, junk, 0, 0, kBlack);
    AddBorder(RECT{0, 0, 100, 100}, 20, 20, dir.filePath(QStringLiteral("missing.bmp")), kBlack);
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    for (const auto& [tw, th] : {std::pair{0.0, 10.0}, {-5.0, -5.0}, {nan, 10.0}, {10.0, inf}, {20.0, -1.0}})
        AddBorder(RECT{0, 0, 100, 50}, tw, th, tile, kBlack);
    AddPicture(FK_RECTANGLE, RECT{0, 0, 100, 50}, tile, 20.0, 0.0, kBlack);
    Add(FK_LINE, RECT{0, 200, 10, 200}, kBlue);
    frame.RefreshCanvas(false);
    EXPECT_TRUE(PixelsOf(kRed).empty());
    EXPECT_TRUE(PixelsOf(kBlack).empty()) << "no outline either";
    EXPECT_EQ(Pixel(5, 200), kBlue);
    EXPECT_EQ(frame.m_fPictureWidth, 7.0f) << "no size was read";
}

TEST_F(RendererTest, TilesRunDownBothColumnsThenAlongBothRowsTruncatedAtEachCopy)
{
    AddPicture(FK_RECTANGLE, RECT{0, 0, 100, 50}, Picture(QStringLiteral("t.png"), 20, 10), 20.0, 10.0, kBlack);
    // 10.05-pixel rows: corners at 300, 310.05, ... each copy truncated; the
    // fifth tile ends 0.25 past the edge and still counts.
    AddBorder(RECT{200, 300, 230, 350}, 10.0, 10.05, Picture(QStringLiteral("u.png"), 10, 10), kBlack);
    frame.RefreshCanvas(false);
    // Each tile is the whole picture: its top-left pixel marks the tile's corner.
    Pixels corners{{210, 300}, {210, 339}};  // the bottom row at 350 - 10.05
    for (int y : {0, 10, 20, 30, 40})
        corners.insert({{0, y}, {80, y}, {200, 300 + y}, {220, 300 + y}});
    for (int x : {20, 40, 60})
        corners.insert({{x, 0}, {x, 40}});
    EXPECT_EQ(PixelsOf(kRed), corners);
    EXPECT_EQ(Pixel(50, 25), kWhite) << "no outline, no fill: only tiles";
}

TEST_F(RendererTest, TheBackgroundLandsAtTenTenUnderTheFigures)
{
    frame.m_strBackground = Picture(QStringLiteral("bg.png"), 30, 20);
    frame.m_bBackground = 1;
    Add(FK_RECTANGLE, RECT{30, 20, 60, 50}, kBlack, kWhite);
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(10, 10), kRed);
    EXPECT_EQ(Pixel(29, 19), kBlue);
    EXPECT_EQ(Pixel(35, 25), kWhite) << "the figure covers the background";
    EXPECT_EQ(Pixel(40, 10), kWhite) << "the background ends at its own width";

    frame.m_bBackground = 0;
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(10, 10), kWhite);
}

TEST_F(HandlesTest, BoxHandlesSitAtCornersAndMiddlesWithTruncatedCentresAndBordersGetNone)
{
    const QImage before = Canvas();
    const RECT rc{10, 10, 31, 21};
    for (FigureKind kind : {FK_BORDER, FK_NONE}) {
        frame.m_nSelKind = kind;
        frame.DrawHandles(nullptr, &rc);
        EXPECT_TRUE(Diff(before, frame.m_bmpCanvas).empty()) << kind << " has no handles";
    }
    frame.m_nSelKind = FK_RECTANGLE;
    frame.DrawHandles(nullptr, &rc);
    // (31, 10) and (31, 15) overlap on one row, which is inverted twice.
    EXPECT_EQ(Diff(before, frame.m_bmpCanvas),
              Rings({{10, 10}, {20, 10}, {31, 10}, {31, 15}, {31, 21}, {20, 21}, {10, 21}, {10, 15}}));
    EXPECT_EQ(Pixel(7, 7), kBlack);
    EXPECT_EQ(frame.m_pCanvasDC->GetROP2(), R2_NOTXORPEN) << "the mode stays not-XOR";

    for (FigureKind kind : {FK_ELLIPSE, FK_TEXT}) {
        frame.m_nSelKind = kind;
        frame.DrawHandles(nullptr, &rc);
        EXPECT_TRUE(Diff(before, frame.m_bmpCanvas).empty()) << kind << ": drawn twice, gone";
        frame.DrawHandles(nullptr, &rc);
    }
}

}  // namespace
