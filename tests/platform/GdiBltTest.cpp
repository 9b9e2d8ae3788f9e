// Block copies: what the stretch goldens leave out, namely a copy within one
// surface, the source raster operations and sizes that draw nothing.
#include "GdiTestSupport.h"

#include "platform/Gdi.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace gditest;

TEST(GdiBltTest, BitBltWithinOneSurfaceCopiesTheOverlapCleanly)
{
    for (const int shift : {1, -1}) {
        QImage image = NoiseSurface(12, 4, 5);
        const QImage before = image;
        CDC dc(image);
        dc.BitBlt(1 + shift, 1 + shift, 10, 2, dc, 1, 1);
        EXPECT_EQ(image.copy(1 + shift, 1 + shift, 10, 2), before.copy(1, 1, 10, 2)) << "shift " << shift;
    }
}

TEST(GdiBltTest, SourceRasterOperationsCombineSourceAndDestination)
{
    QImage source = Surface(2, 1, RGB(0xF0, 0xF0, 0xF0));
    source.setPixel(1, 0, ColorToPixel(RGB(0x0F, 0x0F, 0x0F)));
    CDC src(source);
    QImage image = Surface(2, 1, RGB(0x3C, 0x3C, 0x3C));
    CDC dc(image);
    dc.BitBlt(0, 0, 1, 1, src, 0, 0, 0x00660046 /* SRCINVERT */);
    dc.StretchBlt(1, 0, 1, 1, src, 1, 0, 1, 1, 0x008800C6 /* SRCAND */);
    EXPECT_EQ(At(image, 0, 0), RGB(0xCC, 0xCC, 0xCC));
    EXPECT_EQ(At(image, 1, 0), RGB(0x0C, 0x0C, 0x0C));
}

TEST(GdiBltTest, ZeroSizesDrawNothingAndPatCopyTakesTheBrush)
{
    QImage source = NoiseSurface(10, 10, 3);
    CDC src(source);
    QImage image = Surface(8, 8);
    CDC dc(image);
    dc.StretchBlt(0, 0, 0, 8, src, 0, 0, 10, 10);
    dc.StretchBlt(0, 0, 8, 8, src, 0, 0, 10, 0);
    dc.BitBlt(0, 0, 8, 0, src, 0, 0);
    EXPECT_TRUE(PixelsNot(image).empty());
    dc.SelectBrush(CBrush::Solid(RGB(0, 0, 255)));
    dc.StretchBlt(1, 2, 3, 4, src, 0, 0, 10, 10, 0x00F00021 /* PATCOPY */);
    EXPECT_EQ(PixelsOf(image, RGB(0, 0, 255)), Box(1, 2, 4, 6));
}

// The averaging shrink of the HALFTONE mode, against its definition: each
// destination pixel the mean of the source area it covers, pixels cut by its
// edge counting by their share, rounded half up.
namespace {

QImage Greys(const std::vector<int>& greys)
{
    QImage image(static_cast<int>(greys.size()), 1, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x)
        image.setPixel(x, 0, qRgb(greys[x], greys[x], greys[x]));
    return image;
}

std::vector<int> GreysOf(const QImage& image)
{
    std::vector<int> greys;
    for (int x = 0; x < image.width(); ++x)
        greys.push_back(qRed(image.pixel(x, 0)));
    return greys;
}

QImage Halftone(const QImage& source, int w, int h)
{
    QImage image = Surface(w, h, RGB(1, 2, 3));
    CDC dc(image);
    const CDC src(const_cast<QImage&>(source));
    dc.SetStretchBltMode(HALFTONE);
    dc.StretchBlt(0, 0, w, h, src, 0, 0, source.width(), source.height());
    return image;
}

}  // namespace

TEST(GdiBltTest, HalftoneShrinksEachPixelToTheRoundedMeanOfTheAreaItCovers)
{
    const struct {
        const char* what;
        std::vector<int> source;
        std::vector<int> shrunk;
    } cases[] = {
        {"halves: 127.5 rounds up", {0, 255, 255, 0}, {128, 128}},
        {"three into two: the middle pixel counts half to each", {0, 90, 180}, {30, 150}},
        {"five into two", {10, 20, 30, 40, 50}, {18, 42}},
        {"seven into three: thirds of pixels", {0, 30, 60, 90, 120, 150, 180}, {21, 90, 159}},
        {"all into one", {1, 2, 2}, {2}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GreysOf(Halftone(Greys(c.source), static_cast<int>(c.shrunk.size()), 1)), c.shrunk) << c.what;

    QImage board(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            board.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    EXPECT_EQ(PixelsOf(Halftone(board, 2, 2), RGB(128, 128, 128)), Box(0, 0, 2, 2)) << "a checkerboard halved is flat grey";
    EXPECT_EQ(PixelsOf(Halftone(board, 1, 8), RGB(128, 128, 128)), Box(0, 0, 1, 8)) << "shrunk across, grown down";

    const QImage uniform = Surface(7, 5, RGB(10, 200, 77));
    for (const auto& [w, h] : {std::pair{3, 2}, {1, 1}, {6, 4}, {7, 1}, {2, 9}})
        EXPECT_EQ(PixelsOf(Halftone(uniform, w, h), RGB(10, 200, 77)), Box(0, 0, w, h)) << w << " x " << h;
}

TEST(GdiBltTest, HalftoneMirrorsReadsOnlyTheSourceSurfaceAndIgnoresTheDestinationEdges)
{
    const QImage three = Greys({0, 90, 180});
    const CDC threeDC(const_cast<QImage&>(three));
    QImage row = Surface(2, 1, RGB(1, 1, 1));
    CDC rowDC(row);
    rowDC.SetStretchBltMode(HALFTONE);
    rowDC.StretchBlt(1, 0, -2, 1, threeDC, 0, 0, 3, 1);
    EXPECT_EQ(GreysOf(row), (std::vector<int>{150, 30})) << "mirrored";
    rowDC.StretchBlt(0, 0, 2, 1, threeDC, -3, 0, 6, 1);
    EXPECT_EQ(GreysOf(row), (std::vector<int>{150, 90})) << "the half before the surface reads nothing";

    // Cut by the surface edges or a clip, a stretch leaves exactly the whole
    // stretch's pixels where it lands, and nothing else.
    const QImage source = NoiseSurface(37, 23, 9);
    const QImage whole = Halftone(source, 11, 7);
    const CDC sourceDC(const_cast<QImage&>(source));
    const QRgb untouched = ColorToPixel(RGB(1, 2, 3));
    for (const auto& [x, y] : {std::pair{-5, -3}, {4, 2}, {-10, 5}, {0, 0}})
        for (const RECT& clip : {RECT{0, 0, 12, 8}, RECT{2, 1, 7, 5}, RECT{6, 0, 12, 3}}) {
            QImage image = Surface(12, 8, RGB(1, 2, 3));
            CDC dc(image);
            dc.SetStretchBltMode(HALFTONE);
            dc.SetClipRect(&clip);
            dc.StretchBlt(x, y, 11, 7, sourceDC, 0, 0, 37, 23);
            for (int py = 0; py < 8; ++py)
                for (int px = 0; px < 12; ++px) {
                    const bool drawn = px >= clip.left && px < clip.right && py >= clip.top && py < clip.bottom &&
                                       px >= x && px < x + 11 && py >= y && py < y + 7;
                    ASSERT_EQ(image.pixel(px, py), drawn ? whole.pixel(px - x, py - y) : untouched)
                        << "at " << px << "," << py << " for the stretch at " << x << "," << y;
                }
        }
}
