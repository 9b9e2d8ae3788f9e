// Block copies: what the stretch goldens leave out, namely a copy within one
// surface, the source raster operations and sizes that draw nothing.
#include "GdiTestSupport.h"

#include "platform/Gdi.h"

#include <gtest/gtest.h>

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
