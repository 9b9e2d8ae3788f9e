// Selecting by pressing: the topmost figure wins, the exact hit rules of
// rectangles and lines, the handle zones and the drag each press starts, and
// the handles that follow the selection on the canvas.
#include "EditingFixture.h"

namespace {

using SelectionTest = EditingTest;
using SelectionInputTest = EditingInputTest;

TEST_F(SelectionTest, ThePressSelectsTheTopmostFigureAndCopiesItsValues)
{
    Add(CC_RECTANGLE, RECT{10, 10, 100, 100}, RGB(1, 2, 3), RGB(4, 5, 6));
    Add(CC_ELLIPSE, RECT{150, 120, 50, 60}, RGB(7, 8, 9), RGB(10, 11, 12));  // inverted on purpose
    frame.OnLButtonDown(MK_LBUTTON, POINT{70, 80});
    ASSERT_TRUE(frame.m_pSelRect);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{50, 60, 150, 120}));
    EXPECT_EQ(frame.m_nSelected, 1) << "the later figure in the list is on top";
    EXPECT_EQ(frame.m_nSelKind, FK_ELLIPSE);
    EXPECT_EQ(frame.m_crLine, RGB(7, 8, 9));
    EXPECT_EQ(frame.m_crFill, RGB(10, 11, 12));
    EXPECT_EQ(frame.m_bSelPicture, 0);

    frame.OnLButtonUp(0, POINT{70, 80});
    frame.OnLButtonDown(MK_LBUTTON, POINT{20, 20});
    EXPECT_EQ(frame.m_nSelected, 0);
    EXPECT_EQ(frame.m_nSelKind, FK_RECTANGLE);
    EXPECT_EQ(frame.m_crFill, RGB(4, 5, 6));
}

TEST_F(SelectionTest, RightAndBottomEdgesAreOutsideExceptTheExactCorner)
{
    Add(CC_RECTANGLE, RECT{10, 10, 100, 100});
    frame.OnLButtonDown(MK_LBUTTON, POINT{100, 99});
    EXPECT_FALSE(frame.m_pSelRect) << "the right edge one pixel above the corner";
    frame.OnLButtonDown(MK_LBUTTON, POINT{99, 100});
    EXPECT_FALSE(frame.m_pSelRect);
    frame.OnLButtonDown(MK_LBUTTON, POINT{10, 10});
    EXPECT_TRUE(frame.m_pSelRect) << "left and top are inside";
    frame.OnLButtonUp(0, POINT{10, 10});

    frame.OnLButtonDown(MK_LBUTTON, POINT{100, 100});
    ASSERT_TRUE(frame.m_pSelRect) << "the exact bottom-right corner selects";
    EXPECT_EQ(frame.m_nMode, MODE_NONE) << "but starts no drag";
    EXPECT_EQ(Pixel(97, 97), kBlack) << "its handles are drawn";
}

TEST_F(SelectionTest, LineHitFollowsTheWholeStraightLine)
{
    // Sloping: -10 <= d <= 10, measured vertically, also far beyond the segment.
    EXPECT_TRUE(CMainFrame::HitTestLine(0, 0, 100, 100, 300, 305));
    EXPECT_TRUE(CMainFrame::HitTestLine(0, 0, 100, 100, 300, 310));
    EXPECT_TRUE(CMainFrame::HitTestLine(0, 0, 100, 100, 300, 290));
    EXPECT_FALSE(CMainFrame::HitTestLine(0, 0, 100, 100, 300, 311));
    EXPECT_FALSE(CMainFrame::HitTestLine(0, 0, 100, 100, 300, 289));
    EXPECT_TRUE(CMainFrame::HitTestLine(0, 0, 200, 100, 100, 60)) << "d = 10 at slope 0.5";
    EXPECT_FALSE(CMainFrame::HitTestLine(0, 0, 200, 100, 100, 61));
    // Level: within 2 vertically, any x.
    for (int y = 45; y <= 55; ++y)
        EXPECT_EQ(CMainFrame::HitTestLine(10, 50, 90, 50, 5000, y), y >= 48 && y <= 52) << y;
    // Upright: within 2 horizontally, any y.
    for (int x = 15; x <= 25; ++x)
        EXPECT_EQ(CMainFrame::HitTestLine(20, 10, 20, 90, x, -400), x >= 18 && x <= 22) << x;
    // A single point counts as level.
    EXPECT_TRUE(CMainFrame::HitTestLine(30, 30, 30, 30, 900, 32));
    EXPECT_FALSE(CMainFrame::HitTestLine(30, 30, 30, 30, 30, 33));
}

