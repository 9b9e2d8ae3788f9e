// The full redraw: the background at (10, 10), figures in list order with
// their exact pixels, picture rectangles, and the tile procedure's positions.
#include "editing/EditingFixture.h"
#include "platform/Picture.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cmath>
#include <limits>
#include <set>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class RendererTest : public EditingTest {
protected:
    RendererTest() { CPicture::ClearCache(); }

    // A picture file of w x h in `fill` with its top-left pixel red.
    QString Picture(const QString& name, int w, int h, COLORREF fill = kBlue)
    {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(ColorToPixel(fill));
        img.setPixel(0, 0, ColorToPixel(kRed));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(img.save(path));
        return path;
    }
    // Every canvas pixel of colour c.
    std::set<std::pair<int, int>> PixelsOf(COLORREF c) const
    {
        std::set<std::pair<int, int>> s;
        for (int y = 0; y < frame.m_cyCanvas; ++y)
            for (int x = 0; x < frame.m_cxCanvas; ++x)
                if (Pixel(x, y) == c)
                    s.emplace(x, y);
        return s;
    }

    QTemporaryDir dir;
};

TEST_F(RendererTest, AnEmptySceneRefreshesToPlainWhiteAndTextFiguresAreNeverDrawn)
{
    frame.m_pCanvasDC->SetPixel(5, 5, kRed);
    g_pFigures->Add(std::make_unique<CShapeFigure>(RECT{10, 10, 200, 100}, CC_TEXT, QStringLiteral("text"), 1,
                                                   kRed, 0.0, 0.0, QString(), RECT{1, 1, 20, 20}, kBlue));
    frame.RefreshCanvas(false);
    EXPECT_TRUE(PixelsOf(kWhite).size() == static_cast<std::size_t>(frame.m_cxCanvas * frame.m_cyCanvas));
}

TEST_F(RendererTest, AnInvertedRectangleOrEllipseDrawsExactlyAsItsOrderedTwin)
{
    // Dragged up and to the left, or resized past the opposite edge: the
    // stored corners are inverted, the picture is the same.
    for (int code : {CC_RECTANGLE, CC_ELLIPSE}) {
        g_pFigures->RemoveAll();
        Add(code, RECT{40, 30, 140, 90}, kBlue, kRed);
        frame.RefreshCanvas(false);
        const QImage ordered = frame.m_bmpCanvas.copy();
        ASSERT_FALSE(PixelsOf(kRed).empty());
        for (RECT inverted : {RECT{140, 90, 40, 30}, RECT{40, 90, 140, 30}, RECT{140, 30, 40, 90}}) {
            g_pFigures->RemoveAll();
            Add(code, inverted, kBlue, kRed);
            frame.RefreshCanvas(false);
            EXPECT_TRUE(frame.m_bmpCanvas == ordered) << "code " << code << " rect " << inverted.left << ","
                                                      << inverted.top << "," << inverted.right << ","
                                                      << inverted.bottom;
        }
    }
}

TEST_F(RendererTest, APlainRectangleIsOutlinedInItsLineColourAndFilledInside)
{
    const COLORREF line = RGB(10, 200, 30), fill = RGB(250, 240, 0);
    Add(CC_RECTANGLE, RECT{20, 30, 60, 50}, line, fill);
    frame.RefreshCanvas(false);
    // Outline: columns 20..59, rows 30..49; fill strictly inside it.
    EXPECT_EQ(Pixel(20, 30), line);
    EXPECT_EQ(Pixel(59, 49), line);
    EXPECT_EQ(Pixel(40, 30), line);
    EXPECT_EQ(Pixel(59, 40), line);
    EXPECT_EQ(Pixel(21, 31), fill);
    EXPECT_EQ(Pixel(58, 48), fill);
    EXPECT_EQ(Pixel(60, 50), kWhite);
    EXPECT_EQ(Pixel(19, 29), kWhite);
    EXPECT_EQ(PixelsOf(fill).size(), 38u * 18u);
}

TEST_F(RendererTest, LaterFiguresCoverEarlierOnesFillIncluded)
{
    Add(CC_RECTANGLE, RECT{0, 0, 50, 50}, kBlack, kRed);
    Add(CC_RECTANGLE, RECT{25, 25, 75, 75}, kBlack, kBlue);
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(30, 30), kBlue);
    EXPECT_EQ(Pixel(10, 10), kRed);
    std::swap(*g_pFigures->GetAt(0), *g_pFigures->GetAt(1));
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(30, 30), kRed);
}

