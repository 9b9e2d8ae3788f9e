// Selection handles: their exact rings, their order-independent erase in
// not-XOR mode, and which kinds get which handles.
#include "editing/EditingFixture.h"

#include <set>

namespace {

using HandlesTest = EditingTest;

TEST_F(HandlesTest, BoxHandlesSitAtCornersAndMiddlesWithTruncatedCentres)
{
    const QImage before = frame.m_bmpCanvas.copy();
    const RECT rc{10, 10, 31, 21};
    frame.m_nSelKind = FK_RECTANGLE;
    frame.DrawHandles(nullptr, &rc);
    // (31, 10) and (31, 15) overlap on one row, which is inverted twice.
    EXPECT_EQ(Diff(before, frame.m_bmpCanvas),
              Rings({{10, 10}, {20, 10}, {31, 10}, {31, 15}, {31, 21}, {20, 21}, {10, 21}, {10, 15}}));
    EXPECT_EQ(Pixel(7, 7), kBlack);
    EXPECT_EQ(Pixel(10, 10), kWhite) << "the white inside leaves pixels as they were";
    EXPECT_EQ(frame.m_pCanvasDC->GetROP2(), R2_NOTXORPEN) << "the mode stays not-XOR";

    for (int kind : {FK_ELLIPSE, FK_TEXT}) {
        frame.m_nSelKind = kind;
        frame.DrawHandles(nullptr, &rc);
        EXPECT_TRUE(Diff(before, frame.m_bmpCanvas).empty()) << kind << ": drawn twice, gone";
        frame.DrawHandles(nullptr, &rc);
    }
}

TEST_F(HandlesTest, LinesGetTheirTwoEndsAndBordersOrNothingGetNone)
{
    const QImage before = frame.m_bmpCanvas.copy();
    const RECT line{50, 50, 20, 80};
    frame.m_nSelKind = FK_LINE;
    frame.DrawHandles(nullptr, &line);
    EXPECT_EQ(Diff(before, frame.m_bmpCanvas), Rings({{50, 50}, {20, 80}}));
    frame.DrawHandles(nullptr, &line);

    const RECT point{300, 300, 300, 300};
    frame.DrawHandles(nullptr, &point);
    EXPECT_TRUE(Diff(before, frame.m_bmpCanvas).empty()) << "a single-point line's two handles cancel";

    for (int kind : {FK_BORDER, -1, 7}) {
        frame.m_nSelKind = kind;
        frame.DrawHandles(nullptr, &line);
        EXPECT_TRUE(Diff(before, frame.m_bmpCanvas).empty()) << kind;
    }
}

TEST_F(HandlesTest, OldHandlesAreErasedByTheirOwnKindBeforeTheNewAreDrawn)
{
    // Over drawn figures, so not-XOR has real pixels to give back.
    Add(CC_RECTANGLE, RECT{0, 0, 200, 200}, RGB(30, 60, 90), RGB(200, 100, 50));
    frame.RefreshCanvas(false);
    const QImage plain = frame.m_bmpCanvas.copy();
    const RECT a{20, 20, 120, 80}, b{40, 150, 90, 100};
    frame.m_nSelKind = FK_LINE;
    frame.DrawHandles(nullptr, &a);
    frame.m_nOldSelKind = FK_LINE;
    frame.m_nSelKind = FK_ELLIPSE;
    frame.DrawHandles(&a, &b);
    const QImage both = frame.m_bmpCanvas.copy();
    frame.DrawHandles(nullptr, &b);
    EXPECT_TRUE(Diff(plain, frame.m_bmpCanvas).empty()) << "only b's handles were left";

    // An old kind of -1 takes the current kind first.
    frame.m_nSelKind = FK_RECTANGLE;
    frame.DrawHandles(nullptr, &b);
    frame.m_nOldSelKind = -1;
    frame.DrawHandles(&b, nullptr);
    EXPECT_EQ(frame.m_nOldSelKind, FK_RECTANGLE);
    EXPECT_TRUE(Diff(plain, frame.m_bmpCanvas).empty());
    EXPECT_FALSE(Diff(plain, both).empty());

    // The same rectangle as old and new, with equal kinds, changes nothing.
    frame.DrawHandles(nullptr, &b);
    const QImage shown = frame.m_bmpCanvas.copy();
    frame.m_nOldSelKind = FK_RECTANGLE;
    frame.DrawHandles(&b, &b);
    EXPECT_TRUE(Diff(shown, frame.m_bmpCanvas).empty());
}

TEST_F(HandlesTest, RefreshWithHandlesShowsATextSelectionThreePixelsInside)
{
    frame.m_pSelRect = std::make_shared<RECT>(RECT{94, 94, 206, 156});
    frame.m_nSelKind = FK_TEXT;
    const QImage white = frame.m_bmpCanvas.copy();
    frame.RefreshCanvas(true);
    EXPECT_EQ(Diff(white, frame.m_bmpCanvas),
              Rings({{97, 97}, {150, 97}, {203, 97}, {203, 125}, {203, 153}, {150, 153}, {97, 153}, {97, 125}}));
    frame.m_nSelKind = FK_RECTANGLE;
    frame.RefreshCanvas(true);
    EXPECT_EQ(Pixel(91, 91), kBlack);
}

}  // namespace
