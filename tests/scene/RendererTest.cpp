// The redraw: plain figures with their exact pixels in any corner order,
// picture rectangles and tiles as the averaged stretch of their whole
// picture, the tile procedure's positions, the background at (10, 10), what
// draws nothing, and the selection handles drawn over it all in not-XOR; and
// the figure list, whose order is the stacking order.
#include "editing/EditingFixture.h"
#include "platform/GdiTestSupport.h"
#include "platform/Picture.h"

#include <QFile>

#include <cmath>
#include <limits>
#include <map>

namespace {

class RendererTest : public EditingTest {
protected:
    RendererTest() { CPicture::ClearCache(); }

    Pixels PixelsOf(COLORREF c) const { return gditest::PixelsOf(frame.m_bmpCanvas, c); }
    // The canvas pixels of every colour but white, in one pass.
    std::map<COLORREF, Pixels> Drawn() const
    {
        std::map<COLORREF, Pixels> drawn;
        for (int y = 0; y < frame.m_cyCanvas; ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(frame.m_bmpCanvas.constScanLine(y));
            for (int x = 0; x < frame.m_cxCanvas; ++x)
                if (PixelToColor(row[x]) != kWhite)
                    drawn[PixelToColor(row[x])].emplace(x, y);
        }
        return drawn;
    }
};

TEST_F(RendererTest, PlainFiguresAreTheirOutlineAndTheirOwnFillInAnyCornerOrder)
{
    // Rectangles down to 3 x 3 (one inside pixel) and 3 x 2 (none); ellipses
    // of even sizes, whose fill has a middle row and column.
    const std::pair<FigureKind, RECT> boxes[] = {
        {FK_RECTANGLE, {40, 30, 140, 90}}, {FK_RECTANGLE, {10, 10, 13, 13}}, {FK_RECTANGLE, {200, 5, 203, 7}},
        {FK_ELLIPSE, {20, 10, 40, 24}},    {FK_ELLIPSE, {40, 30, 140, 90}},  {FK_ELLIPSE, {300, 200, 308, 206}}};
    for (const auto& [kind, n] : boxes) {
        // The outline is the device context's shape in the box. A rectangle
        // fills exactly its inside; an ellipse fills the ellipse of (l + 1,
        // t + 1, w - 3, h - 3) over its outline, leaving white between them
        // on the right and below.
        const Pixels fill = kind == FK_RECTANGLE ? gditest::Box(n.left + 1, n.top + 1, n.right - 1, n.bottom - 1)
                                                 : gditest::EllipseCentres(n.left + 1, n.top + 1, n.right - n.left - 3,
                                                                           n.bottom - n.top - 3, n.right, n.bottom);
        Pixels outline = gditest::PixelsOf(gditest::Drawn(n.right, n.bottom, [&](CDC& dc) {
            dc.SelectBrush(CBrush::Null());
            kind == FK_RECTANGLE ? dc.Rectangle(n) : dc.Ellipse(n);
        }), kBlack);
        std::erase_if(outline, [&](const auto& p) { return fill.count(p) > 0; });
        std::map<COLORREF, Pixels> want{{kBlue, outline}};
        if (!fill.empty())
            want[kRed] = fill;
        for (const RECT rc : {n, {n.right, n.bottom, n.left, n.top}, {n.left, n.bottom, n.right, n.top},
                              {n.right, n.top, n.left, n.bottom}}) {
            g_pFigures->RemoveAll();
            Add(kind, rc, kBlue, kRed);
            frame.RefreshCanvas(false);
            EXPECT_EQ(Drawn(), want) << kind << ": " << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
        }
    }
}

TEST_F(RendererTest, APictureRectangleIsThePictureStretchedInHalftoneWhereverItLiesAndUnderAnyClip)
{
    // Noise, so that every canvas pixel tells which picture pixels it read.
    QImage noise = gditest::NoiseSurface(64, 48, 5);
    const QString path = dir.filePath(QStringLiteral("noise.png"));
    ASSERT_TRUE(noise.save(path));
    // Shrunk, grown and both; inside the canvas, cut by each edge, mirrored.
    for (const RECT& rc : {RECT{100, 50, 140, 80}, {-20, -10, 20, 20}, {1000, 750, 1040, 790}, {180, 80, 140, 50},
                           {20, 760, -20, 730}, {200, 200, 300, 290}, {-30, 700, 70, 790}, {300, 300, 320, 400},
                           {1010, 100, 1070, 110}})
        AddPicture(FK_RECTANGLE, rc, path, 0, 0, kBlack);
    // Each picture stretched onto a white canvas in turn: no outline, no fill.
    const auto stretchedInPlace = [&] {
        QImage image = gditest::Surface(frame.m_cxCanvas, frame.m_cyCanvas);
        CDC dc(image);
        dc.SetStretchBltMode(HALFTONE);
        const CDC source(noise);
        for (const auto& fig : *g_pFigures) {
            const RECT& rc = fig->m_rect;
            dc.StretchBlt(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, source, 0, 0, 64, 48);
        }
        return image;
    };
    frame.RefreshCanvas(false);
    EXPECT_EQ(Diff(Canvas(), stretchedInPlace()).size(), 0u);
    // A change whose damage ends at the first picture's first column redraws that column.
    Add(FK_RECTANGLE, RECT{96, 52, 99, 58}, kBlack, kRed);
    frame.RefreshCanvas(false);
    EXPECT_EQ(Diff(Canvas().copy(100, 50, 1, 30), stretchedInPlace().copy(100, 50, 1, 30)).size(), 0u);
}

TEST_F(RendererTest, TilesShrinkTheirWholePictureByAveragingOnTheCanvasAndAcrossItsEdges)
{
    // A checkerboard shrunk is flat grey wherever a tile lands (ANDed it would
    // be black), the whole board in every tile though it is larger than the canvas.
    QImage board(1040, 780, QImage::Format_RGB32);
    for (const auto& [x, y] : gditest::Box(0, 0, 1040, 780))
        board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QString path = dir.filePath(QStringLiteral("board.png"));
    ASSERT_TRUE(board.save(path));
    AddBorder(RECT{-10, 100, 90, 160}, 20, 20, path);  // the left column cut by the canvas edge
    frame.RefreshCanvas(false);
    Pixels tiles = gditest::Box(0, 100, 10, 160);
    for (const Pixels& more : {gditest::Box(70, 100, 90, 160), gditest::Box(10, 100, 70, 120), gditest::Box(10, 140, 70, 160)})
        tiles.insert(more.begin(), more.end());
    EXPECT_EQ(PixelsOf(RGB(128, 128, 128)), tiles);
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

TEST_F(RendererTest, TextFiguresUnreadablePicturesAndTileSizesNotBothPositiveDrawNothing)
{
    frame.m_pCanvasDC->SetPixel(5, 5, kRed);  // the refresh clears it
    g_pFigures->Add(CShapeFigure::Text(RECT{10, 10, 200, 100}, QStringLiteral("text"), 1, RECT{1, 1, 20, 20}, kRed, kRed));
    const QString junk = dir.filePath(QStringLiteral("junk.png")), tile = Picture(QStringLiteral("t.png"), 20, 10);
    ASSERT_TRUE(QFile(junk).open(QIODevice::WriteOnly));  // empty: no picture
    AddPicture(FK_RECTANGLE, RECT{0, 0, 100, 100}, junk, 0, 0, kBlack);
    AddBorder(RECT{0, 0, 100, 100}, 20, 20, dir.filePath(QStringLiteral("missing.bmp")), kBlack);
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    for (const auto& [tw, th] : {std::pair{0.0, 10.0}, {-5.0, -5.0}, {nan, 10.0}, {10.0, inf}, {20.0, -1.0}})
        AddBorder(RECT{0, 0, 100, 50}, tw, th, tile, kBlack);
    AddPicture(FK_RECTANGLE, RECT{0, 0, 100, 50}, tile, 20.0, 0.0, kBlack);
    Add(FK_LINE, RECT{0, 200, 10, 200}, kBlue);
    frame.RefreshCanvas(false);
    EXPECT_EQ(Drawn(), (std::map<COLORREF, Pixels>{{kBlue, gditest::Box(0, 200, 10, 201)}}));
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

TEST_F(RendererTest, BoxHandlesSitAtCornersAndMiddlesWithTruncatedCentresAndBordersGetNone)
{
    const QImage before = Canvas();
    const RECT rc{10, 10, 31, 21};
    for (FigureKind kind : {FK_BORDER, FK_NONE, FK_RECTANGLE}) {
        frame.m_nSelKind = kind;
        frame.DrawHandles(nullptr, &rc);
    }
    // (31, 10) and (31, 15) overlap on one row, which is inverted twice.
    EXPECT_EQ(Diff(before, frame.m_bmpCanvas),
              Rings({{10, 10}, {20, 10}, {31, 10}, {31, 15}, {31, 21}, {20, 21}, {10, 21}, {10, 15}}));
    EXPECT_EQ(Pixel(7, 7), kBlack);
    EXPECT_EQ(frame.m_pCanvasDC->GetROP2(), R2_NOTXORPEN) << "the mode stays not-XOR";
    for (FigureKind kind : {FK_ELLIPSE, FK_TEXT}) {
        frame.m_nSelKind = kind;
        frame.DrawHandles(nullptr, &rc);
        EXPECT_EQ(Diff(before, frame.m_bmpCanvas).size(), 0u) << kind << ": drawn twice, gone";
        frame.DrawHandles(nullptr, &rc);
    }
}

TEST(FigureModelTest, ChangesToTheListKeepTheOrderOfTheOtherFigures)
{
    CFigureList list;
    for (int left : {0, 1, 2, 3, 4})
        list.Add(CShapeFigure::Shape(FK_RECTANGLE, RECT{left, 0, 0, 0}, 0, 0));
    list.RemoveAt(1);                                                      // 0 2 3 4
    list.SetAt(2, CShapeFigure::Shape(FK_LINE, RECT{9, 0, 0, 0}, 0, 0));  // 0 2 9 4
    list.MoveToEnd(1);                                                     // 0 9 4 2
    list.MoveToFront(2);                                                   // 4 0 9 2
    std::vector<int> lefts;
    for (const auto& f : list)
        lefts.push_back(f->m_rect.left);
    EXPECT_EQ(lefts, (std::vector<int>{4, 0, 9, 2}));
}

}  // namespace