TEST_F(SelectionTest, ALineIsSelectedWithItsCornersAsDrawnAndTextOrBordersNeverAre)
{
    const int text = g_pFigures->Add(std::make_unique<CShapeFigure>(
        RECT{0, 0, 400, 400}, CC_TEXT, QStringLiteral("t"), 1, kGrey, 0.0, 0.0, QString(), RECT{0, 0, 1, 1}, kWhite));
    Add(CC_BORDER, RECT{0, 0, 400, 400}, kGrey, kWhite, 20, 20, QStringLiteral("/nowhere.bmp"));
    EXPECT_FALSE(frame.HitTestFigures(200, 200));
    EXPECT_EQ(text, 0);

    Add(CC_LINE, RECT{50, 50, 20, 80});
    frame.OnLButtonDown(MK_LBUTTON, POINT{35, 65});
    ASSERT_TRUE(frame.m_pSelRect);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{50, 50, 20, 80})) << "a line's selection keeps its direction";
    EXPECT_EQ(frame.m_nSelKind, FK_LINE);
    EXPECT_EQ(frame.m_nSelected, 2);
}

TEST_F(SelectionTest, PictureSelectionsAndTheirTileSizes)
{
    const QString pic = QStringLiteral("/tmp/picture.png");
    Add(CC_RECTANGLE, RECT{0, 0, 50, 50}, kGrey, kWhite, 0, 0, pic);
    Add(CC_RECTANGLE, RECT{100, 0, 150, 50}, kGrey, kWhite, 12.5, 10, pic);
    Add(CC_RECTANGLE, RECT{200, 0, 250, 50}, kGrey, kWhite, -1, 0, pic);  // no rule makes it a picture
    Add(CC_RECTANGLE, RECT{300, 0, 350, 50}, kGrey, kWhite, -1, 4, pic);

    frame.HitTestFigures(10, 10);
    EXPECT_EQ(frame.m_bSelPicture, 1);
    EXPECT_EQ(frame.m_strSelPicture, pic);
    EXPECT_EQ(frame.m_dSelTileWidth, 0.0);
    frame.HitTestFigures(110, 10);
    EXPECT_EQ(frame.m_bSelPicture, 1);
    EXPECT_EQ(frame.m_dSelTileWidth, 12.5);
    EXPECT_EQ(frame.m_dSelTileHeight, 10.0);
    frame.HitTestFigures(210, 10);
    EXPECT_EQ(frame.m_bSelPicture, 0);
    EXPECT_EQ(frame.m_dSelTileWidth, 0.0);
    frame.HitTestFigures(310, 10);
    EXPECT_EQ(frame.m_bSelPicture, 1) << "a tile height above 0 is enough";
    EXPECT_EQ(frame.m_dSelTileWidth, -1.0);

    // A miss leaves the kind and the picture flag as they were.
    EXPECT_FALSE(frame.HitTestFigures(500, 500));
    EXPECT_EQ(frame.m_nSelKind, FK_RECTANGLE);
    EXPECT_EQ(frame.m_bSelPicture, 1);
}

TEST_F(SelectionTest, EachHandleZoneStartsItsResizeAndTheInsideAMove)
{
    Add(CC_RECTANGLE, RECT{10, 10, 100, 100});
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
        frame.OnLButtonDown(MK_LBUTTON, p);
        EXPECT_EQ(frame.m_nMode, mode) << p.x << "," << p.y;
    }
    frame.m_nMode = MODE_NONE;
    frame.OnLButtonDown(MK_LBUTTON, POINT{30, 40});
    EXPECT_EQ(frame.m_rcGrab, (RECT{20, 30, 90, 90})) << "press offset, then width and height";
    EXPECT_EQ(frame.View()->cursor().shape(), Qt::SizeAllCursor);

    // The outer half of a drawn handle lies outside the figure.
    frame.m_nMode = MODE_NONE;
    frame.OnLButtonDown(MK_LBUTTON, POINT{8, 8});
    EXPECT_FALSE(frame.m_pSelRect);
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
}

TEST_F(SelectionTest, APictureRectangleOnlyMovesEvenFromItsCorners)
{
    Add(CC_RECTANGLE, RECT{10, 10, 100, 100}, kGrey, kWhite, 0, 0, QStringLiteral("/tmp/x.png"));
    for (POINT p : {POINT{10, 10}, POINT{99, 99}, POINT{55, 12}, POINT{50, 50}, POINT{12, 97}}) {
        frame.m_nMode = MODE_NONE;
        frame.OnLButtonDown(MK_LBUTTON, p);
        EXPECT_EQ(frame.m_nMode, MODE_MOVE) << p.x << "," << p.y;
    }
}