TEST_F(RendererTest, LinesStopBeforeTheirEndAndEllipsesLeaveAWhiteRingRightAndBelow)
{
    Add(CC_LINE, RECT{10, 10, 20, 10}, kRed);
    Add(CC_ELLIPSE, RECT{100, 100, 140, 120}, kBlack, kBlue);
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(10, 10), kRed);
    EXPECT_EQ(Pixel(19, 10), kRed);
    EXPECT_EQ(Pixel(20, 10), kWhite);
    // The fill is the ellipse at (101, 101), 37 wide and 17 high.
    EXPECT_EQ(Pixel(120, 110), kBlue);
    EXPECT_EQ(Pixel(101, 110), kBlue);
    EXPECT_EQ(Pixel(137, 110), kBlue);
    EXPECT_EQ(Pixel(138, 110), kWhite) << "the ring between fill and outline on the right";
    EXPECT_EQ(Pixel(139, 110), kBlack) << "the outline's right edge";
    EXPECT_EQ(Pixel(120, 118), kWhite) << "the ring below";
    EXPECT_EQ(Pixel(100, 110), kBlack);
}

TEST_F(RendererTest, APictureRectangleShowsTheWholePictureScaledWithoutOutline)
{
    // 2 x 2: red, green / blue, yellow; scaled onto a 40 x 20 rectangle.
    QImage img(2, 2, QImage::Format_RGB32);
    img.setPixel(0, 0, ColorToPixel(kRed));
    img.setPixel(1, 0, ColorToPixel(RGB(0, 255, 0)));
    img.setPixel(0, 1, ColorToPixel(kBlue));
    img.setPixel(1, 1, ColorToPixel(RGB(255, 255, 0)));
    const QString path = dir.filePath(QStringLiteral("quad.png"));
    ASSERT_TRUE(img.save(path));
    Add(CC_RECTANGLE, RECT{100, 50, 140, 70}, kBlack, kBlack, 0, 0, path);
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(100, 50), kRed);
    EXPECT_EQ(Pixel(119, 59), kRed);
    EXPECT_EQ(Pixel(120, 50), RGB(0, 255, 0));
    EXPECT_EQ(Pixel(100, 60), kBlue);
    EXPECT_EQ(Pixel(139, 69), RGB(255, 255, 0));
    EXPECT_EQ(Pixel(140, 70), kWhite);
    EXPECT_EQ(Pixel(99, 49), kWhite);
    EXPECT_EQ(frame.m_fPictureWidth, 2.0f);
    EXPECT_EQ(frame.m_fPictureHeight, 2.0f);
}

TEST_F(RendererTest, AnUnreadablePictureDrawsNothingForItsFigureAndTheRedrawGoesOn)
{
    frame.m_fPictureWidth = 7;
    const QString junk = dir.filePath(QStringLiteral("junk.png"));
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
    }
    Add(CC_RECTANGLE, RECT{0, 0, 100, 100}, kRed, kRed, 0, 0, junk);
    Add(CC_RECTANGLE, RECT{0, 0, 100, 100}, kRed, kRed, 20, 20, dir.filePath(QStringLiteral("missing.bmp")));
    Add(CC_BORDER, RECT{0, 0, 100, 100}, kRed, kRed, 20, 20, dir.filePath(QStringLiteral("missing.bmp")));
    Add(CC_LINE, RECT{0, 200, 10, 200}, kBlue);
    frame.RefreshCanvas(false);
    EXPECT_TRUE(PixelsOf(kRed).empty());
    EXPECT_EQ(Pixel(5, 200), kBlue);
    EXPECT_EQ(frame.m_fPictureWidth, 7.0f) << "no size was read";
}

