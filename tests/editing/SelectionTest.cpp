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

TEST_F(SelectionTest, LineHitFollowsTheWholeStraightLine)
{
    // Sloping: -10 <= d <= 10, measured vertically, also far beyond the segment.
    // Level: within 2 vertically, any x. Upright: within 2 horizontally, any y.
    // A single point counts as level.
    const RECT diag{0, 0, 100, 100}, half{0, 0, 200, 100}, level{10, 50, 90, 50}, upright{20, 10, 20, 90};
    const std::tuple<RECT, POINT, bool> cases[] = {
        {diag, {300, 305}, true},       {diag, {300, 310}, true},      {diag, {300, 290}, true},
        {diag, {300, 311}, false},      {diag, {300, 289}, false},     {half, {100, 60}, true},
        {half, {100, 61}, false},       {level, {5000, 48}, true},     {level, {5000, 52}, true},
        {level, {5000, 47}, false},     {level, {5000, 53}, false},    {upright, {18, -400}, true},
        {upright, {22, -400}, true},    {upright, {17, -400}, false},  {upright, {23, -400}, false},
        {{30, 30, 30, 30}, {900, 32}, true}, {{30, 30, 30, 30}, {30, 33}, false},
    };
    for (const auto& [l, p, hit] : cases)
        EXPECT_EQ(CMainFrame::HitTestLine(l.left, l.top, l.right, l.bottom, p.x, p.y), hit) << p.x << "," << p.y;
}

TEST_F(SelectionTest, EachHandleZoneStartsItsResizeAndTheInsideAMove)
{
    Add(FK_RECTANGLE, RECT{10, 10, 100, 100});
    // mx = my = 55. Zones are the inner halves of the handle squares.
    const std::pair<POINT, int> cases[] = {
        {{10, 10}, MODE_SIZE_NW}, {{15, 15}, MODE_SIZE_NW}, {{52, 10}, MODE_SIZE_N},  {{57, 15}, MODE_SIZE_N},
        {{94, 10}, MODE_SIZE_NE}, {{99, 15}, MODE_SIZE_NE}, {{94, 52}, MODE_SIZE_E},  {{99, 57}, MODE_SIZE_E},
        {{94, 94}, MODE_SIZE_SE}, {{99, 99}, MODE_SIZE_SE}, {{52, 94}, MODE_SIZE_S},  {{57, 99}, MODE_SIZE_S},
        {{10, 94}, MODE_SIZE_SW}, {{15, 99}, MODE_SIZE_SW}, {{10, 52}, MODE_SIZE_W},  {{15, 57}, MODE_SIZE_W},
        {{16, 16}, MODE_MOVE},    {{58, 10}, MODE_MOVE},    {{51, 10}, MODE_MOVE},    {{93, 55}, MODE_MOVE},
    };
    for (const auto& [p, mode] : cases) {
        frame.m_nMode = MODE_NONE;
        Press(p);
        EXPECT_EQ(frame.m_nMode, mode) << p.x << "," << p.y;
    }
}

TEST_F(SelectionTest, APictureRectangleOnlyMovesEvenFromItsCorners)
{
    AddPicture(FK_RECTANGLE, RECT{10, 10, 100, 100}, QStringLiteral("/tmp/x.png"));
    for (POINT p : {POINT{10, 10}, POINT{99, 99}, POINT{55, 12}, POINT{50, 50}, POINT{12, 97}}) {
        frame.m_nMode = MODE_NONE;
        Press(p);
        EXPECT_EQ(frame.m_nMode, MODE_MOVE) << p.x << "," << p.y;
    }
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
