// The full redraw: the background at (10, 10), figures in list order with
// their exact pixels, picture rectangles, and the tile procedure's positions;
// and the selection handles drawn over it in not-XOR.
#include "editing/EditingFixture.h"
#include "platform/Picture.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <string>

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

// Every pixel of [l, r) x [t, b) on its edge: a 1-pixel outline of columns
// l..r-1 and rows t..b-1.
Pixels Outline(int l, int t, int r, int b)
{
    Pixels s;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            if (x == l || x == r - 1 || y == t || y == b - 1)
                s.emplace(x, y);
    return s;
}

Pixels Box(int l, int t, int r, int b)
{
    Pixels s;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            s.emplace(x, y);
    return s;
}

// The pixels of the ellipse inscribed in (x, y, w, h) whose centres lie inside
// it or on it: in doubled coordinates from the middle, u^2 h^2 + v^2 w^2 <= w^2 h^2.
Pixels EllipsePixels(int x, int y, int w, int h)
{
    Pixels s;
    const long long W = w, H = h;
    for (int py = y; py < y + h; ++py)
        for (int px = x; px < x + w; ++px) {
            const long long u = 2LL * (px - x) + 1 - W, v = 2LL * (py - y) + 1 - H;
            if (u * u * H * H + v * v * W * W <= W * W * H * H)
                s.emplace(px, py);
        }
    return s;
}

// The four corner orders a drag can leave a box in.
std::array<RECT, 4> CornerOrders(const RECT& n)
{
    return {{n, {n.right, n.bottom, n.left, n.top}, {n.left, n.bottom, n.right, n.top}, {n.right, n.top, n.left, n.bottom}}};
}

TEST_F(RendererTest, APlainRectangleOutlinesColumnsLToRMinus1AndFillsExactlyTheInsideInAnyCornerOrder)
{
    // Down to 3 x 3 (one inside pixel) and 3 x 2 (none).
    for (const RECT n : {RECT{40, 30, 140, 90}, RECT{10, 10, 13, 13}, RECT{200, 5, 203, 7}})
        for (const RECT rc : CornerOrders(n)) {
            g_pFigures->RemoveAll();
            Add(FK_RECTANGLE, rc, kBlue, kRed);
            frame.RefreshCanvas(false);
            std::map<COLORREF, Pixels> want{{kBlue, Outline(n.left, n.top, n.right, n.bottom)}};
            if (Pixels inside = Box(n.left + 1, n.top + 1, n.right - 1, n.bottom - 1); !inside.empty())
                want[kRed] = inside;
            EXPECT_EQ(Drawn(), want) << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
        }
}

// The outline is the device context's ellipse in the box; the fill is the
// ellipse of (l + 1, t + 1, r - l - 3, b - t - 3) over it, which leaves white
// between it and the outline on the right and below.
TEST_F(RendererTest, APlainEllipseFillsTheEllipseOneInFromTheTopLeftAndThreeSmallerInsideItsOutline)
{
    // Even sizes: the fill has a middle row and column, from edge to edge.
    for (const RECT n : {RECT{20, 10, 40, 24}, RECT{40, 30, 140, 90}, RECT{300, 200, 308, 206}})
        for (const RECT rc : CornerOrders(n)) {
            g_pFigures->RemoveAll();
            Add(FK_ELLIPSE, rc, kBlue, kRed);
            frame.RefreshCanvas(false);
            const std::string at = std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," + std::to_string(rc.bottom);
            std::map<COLORREF, Pixels> drawn = Drawn();
            const Pixels& line = drawn[kBlue];
            const Pixels box = Box(n.left, n.top, n.right, n.bottom);
            EXPECT_EQ(drawn[kRed], EllipsePixels(n.left + 1, n.top + 1, n.right - n.left - 3, n.bottom - n.top - 3)) << at;
            EXPECT_TRUE(std::includes(box.begin(), box.end(), line.begin(), line.end())) << at << ": the outline stays in the box";
            EXPECT_EQ(drawn.size(), 2u) << at << ": nothing else";
            // The fill's middle row and column, from one pixel outside the box
            // to one pixel outside it on the other side: outline, fill, one
            // white pixel, outline.
            const auto code = [&](int x, int y) {
                const COLORREF c = Pixel(x, y);
                return c == kBlue ? 'L' : c == kRed ? 'F' : c == kWhite ? '.' : '?';
            };
            const int midRow = n.top + (n.bottom - n.top) / 2 - 1, midColumn = n.left + (n.right - n.left) / 2 - 1;
            std::string row, column;
            for (int x = n.left - 1; x <= n.right; ++x)
                row += code(x, midRow);
            for (int y = n.top - 1; y <= n.bottom; ++y)
                column += code(midColumn, y);
            EXPECT_EQ(row, ".L" + std::string(n.right - n.left - 3, 'F') + ".L.") << at;
            EXPECT_EQ(column, ".L" + std::string(n.bottom - n.top - 3, 'F') + ".L.") << at;
        }
    // The last and smallest, by hand: in 8 x 6 the fill is 5 x 3 at (301, 201).
    EXPECT_EQ(Drawn()[kRed], (Pixels{{302, 201}, {303, 201}, {304, 201}, {301, 202}, {302, 202}, {303, 202},
                                     {304, 202}, {305, 202}, {302, 203}, {303, 203}, {304, 203}}));
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

TEST_F(RendererTest, APictureRectangleIsThePictureStretchedInHalftoneWhereverItLiesAndUnderAnyClip)
{
    // Noise, so that every canvas pixel tells which picture pixels it read.
    QImage noise(64, 48, QImage::Format_RGB32);
    std::mt19937 random(5);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, 0xFF000000u | static_cast<QRgb>(random()));
    const QString path = dir.filePath(QStringLiteral("noise.png"));
    ASSERT_TRUE(noise.save(path));
    // Shrunk, grown and both; inside the canvas, cut by each edge, mirrored.
    for (const RECT& rc : {RECT{100, 50, 140, 80}, {-20, -10, 20, 20}, {1000, 750, 1040, 790}, {180, 80, 140, 50},
                           {20, 760, -20, 730}, {200, 200, 300, 290}, {-30, 700, 70, 790}, {300, 300, 320, 400},
                           {1010, 100, 1070, 110}})
        AddPicture(FK_RECTANGLE, rc, path, 0, 0, kBlack);
    // The design's own steps: each picture stretched onto the canvas in turn.
    const auto stretchedInPlace = [&] {
        QImage image(frame.m_cxCanvas, frame.m_cyCanvas, QImage::Format_RGB32);
        image.fill(ColorToPixel(kWhite));
        CDC dc(image);
        dc.SetStretchBltMode(HALFTONE);
        const CDC source(noise);
        for (const auto& fig : *g_pFigures) {
            const RECT& rc = fig->m_rect;
            dc.StretchBlt(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, source, 0, 0, 64, 48);
        }
        return image;
    };
    const auto differing = [](const QImage& a, const QImage& b) {
        long long n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                n += a.pixel(x, y) != b.pixel(x, y);
        return n;
    };
    frame.RefreshCanvas(false);
    EXPECT_EQ(differing(Canvas(), stretchedInPlace()), 0);
    // Moved over the others and the canvas edge: only the damage is redrawn, clipped.
    const int partial = frame.m_refreshCounts.partial;
    g_pFigures->SetAt(0, CShapeFigure::Picture(FK_RECTANGLE, RECT{-7, 33, 203, 233}, kBlack, path));
    frame.RefreshCanvas(false);
    EXPECT_EQ(frame.m_refreshCounts.partial, partial + 1);
    EXPECT_EQ(differing(Canvas(), stretchedInPlace()), 0);
}