TEST_F(RendererTest, TilesRunDownBothColumnsThenAlongBothRowsBetweenThem)
{
    const QString tile = Picture(QStringLiteral("tile.png"), 20, 10);
    Add(CC_RECTANGLE, RECT{0, 0, 100, 50}, kBlack, kBlack, 20.0, 10.0, tile);
    frame.RefreshCanvas(false);
    // Each tile is the whole picture: its top-left pixel marks the tile's corner.
    std::set<std::pair<int, int>> corners;
    for (int y : {0, 10, 20, 30, 40}) {
        corners.emplace(0, y);
        corners.emplace(80, y);
    }
    for (int x : {20, 40, 60}) {
        corners.emplace(x, 0);
        corners.emplace(x, 40);
    }
    EXPECT_EQ(PixelsOf(kRed), corners);
    EXPECT_EQ(Pixel(50, 25), kWhite) << "no outline, no fill: only tiles";
    EXPECT_EQ(Pixel(39, 9), kBlue);
    EXPECT_EQ(frame.m_fPictureWidth, 20.0f);
}

TEST_F(RendererTest, TileCornersAreDoublesTruncatedAtEachCopyWithTheAllowance)
{
    // 12.5-pixel tiles: corners at 0, 12.5, 25, ... each copy truncated.
    const QString tile = Picture(QStringLiteral("t12.png"), 12, 12);
    Add(CC_BORDER, RECT{0, 0, 100, 25}, kBlack, kWhite, 12.5, 12.5, tile);
    // 10.05-pixel rows: the fifth tile ends 0.25 past the edge and still counts.
    const QString tile2 = Picture(QStringLiteral("t10.png"), 10, 10);
    Add(CC_BORDER, RECT{200, 300, 230, 350}, kBlack, kWhite, 10.0, 10.05, tile2);
    frame.RefreshCanvas(false);
    std::set<std::pair<int, int>> corners;
    for (int y : {0, 12}) {
        corners.emplace(0, y);
        corners.emplace(87, y);
    }
    for (int x : {12, 25, 37, 50, 62, 75}) {
        corners.emplace(x, 0);
        corners.emplace(x, 12);
    }
    for (int y : {300, 310, 320, 330, 340}) {
        corners.emplace(200, y);
        corners.emplace(220, y);
    }
    corners.emplace(210, 300);
    corners.emplace(210, 339);  // bottom row at 350 - 10.05, truncated
    EXPECT_EQ(PixelsOf(kRed), corners);
}

TEST_F(RendererTest, TileSizesThatAreNotBothPositiveDrawNothing)
{
    const QString tile = Picture(QStringLiteral("tile.png"), 20, 10);
    Add(CC_BORDER, RECT{0, 0, 100, 50}, kBlack, kWhite, 0.0, 10.0, tile);
    Add(CC_BORDER, RECT{0, 0, 100, 50}, kBlack, kWhite, -5.0, -5.0, tile);
    Add(CC_BORDER, RECT{0, 0, 100, 50}, kBlack, kWhite, std::nan(""), 10.0, tile);
    Add(CC_BORDER, RECT{0, 0, 100, 50}, kBlack, kWhite, 10.0, std::numeric_limits<double>::infinity(), tile);
    Add(CC_RECTANGLE, RECT{0, 0, 100, 50}, kBlack, kWhite, 20.0, 0.0, tile);
    Add(CC_RECTANGLE, RECT{0, 0, 100, 50}, kBlack, kWhite, 20.0, -1.0, tile);
    frame.RefreshCanvas(false);
    EXPECT_TRUE(PixelsOf(kRed).empty());
    EXPECT_TRUE(PixelsOf(kBlack).empty()) << "no outline either";
}

TEST_F(RendererTest, TheBackgroundLandsAtTenTenUnderTheFigures)
{
    frame.m_strBackground = Picture(QStringLiteral("bg.png"), 30, 20);
    frame.m_bBackground = 1;
    Add(CC_RECTANGLE, RECT{30, 20, 60, 50}, kBlack, kWhite);
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(10, 10), kRed);
    EXPECT_EQ(Pixel(9, 9), kWhite);
    EXPECT_EQ(Pixel(11, 11), kBlue);
    EXPECT_EQ(Pixel(29, 19), kBlue);
    EXPECT_EQ(Pixel(35, 25), kWhite) << "the figure covers the background";
    EXPECT_EQ(Pixel(30, 25), kBlack);
    EXPECT_EQ(Pixel(40, 10), kWhite) << "the background ends at its own width";

    frame.m_bBackground = 0;
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(10, 10), kWhite);
}

}  // namespace