TEST_F(SelectionTest, ALinePressPicksAnEndOrTheBody)
{
    Add(CC_LINE, RECT{100, 100, 200, 150});
    frame.OnLButtonDown(MK_LBUTTON, POINT{102, 101});
    EXPECT_EQ(frame.m_nMode, MODE_LINE_START);
    frame.m_nMode = MODE_NONE;
    frame.OnLButtonDown(MK_LBUTTON, POINT{197, 152});
    EXPECT_EQ(frame.m_nMode, MODE_LINE_END);
    frame.m_nMode = MODE_NONE;
    frame.OnLButtonDown(MK_LBUTTON, POINT{150, 130});  // d = 5
    EXPECT_EQ(frame.m_nMode, MODE_LINE_MOVE);
    EXPECT_EQ(frame.m_rcGrab, (RECT{50, 30, 100, 50}));

    // An upright line's body moves it too, within 2 pixels as it is hit.
    g_pFigures->RemoveAll();
    Add(CC_LINE, RECT{300, 100, 300, 200});
    frame.m_nMode = MODE_NONE;
    frame.OnLButtonDown(MK_LBUTTON, POINT{302, 150});
    EXPECT_EQ(frame.m_nMode, MODE_LINE_MOVE);
    EXPECT_EQ(frame.m_rcGrab, (RECT{2, 50, 0, 100}));
    // A single-point line has ends but no body.
    g_pFigures->RemoveAll();
    Add(CC_LINE, RECT{400, 400, 400, 400});
    frame.m_nMode = MODE_NONE;
    frame.OnLButtonDown(MK_LBUTTON, POINT{500, 401});
    EXPECT_TRUE(frame.m_pSelRect);
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
}

TEST_P(SelectionInputTest, HandlesFollowTheSelectionAndAnEmptyPressClearsIt)
{
    Add(CC_RECTANGLE, RECT{10, 10, 31, 21});
    Add(CC_LINE, RECT{50, 50, 20, 80});
    Add(CC_ELLIPSE, RECT{200, 200, 260, 240});
    frame.RefreshCanvas(false);
    const QImage plain = frame.m_bmpCanvas.copy();

    Press(POINT{15, 15}, GetParam());
    Release(POINT{15, 15}, GetParam());
    EXPECT_EQ(frame.m_nSelected, 0);
    const auto first = Diff(plain, frame.m_bmpCanvas);
    EXPECT_TRUE(first.count({7, 7}) && first.count({28, 18})) << "rings round (10, 10) and (31, 21)";

    Press(POINT{230, 220}, GetParam());
    Release(POINT{230, 220}, GetParam());
    EXPECT_EQ(frame.m_nSelected, 2);
    const auto second = Diff(plain, frame.m_bmpCanvas);
    EXPECT_FALSE(second.count({7, 7})) << "the old handles are erased";
    EXPECT_TRUE(second.count({197, 197}));

    Press(POINT{600, 600}, GetParam());
    Release(POINT{600, 600}, GetParam());
    EXPECT_FALSE(frame.m_pSelRect);
    EXPECT_EQ(frame.m_nSelKind, -1);
    EXPECT_EQ(frame.m_nSelected, 2) << "the index stays at the last selection";
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
    EXPECT_TRUE(Diff(plain, frame.m_bmpCanvas).empty()) << "no handles are left";
}

TEST_P(SelectionInputTest, EachDragModeShowsItsCursorOnlyWhileTheButtonDrags)
{
    Add(CC_RECTANGLE, RECT{10, 10, 100, 100});
    struct Case {
        POINT press;
        Qt::CursorShape shape;
        POINT back;  // where the drag puts the rectangle back as it was
    };
    const Case cases[] = {
        {{12, 12}, Qt::SizeFDiagCursor, {10, 10}}, {{55, 12}, Qt::SizeVerCursor, {55, 10}},
        {{97, 12}, Qt::SizeBDiagCursor, {100, 10}}, {{97, 55}, Qt::SizeHorCursor, {100, 55}},
        {{50, 50}, Qt::SizeAllCursor, {50, 50}},
    };
    for (const Case& c : cases) {
        Press(c.press, GetParam());
        Move(POINT{c.press.x + 1, c.press.y + 1}, GetParam());
        EXPECT_EQ(frame.View()->cursor().shape(), c.shape) << c.press.x << "," << c.press.y;
        Move(POINT{c.press.x + 2, c.press.y + 2}, GetParam(), MK_LBUTTON | MK_SHIFT);
        EXPECT_EQ(frame.View()->cursor().shape(), Qt::ArrowCursor);
        Move(c.back, GetParam());
        Release(c.back, GetParam());
        EXPECT_EQ(frame.View()->cursor().shape(), Qt::ArrowCursor);
        EXPECT_EQ(Fig(0).m_rect, (RECT{10, 10, 100, 100})) << "a drag back to its start changes nothing";
    }
}

INSTANTIATE_TEST_SUITE_P(BothPaths, SelectionInputTest, ::testing::Values(Input::Handlers, Input::Events),
                         InputName);

}  // namespace