TEST_F(RendererTest, TilesShrinkTheirWholePictureByAveragingOnTheCanvasAndAcrossItsEdges)
{
    // A checkerboard shrunk is flat grey wherever a tile lands (ANDed it would
    // be black), the whole board in every tile though it is larger than the canvas.
    QImage board(1040, 780, QImage::Format_RGB32);
    for (int y = 0; y < board.height(); ++y)
        for (int x = 0; x < board.width(); ++x)
            board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QString path = dir.filePath(QStringLiteral("board.png"));
    ASSERT_TRUE(board.save(path));
    AddBorder(RECT{-10, 100, 90, 160}, 20, 20, path);  // the left column cut by the canvas edge
    frame.RefreshCanvas(false);
    Pixels tiles = Box(0, 100, 10, 160);
    for (const Pixels& more : {Box(70, 100, 90, 160), Box(10, 100, 70, 120), Box(10, 140, 70, 160)})
        tiles.insert(more.begin(), more.end());
    EXPECT_EQ(PixelsOf(RGB(128, 128, 128)), tiles);
}

TEST_F(RendererTest, AWholeRedrawLeavingOutWhatFiguresPaintOverEndsInTheReferenceCanvas)
{
    // Few figures or many over an opaque background (the clearing and the
    // background are then left out where figures paint every pixel), or over
    // a background with a transparent pixel (cleared under it after all).
    QImage back(700, 500, QImage::Format_ARGB32);
    back.fill(qRgb(40, 90, 200));
    const QString opaque = dir.filePath(QStringLiteral("back.png"));
    ASSERT_TRUE(back.save(opaque));
    back.setPixel(3, 3, qRgba(0, 0, 0, 0));
    const QString transparent = dir.filePath(QStringLiteral("holed.png"));
    ASSERT_TRUE(back.save(transparent));
    const QString picture = Picture(QStringLiteral("p.png"), 50, 40);
    std::mt19937 random(3);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int scene = 0; scene < 40; ++scene) {
        g_pFigures->RemoveAll();
        frame.m_bBackground = scene % 3 != 2;
        frame.m_strBackground = scene % 3 == 1 ? transparent : opaque;
        for (int i = scene % 4 == 3 ? 300 : uniform(1, 30); i > 0; --i) {
            const int l = uniform(-60, 1000), t = uniform(-60, 740);
            const RECT rc{l, t, l + uniform(-80, 400), t + uniform(-80, 300)};
            switch (uniform(0, 3)) {
            case 0: AddPicture(FK_RECTANGLE, rc, picture); break;
            case 1: Add(FK_ELLIPSE, rc, kBlack, RGB(uniform(0, 255), 0, 0)); break;
            default: Add(FK_RECTANGLE, rc, kBlack, RGB(0, uniform(0, 255), 0)); break;
            }
        }
        frame.m_refreshMode = CMainFrame::RefreshMode::Reference;
        frame.RefreshCanvas(false);
        const QImage reference = Canvas();
        frame.m_refreshMode = CMainFrame::RefreshMode::Whole;
        frame.m_pCanvasDC->FillRect(RECT{0, 0, frame.m_cxCanvas, frame.m_cyCanvas}, CBrush::Solid(kRed));
        frame.RefreshCanvas(false);
        ASSERT_TRUE(Canvas() == reference) << "scene " << scene;
    }
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
