// Moving and resizing with the mouse and the arrow keys: the rectangle each
// mode makes, the figure the release re-makes, and drags that outlive a lost
// release.
#include "EditingFixture.h"

namespace {

using MoveResizeTest = EditingTest;

TEST_F(MoveResizeTest, EveryModeMovesItsOwnEdgesAndTheTopLeftPastTheCornerInverts)
{
    // Each press, the mode it starts, and the rectangle after a move to (150, 120).
    const std::tuple<POINT, int, RECT> cases[] = {
        {{40, 30}, MODE_MOVE, {120, 100, 210, 190}},   {{55, 12}, MODE_SIZE_N, {10, 120, 100, 100}},
        {{97, 12}, MODE_SIZE_NE, {10, 120, 150, 100}},  {{97, 55}, MODE_SIZE_E, {10, 10, 150, 100}},
        {{97, 97}, MODE_SIZE_SE, {10, 10, 150, 120}},   {{55, 97}, MODE_SIZE_S, {10, 10, 100, 120}},
        {{12, 97}, MODE_SIZE_SW, {150, 10, 100, 120}},  {{12, 55}, MODE_SIZE_W, {150, 10, 100, 100}},
        {{12, 12}, MODE_SIZE_NW, {150, 120, 100, 100}},
    };
    for (const auto& [press, mode, expected] : cases) {
        g_pFigures->RemoveAll();
        Add(FK_ELLIPSE, RECT{10, 10, 100, 100});
        Press(press);
        ASSERT_EQ(frame.m_nMode, mode);
        Move(POINT{150, 120});
        EXPECT_EQ(*frame.m_pSelRect, expected) << mode;
        EXPECT_EQ(Fig(0).m_rect, (RECT{10, 10, 100, 100})) << "the record waits for the release";
        Release(POINT{150, 120});
        EXPECT_EQ(Fig(0).m_rect, expected) << mode;
    }
    // The top-left handle's stored corners stay inverted; a press selects the normalised copy.
    Click(POINT{120, 110});
    ASSERT_TRUE(frame.m_pSelRect);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{100, 100, 150, 120}));
}

TEST_F(MoveResizeTest, ALineEndFollowsThePointerAndItsBodyMovesWhole)
{
    Add(FK_LINE, RECT{100, 100, 200, 150}, RGB(9, 9, 9));
    Drag(POINT{101, 101}, POINT{50, 60});
    EXPECT_EQ(Fig(0).m_rect, (RECT{50, 60, 200, 150})) << "the end point stays";
    Drag(POINT{199, 151}, POINT{220, 100});
    EXPECT_EQ(Fig(0).m_rect, (RECT{50, 60, 220, 100})) << "the start point stays";
    // Body: slope -0.235; a press on it at x = 135 grabs (85, y - 60).
    Drag(POINT{135, 80}, POINT{145, 90});
    EXPECT_EQ(Fig(0).m_rect, (RECT{60, 70, 230, 110}));
    EXPECT_EQ(Fig(0).LineColor(), RGB(9, 9, 9));
    EXPECT_EQ(Fig(0).m_nKind, FK_LINE);
}

TEST_F(MoveResizeTest, AMovedPictureRectangleKeepsItsPictureAndTilesWithAWhiteFill)
{
    const QString path = Picture(QStringLiteral("p.png"), 4, 4);
    const COLORREF line = RGB(0, 128, 0);
    AddPicture(FK_RECTANGLE, RECT{400, 10, 500, 100}, path, 25.0, 30.0, line);
    Press(POINT{498, 98});
    ASSERT_EQ(frame.m_nMode, MODE_MOVE) << "a bordered rectangle only moves";
    Move(POINT{500, 110});
    EXPECT_EQ(Pixel(501, 22), line) << "the outline's corner, where its dashes start, in the line colour";
    Release(POINT{500, 110});
    const CShapeFigure& b = Fig(0);
    EXPECT_EQ(b.m_rect, (RECT{402, 22, 502, 112}));
    EXPECT_EQ(b.m_dTileWidth, 25.0);
    EXPECT_EQ(b.m_dTileHeight, 30.0);
    EXPECT_EQ(b.m_strPicture, path);
    EXPECT_EQ(b.FillColor(), kWhite);
    EXPECT_EQ(b.LineColor(), line);
    EXPECT_EQ(Pixel(402, 22), kRed) << "its tiles start at the new place";

    // Arrow keys re-make it the same way.
    Tap(VK_DOWN);
    EXPECT_EQ(Fig(0).m_rect, (RECT{402, 27, 502, 117}));
    EXPECT_EQ(Fig(0).m_strPicture, path);
    EXPECT_EQ(Fig(0).FillColor(), kWhite);
}

TEST_F(MoveResizeTest, ADragWhoseReleaseWasLostGoesOnUntilTheNextRelease)
{
    Add(FK_RECTANGLE, RECT{10, 10, 100, 100});
    Press(POINT{97, 97});
    Move(POINT{150, 160});
    // The button came up outside the window: no release. The next press only takes the focus.
    Press(POINT{400, 400});
    EXPECT_EQ(frame.m_nMode, MODE_SIZE_SE);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{10, 10, 150, 160}));
    Move(POINT{180, 170});
    Release(POINT{180, 170});
    EXPECT_EQ(Fig(0).m_rect, (RECT{10, 10, 180, 170}));
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
}

TEST_F(MoveResizeTest, ALineMovedUpTwiceIsTenPixelsHigherAtBothEndsAndTheReleaseNeedsAValidIndex)
{
    Add(FK_LINE, RECT{100, 200, 40, 120});
    Click(POINT{70, 160});
    ASSERT_EQ(frame.m_nSelKind, FK_LINE);
    Tap(VK_UP);
    Tap(VK_UP);
    EXPECT_EQ(Fig(0).m_rect, (RECT{100, 190, 40, 110}));
    Key(VK_LEFT);
    Tap(VK_DOWN);
    EXPECT_EQ(Fig(0).m_rect, (RECT{95, 195, 35, 115})) << "one release commits both steps";
    // The release needs a valid index.
    g_pFigures->RemoveAll();
    Tap(VK_RIGHT);
    EXPECT_EQ(g_pFigures->GetSize(), 0);
}

}  // namespace
