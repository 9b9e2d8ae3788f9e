// Block copies: BitBlt, and StretchBlt's sampling, mirroring and the stretch
// modes that combine the pixels of a shrink.
#include "GdiTestSupport.h"

#include "platform/Gdi.h"

#include <gtest/gtest.h>

using namespace gditest;

namespace {

// A w x h source whose pixel (x, y) is the colour RGB(x, y, 7).
QImage Numbered(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, ColorToPixel(RGB(x, y, 7)));
    return image;
}

// A 1-row source of the given colours.
QImage Row(const std::vector<COLORREF>& colors)
{
    QImage image(static_cast<int>(colors.size()), 1, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x)
        image.setPixel(x, 0, ColorToPixel(colors[static_cast<std::size_t>(x)]));
    return image;
}

std::vector<COLORREF> RowOf(const QImage& image, int y, int x0, int x1)
{
    std::vector<COLORREF> row;
    for (int x = x0; x < x1; ++x)
        row.push_back(At(image, x, y));
    return row;
}

constexpr COLORREF kWhite = RGB(255, 255, 255);

}  // namespace

TEST(GdiBltTest, BitBltCopiesABlockAndANegativeSizeCountsBackWithoutMirroring)
{
    QImage source = Numbered(10, 10);
    CDC src(source);
    QImage image = Surface(20, 20);
    CDC dc(image);
    dc.BitBlt(5, 6, 3, 2, src, 1, 2);
    EXPECT_EQ(PixelsNot(image), Box(5, 6, 8, 8));
    EXPECT_EQ(At(image, 5, 6), RGB(1, 2, 7));
    EXPECT_EQ(At(image, 7, 7), RGB(3, 3, 7));

    QImage back = Surface(20, 20);
    CDC bdc(back);
    bdc.BitBlt(7, 7, -3, -2, src, 3, 3);  // [5, 8) x [6, 8) from [1, 4) x [2, 4)
    EXPECT_EQ(back, image);
}

TEST(GdiBltTest, BitBltWithinOneSurfaceCopiesTheOverlapCleanly)
{
    QImage image = Numbered(12, 4);
    const QImage before = image;
    CDC dc(image);
    dc.BitBlt(1, 0, 10, 4, dc, 0, 0);
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(At(image, 0, y), At(before, 0, y));
        for (int x = 1; x < 11; ++x)
            EXPECT_EQ(At(image, x, y), At(before, x - 1, y)) << x << "," << y;
        EXPECT_EQ(At(image, 11, y), At(before, 11, y));
    }
}

TEST(GdiBltTest, APictureStretchedToTwiceItsWidthFillsTheRectangleExactly)
{
    QImage picture = Numbered(200, 100);
    CDC src(picture);
    QImage canvas = Surface(500, 200);
    CDC dc(canvas);
    dc.StretchBlt(50, 50, 450 - 50, 150 - 50, src, 0, 0, 200, 100);
    EXPECT_EQ(PixelsNot(canvas), Box(50, 50, 450, 150));
    for (int x = 50; x < 450; ++x)
        EXPECT_EQ(At(canvas, x, 80), RGB((x - 50) / 2, 30, 7)) << x;
}

TEST(GdiBltTest, EachDestinationPixelTakesTheSourcePixelUnderItsCentre)
{
    QImage source = Row({RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0)});
    CDC src(source);
    QImage image = Surface(7, 1);
    CDC dc(image);
    dc.StretchBlt(0, 0, 7, 1, src, 0, 0, 3, 1);
    // The centres 0.5 .. 6.5 of the 7 pixels fall at 0.21 .. 2.79 of the 3.
    EXPECT_EQ(RowOf(image, 0, 0, 7), (std::vector<COLORREF>{RGB(1, 0, 0), RGB(1, 0, 0), RGB(2, 0, 0), RGB(2, 0, 0),
                                                            RGB(2, 0, 0), RGB(3, 0, 0), RGB(3, 0, 0)}));
    QImage mirrored = Surface(7, 1);
    CDC mdc(mirrored);
    mdc.StretchBlt(6, 0, -7, 1, src, 0, 0, 3, 1);
    std::vector<COLORREF> reversed = RowOf(image, 0, 0, 7);
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(RowOf(mirrored, 0, 0, 7), reversed);
}

