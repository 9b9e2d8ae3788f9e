// Drags on the canvas: a creation drag (an Insert command arms exactly one;
// the band follows only a plain left-button drag; the release makes the
// figure as dragged, never normalised, leaving the selection alone), and
// moving and resizing with the mouse and the arrow keys: the rectangle each
// handle makes, the figure the release re-makes, and drags that outlive a
// lost release.
#include "support/WindowTest.h"

namespace {

using CreateDragTest = WindowTest;
using MoveResizeTest = WindowTest;

TEST_F(CreateDragTest, ARectangleDragMakesOneGreyFigureAndLeavesTheSelectionAlone)
{
    Add(FK_RECTANGLE, RECT{10, 10, 50, 50});
    Click(POINT{20, 20});
    Commands({ID_INSERT_LINE, ID_INSERT_RECTANGLE});
    Drag(POINT{100, 100}, POINT{200, 150});
    // Drawn straight into the canvas by the figure itself: its dash-dot pen
    // (9 on, 6 off, from the top-right corner leftwards) over the solid grey
    // outline, the gaps in the white background colour; the selection's handle stays.
    ExpectPixels({{191, 100, kGrey}, {190, 100, kWhite}, {184, 100, kGrey}, {7, 7, kBlack}});
    // Delete acts on the selection the drag left alone; a second drag makes nothing.
    ws.QueueMessageBoxAnswer(IDOK);
    Key(Qt::Key_Delete);
    Drag(POINT{300, 300}, POINT{350, 350});
    EXPECT_EQ(Figures(), std::vector<std::string>{"rectangle 100,100,200,150 c0c0c0/ffffff"});
}

TEST_F(CreateDragTest, ShiftCtrlOrASecondButtonFreezeTheBandButTheReleasePointCounts)
{
    frame.OnCommand(ID_INSERT_LINE);
    Press(POINT{50, 50});
    Move(POINT{100, 100});
    Move(POINT{150, 60}, Qt::ShiftModifier);
    Move(POINT{150, 60}, Qt::ControlModifier);
    Mouse(QEvent::MouseMove, POINT{150, 60}, {}, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(Pixel(75, 75), kGrey) << "the band from the last plain move";
    Release(POINT{150, 50});
    EXPECT_EQ(Figures(), std::vector<std::string>{"line 50,50,150,50 c0c0c0/ffffff"});
    ExpectPixels({{75, 75, kWhite}, {100, 50, kGrey}});  // the last band does not stay behind
}

TEST_F(CreateDragTest, AClickMakesAnEmptyFigureAndADragUpAndLeftKeepsItsCornersAndIsStillHit)
{
    frame.OnCommand(ID_INSERT_CIRCLE);
    const QImage before = Canvas();
    Click(POINT{70, 80});
    EXPECT_TRUE(Canvas() == before) << "an empty ellipse draws nothing";
    frame.OnCommand(ID_INSERT_RECTANGLE);
    Drag(POINT{200, 150}, POINT{100, 100});
    EXPECT_EQ(Figures(), (std::vector<std::string>{"ellipse 70,80,70,80 c0c0c0/ffffff",
                                                   "rectangle 200,150,100,100 c0c0c0/ffffff"}));
    // Drawn as the same rectangle dragged down and to the right: x 100..199,
    // y 100..149; selected with handles on the normalised corners, it keeps its own.
    frame.RefreshCanvas(false);
    ExpectPixels({{100, 100, kGrey}, {199, 149, kGrey}, {200, 150, kWhite}});
    Press(POINT{150, 125});
    EXPECT_EQ(Pixel(97, 97), kBlack);
    EXPECT_EQ(Fig(1).m_rect, (RECT{200, 150, 100, 100}));
}

TEST_F(CreateDragTest, TheTextBoxBandIsDashedAndAForwardedReleaseEndsWhereItWasLastDrawn)
{
    frame.OnCommand(ID_INSERT_EDITBOX);
    const QImage before = Canvas();
    Press(POINT{100, 100});
    Move(POINT{200, 150});
    ExpectPixels({{182, 100, kGrey}, {181, 100, kWhite}, {175, 100, kGrey}});  // PS_DASH: 18 on, 6 off, from the right
    // A text box passes its own client coordinates; they are not canvas points.
    frame.OnLButtonUp(FORWARDED_UP, POINT{5, 7});
    EXPECT_TRUE(Canvas() == before) << "the band is removed";
    ASSERT_NE(g_pActiveEdit.data(), nullptr);
    EXPECT_EQ(g_pActiveEdit->GetCanvasRect(), (RECT{100, 100, 200, 150}));
}

TEST_F(MoveResizeTest, EveryHandleMovesItsOwnEdgesAndTheTopLeftPastTheCornerInverts)
{
    // Each press, and the rectangle a drag from it to (150, 120) makes.
    const std::pair<POINT, RECT> cases[] = {
        {{40, 30}, {120, 100, 210, 190}},  {{55, 12}, {10, 120, 100, 100}}, {{97, 12}, {10, 120, 150, 100}},
        {{97, 55}, {10, 10, 150, 100}},    {{97, 97}, {10, 10, 150, 120}},  {{55, 97}, {10, 10, 100, 120}},
        {{12, 97}, {150, 10, 100, 120}},   {{12, 55}, {150, 10, 100, 100}}, {{12, 12}, {150, 120, 100, 100}},
    };
    for (const auto& [press, expected] : cases) {
        g_pFigures->RemoveAll();
        Add(FK_ELLIPSE, RECT{10, 10, 100, 100});
        Press(press);
        Move(POINT{150, 120});
        EXPECT_EQ(Fig(0).m_rect, (RECT{10, 10, 100, 100})) << "the record waits for the release";
        Release(POINT{150, 120});
        EXPECT_EQ(Fig(0).m_rect, expected) << press.x << "," << press.y;
        EXPECT_EQ(Fig(0).m_nKind, FK_ELLIPSE);
    }
    // The stored corners stay inverted; a press selects the normalised copy.
    Click(POINT{120, 110});
    EXPECT_EQ(Pixel(97, 97), kBlack) << "a handle ring round (100, 100)";
}

TEST_F(MoveResizeTest, ALineEndFollowsThePointerAndItsBodyMovesWhole)
{
    Add(FK_LINE, RECT{100, 100, 200, 150}, RGB(9, 9, 9), kWhite);
    Drag(POINT{101, 101}, POINT{50, 60});
    EXPECT_EQ(Fig(0).m_rect, (RECT{50, 60, 200, 150})) << "the end point stays";
    Drag(POINT{199, 151}, POINT{220, 100});
    EXPECT_EQ(Fig(0).m_rect, (RECT{50, 60, 220, 100})) << "the start point stays";
    // Body: slope -0.235; a press on it at x = 135 grabs (85, y - 60).
    Drag(POINT{135, 80}, POINT{145, 90});
    EXPECT_EQ(Figure(0), "line 60,70,230,110 090909/ffffff");
}

TEST_F(MoveResizeTest, AMovedPictureRectangleKeepsItsPictureAndTilesWithAWhiteFill)
{
    AddPicture(FK_RECTANGLE, RECT{400, 10, 500, 100}, Picture(QStringLiteral("p.png"), 4, 4), 25.0, 30.0, RGB(0, 128, 0));
    Press(POINT{498, 98});  // a corner: a bordered rectangle only moves
    Move(POINT{500, 110});
    EXPECT_EQ(Pixel(501, 22), RGB(0, 128, 0)) << "the outline's corner, where its dashes start, in the line colour";
    Release(POINT{500, 110});
    Key(Qt::Key_Down);  // arrow keys re-make it the same way
    EXPECT_EQ(Figure(0), "rectangle 402,27,502,117 008000/ffffff p.png 25x30");
    EXPECT_EQ(Pixel(402, 27), kRed) << "its tiles start at the new place";
}

TEST_F(MoveResizeTest, ADragWhoseReleaseWasLostGoesOnUntilTheNextRelease)
{
    Add(FK_RECTANGLE, RECT{10, 10, 100, 100});
    Press(POINT{97, 97});
    Move(POINT{150, 160});
    // The button came up outside the window: no release. The next press only takes the focus.
    Press(POINT{400, 400});
    Move(POINT{180, 170});
    Release(POINT{180, 170});
    EXPECT_EQ(Fig(0).m_rect, (RECT{10, 10, 180, 170}));
}

TEST_F(MoveResizeTest, ArrowKeysMoveFiveAStepAndOneReleaseCommitsEveryStep)
{
    Add(FK_LINE, RECT{100, 200, 40, 120});
    Click(POINT{70, 160});
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    EXPECT_EQ(Fig(0).m_rect, (RECT{100, 190, 40, 110}));
    QTest::keyPress(frame.View(), Qt::Key_Left);
    Key(Qt::Key_Down);
    EXPECT_EQ(Fig(0).m_rect, (RECT{95, 195, 35, 115}));
    // The release needs a valid index.
    g_pFigures->RemoveAll();
    Key(Qt::Key_Right);
    EXPECT_EQ(g_pFigures->GetSize(), 0);
}

}  // namespace
