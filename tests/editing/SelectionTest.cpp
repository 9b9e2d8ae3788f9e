// Selecting by pressing: the topmost figure wins, the exact hit rules of
// rectangles and lines, the handle zones and the drag each press starts, and
// the handles that follow the selection on the canvas.
#include "EditingFixture.h"

namespace {

using SelectionTest = EditingTest;

TEST_F(SelectionTest, ThePressSelectsTheTopmostShapeAndCopiesItsValues)
{
    Add(FK_RECTANGLE, RECT{10, 10, 100, 100}, RGB(1, 2, 3), RGB(4, 5, 6));
    Add(FK_ELLIPSE, RECT{150, 120, 50, 60}, RGB(7, 8, 9), RGB(10, 11, 12));  // inverted on purpose
    // Text figures and borders on top are never hit.
    g_pFigures->Add(CShapeFigure::Text(RECT{0, 0, 400, 400}, QStringLiteral("t"), 1, RECT{0, 0, 1, 1}));
    AddBorder(RECT{0, 0, 400, 400}, 20, 20, QStringLiteral("/nowhere.bmp"), kGrey);
    Press(POINT{70, 80});
    ASSERT_TRUE(frame.m_pSelRect);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{50, 60, 150, 120}));
    EXPECT_EQ(frame.m_nSelected, 1) << "the later figure in the list is on top";
    EXPECT_EQ(frame.m_nSelKind, FK_ELLIPSE);
    EXPECT_EQ(frame.m_crLine, RGB(7, 8, 9));
    EXPECT_EQ(frame.m_crFill, RGB(10, 11, 12));
    EXPECT_EQ(frame.m_bSelPicture, 0);
}

TEST_F(SelectionTest, RightAndBottomEdgesAreOutsideExceptTheExactCorner)
{
    Add(FK_RECTANGLE, RECT{10, 10, 100, 100});
    Press(POINT{100, 99});
    EXPECT_FALSE(frame.m_pSelRect) << "the right edge one pixel above the corner";
    Press(POINT{99, 100});
    EXPECT_FALSE(frame.m_pSelRect);
    Click(POINT{10, 10});
    EXPECT_TRUE(frame.m_pSelRect) << "left and top are inside";

    Press(POINT{100, 100});
    ASSERT_TRUE(frame.m_pSelRect) << "the exact bottom-right corner selects";
    EXPECT_EQ(frame.m_nMode, MODE_NONE) << "but starts no drag";
    EXPECT_EQ(Pixel(97, 97), kBlack) << "its handles are drawn";
}

TEST_F(SelectionTest, HandlesFollowTheSelectionAndAnEmptyPressClearsIt)
{
    Add(FK_LINE, RECT{50, 50, 20, 80});
    Add(FK_ELLIPSE, RECT{200, 200, 260, 240});
    frame.RefreshCanvas(false);
    const QImage plain = Canvas();

    Click(POINT{35, 65});
    EXPECT_EQ(frame.m_nSelected, 0);
    EXPECT_EQ(Diff(plain, frame.m_bmpCanvas), Rings({{50, 50}, {20, 80}})) << "a line's handles at its two ends";

    // The old handles are erased as the kind they were drawn for.
    Click(POINT{230, 220});
    EXPECT_EQ(frame.m_nSelected, 1);
    EXPECT_EQ(Diff(plain, frame.m_bmpCanvas),
              Rings({{200, 200}, {230, 200}, {260, 200}, {260, 220}, {260, 240}, {230, 240}, {200, 240}, {200, 220}}));

    Click(POINT{600, 600});
    EXPECT_FALSE(frame.m_pSelRect);
    EXPECT_EQ(frame.m_nSelKind, FK_NONE);
    EXPECT_EQ(frame.m_nSelected, -1) << "no index names a figure once nothing is selected";
    EXPECT_TRUE(Diff(plain, frame.m_bmpCanvas).empty()) << "no handles are left";
}

}  // namespace