TEST(GdiBltTest, ShrinkingCombinesThePixelsOfEachDestinationPixelByTheStretchMode)
{
    const COLORREF a = RGB(0xF0, 0x0F, 0xFF), b = RGB(0x3C, 0xFF, 0x0F), c = RGB(0x11, 0x22, 0x33),
                   d = RGB(0x44, 0x55, 0x66);
    QImage source = Row({a, b, c, d});
    CDC src(source);
    auto shrink = [&](int mode) {
        QImage image = Surface(2, 1);
        CDC dc(image);
        if (mode)
            dc.SetStretchBltMode(mode);
        dc.StretchBlt(0, 0, 2, 1, src, 0, 0, 4, 1);
        return RowOf(image, 0, 0, 2);
    };
    EXPECT_EQ(shrink(0), (std::vector<COLORREF>{a & b, c & d}));  // BLACKONWHITE is the default
    EXPECT_EQ(shrink(WHITEONBLACK), (std::vector<COLORREF>{a | b, c | d}));
    EXPECT_EQ(shrink(COLORONCOLOR), (std::vector<COLORREF>{b, d}));

    // Rows shrink the same way; COLORONCOLOR keeps the first row of each pair.
    QImage column(1, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        column.setPixel(0, y, ColorToPixel(std::vector<COLORREF>{a, b, c, d}[static_cast<std::size_t>(y)]));
    CDC csrc(column);
    QImage image = Surface(1, 2);
    CDC dc(image);
    dc.StretchBlt(0, 0, 1, 2, csrc, 0, 0, 1, 4);
    EXPECT_EQ(At(image, 0, 0), a & b);
    EXPECT_EQ(At(image, 0, 1), c & d);
    dc.SetStretchBltMode(COLORONCOLOR);
    dc.StretchBlt(0, 0, 1, 2, csrc, 0, 0, 1, 4);
    EXPECT_EQ(At(image, 0, 0), a);
    EXPECT_EQ(At(image, 0, 1), c);

    // Onto a single pixel GDI samples one source pixel fewer: two rows give
    // just the first.
    dc.SetStretchBltMode(BLACKONWHITE);
    dc.StretchBlt(0, 0, 1, 1, csrc, 0, 0, 1, 2);
    EXPECT_EQ(At(image, 0, 0), a);
    EXPECT_EQ(dc.SetStretchBltMode(9), 0);
}

TEST(GdiBltTest, StretchesClipAtTheDestinationAndZeroSizesDrawNothing)
{
    QImage source = Numbered(10, 10);
    CDC src(source);
    QImage image = Surface(8, 8);
    CDC dc(image);
    dc.StretchBlt(-4, -4, 20, 20, src, 0, 0, 10, 10);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(At(image, x, y), RGB((x + 4) / 2, (y + 4) / 2, 7));
    QImage blank = Surface(8, 8);
    CDC bdc(blank);
    bdc.StretchBlt(0, 0, 0, 8, src, 0, 0, 10, 10);
    bdc.StretchBlt(0, 0, 8, 8, src, 0, 0, 10, 0);
    bdc.StretchBlt(0, 0, 8, 8, src, 0, 0, 10, 10, 0x00F00021 /* PATCOPY: the white brush */);
    EXPECT_TRUE(PixelsNot(blank).empty());
}

TEST(GdiBltTest, SourceRasterOperationsCombineSourceAndDestination)
{
    QImage source = Row({RGB(0xF0, 0xF0, 0xF0), RGB(0x0F, 0x0F, 0x0F)});
    CDC src(source);
    QImage image = Row({RGB(0x3C, 0x3C, 0x3C), RGB(0x3C, 0x3C, 0x3C)});
    CDC dc(image);
    constexpr DWORD kSrcInvert = 0x00660046;
    constexpr DWORD kSrcAnd = 0x008800C6;
    dc.BitBlt(0, 0, 1, 1, src, 0, 0, kSrcInvert);
    dc.BitBlt(1, 0, 1, 1, src, 1, 0, kSrcAnd);
    EXPECT_EQ(At(image, 0, 0), RGB(0xCC, 0xCC, 0xCC));
    EXPECT_EQ(At(image, 1, 0), RGB(0x0C, 0x0C, 0x0C));
    EXPECT_NE(At(image, 0, 0), kWhite);
}
