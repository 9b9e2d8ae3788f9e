// Moving and resizing with the mouse: the outline steps in not-XOR, the
// rectangle each mode makes, the figure the release re-makes, and drags
// that outlive a lost release.
#include "EditingFixture.h"

#include <QTemporaryDir>

namespace {

using MoveResizeTest = EditingTest;
using MoveResizeInputTest = EditingInputTest;

TEST_P(MoveResizeInputTest, TheTopLeftHandleDraggedPastTheOppositeCornerStoresAnInvertedRectangle)
{
    Add(CC_RECTANGLE, RECT{10, 10, 100, 100}, RGB(1, 2, 3), RGB(4, 5, 6));
    Drag(POINT{11, 11}, POINT{150, 120}, GetParam());
    ASSERT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_EQ(Fig(0).m_rect, (RECT{150, 120, 100, 100}));
    EXPECT_EQ(frame.m_nMode, MODE_NONE);

    Press(POINT{120, 110}, GetParam());
    ASSERT_TRUE(frame.m_pSelRect);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{100, 100, 150, 120}));
    Release(POINT{120, 110}, GetParam());
}

TEST_P(MoveResizeInputTest, AMoveTakesTheLastMovedPositionNotTheReleasePoint)
{
    Add(CC_RECTANGLE, RECT{10, 10, 100, 100}, RGB(1, 2, 3), RGB(4, 5, 6));
    Press(POINT{30, 40}, GetParam());
    EXPECT_EQ(frame.m_nMode, MODE_MOVE);
    Move(POINT{45, 60}, GetParam());
    Move(POINT{60, 90}, GetParam());
    Release(POINT{64, 97}, GetParam());
    const CShapeFigure& f = Fig(0);
    EXPECT_EQ(f.m_rect, (RECT{40, 60, 130, 150}));
    EXPECT_EQ(f.m_nKind, FK_RECTANGLE);
    EXPECT_EQ(f.LineColor(), RGB(1, 2, 3));
    EXPECT_EQ(f.FillColor(), RGB(4, 5, 6));
    EXPECT_TRUE(f.m_strPicture.isEmpty());
    EXPECT_EQ(frame.m_nMode, MODE_NONE);

    // The canvas is redrawn with the handles of the new place only.
    const auto handles = Diff(PlainRender(), frame.m_bmpCanvas);
    EXPECT_TRUE(handles.count({37, 57}) && handles.count({132, 152}));
    EXPECT_FALSE(handles.count({7, 7}));
    EXPECT_EQ(Pixel(85, 105), RGB(4, 5, 6));
}

TEST_F(MoveResizeTest, EveryModeMovesItsOwnEdges)
{
    struct Case {
        POINT press;
        int mode;
        RECT expected;  // after a move to (200, 150)
    };
    const Case cases[] = {
        {{12, 12}, MODE_SIZE_NW, {200, 150, 100, 100}}, {{55, 12}, MODE_SIZE_N, {10, 150, 100, 100}},
        {{97, 12}, MODE_SIZE_NE, {10, 150, 200, 100}},  {{97, 55}, MODE_SIZE_E, {10, 10, 200, 100}},
        {{97, 97}, MODE_SIZE_SE, {10, 10, 200, 150}},   {{55, 97}, MODE_SIZE_S, {10, 10, 100, 150}},
        {{12, 97}, MODE_SIZE_SW, {200, 10, 100, 150}},  {{12, 55}, MODE_SIZE_W, {200, 10, 100, 100}},
        {{40, 30}, MODE_MOVE, {170, 130, 260, 220}},
    };
    for (const Case& c : cases) {
        g_pFigures->RemoveAll();
        Add(CC_ELLIPSE, RECT{10, 10, 100, 100});
        frame.m_nMode = MODE_NONE;
        frame.OnLButtonDown(MK_LBUTTON, c.press);
        ASSERT_EQ(frame.m_nMode, c.mode);
        frame.OnMouseMove(MK_LBUTTON, POINT{200, 150});
        EXPECT_EQ(*frame.m_pSelRect, c.expected) << c.mode;
        EXPECT_EQ(Fig(0).m_rect, (RECT{10, 10, 100, 100})) << "the record waits for the release";
        frame.OnLButtonUp(0, POINT{200, 150});
        EXPECT_EQ(Fig(0).m_rect, c.expected) << c.mode;
        EXPECT_EQ(Fig(0).m_nKind, FK_ELLIPSE);
    }
}

TEST_F(MoveResizeTest, ALineEndFollowsThePointerAndItsBodyMovesWhole)
{
    Add(CC_LINE, RECT{100, 100, 200, 150}, RGB(9, 9, 9));
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

TEST_F(MoveResizeTest, OutlineStepsLeaveTheStartGhostAndTheCurrentOutlineOnly)
{
    Add(CC_RECTANGLE, RECT{10, 10, 100, 100}, RGB(20, 40, 60), RGB(220, 200, 180));
    Add(CC_ELLIPSE, RECT{150, 10, 250, 90});
    frame.RefreshCanvas(false);
    struct Case {
        POINT press;
        RECT start;
        POINT last;  // the last move
        RECT end;
    };
    for (const Case& c : {Case{{50, 50}, {10, 10, 100, 100}, {70, 80}, {30, 40, 120, 130}},
                          Case{{246, 50}, {150, 10, 250, 90}, {300, 50}, {150, 10, 300, 90}}}) {
        const POINT press = c.press;
        const RECT start = c.start, end = c.end;
        frame.OnLButtonDown(MK_LBUTTON, press);
        frame.OnLButtonUp(0, press);  // select: handles shown, no change
        const QImage selected = frame.m_bmpCanvas.copy();
        frame.OnLButtonDown(MK_LBUTTON, press);
        for (int i = 1; i <= 5; ++i)
            frame.OnMouseMove(MK_LBUTTON, POINT{press.x + i * 7, press.y + i * 3});
        frame.OnMouseMove(MK_LBUTTON, c.last);
        const POINT last = c.last;
        ASSERT_EQ(*frame.m_pSelRect, end);

        // The same two dashed grey outlines drawn in not-XOR on the selected canvas.
        QImage expected = selected.copy();
        CDC dc(expected);
        dc.SetROP2(R2_NOTXORPEN);
        dc.SelectPen(CPen(PS_DASH, 1, kGrey));
        dc.SelectBrush(CBrush::Null());
        const bool ellipse = frame.m_nSelKind == FK_ELLIPSE;
        for (const RECT& r : {start, end})
            ellipse ? dc.Ellipse(r) : dc.Rectangle(r);
        EXPECT_TRUE(Diff(expected, frame.m_bmpCanvas).empty()) << (ellipse ? "ellipse" : "rectangle");
        frame.OnLButtonUp(0, last);
    }
}

TEST_F(MoveResizeTest, APictureMovesAsARectangleInItsLineColourAndKeepsItsPicture)
{
    QTemporaryDir dir;
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(ColorToPixel(RGB(0, 0, 255)));
    const QString path = dir.filePath(QStringLiteral("p.png"));
    ASSERT_TRUE(img.save(path));
    const COLORREF line = RGB(0, 128, 0);
    Add(CC_ELLIPSE, RECT{10, 10, 100, 100}, line, RGB(7, 7, 7), 0, 0, path);  // a picture ellipse moves as a rectangle
    Add(CC_RECTANGLE, RECT{400, 10, 500, 100}, line, RGB(7, 7, 7), 25.0, 30.0, path);
    frame.RefreshCanvas(false);

    frame.OnLButtonDown(MK_LBUTTON, POINT{12, 12});
    ASSERT_EQ(frame.m_nMode, MODE_MOVE);
    frame.OnMouseMove(MK_LBUTTON, POINT{122, 212});
    EXPECT_EQ(Pixel(209, 210), line) << "the outline's corner, where its dashes start, in the line colour";
    EXPECT_EQ(Pixel(120, 299), line) << "a rectangle, not an ellipse";
    frame.OnLButtonUp(0, POINT{122, 212});
    EXPECT_EQ(Fig(0).m_rect, (RECT{120, 210, 210, 300}));
    EXPECT_EQ(Fig(0).m_nKind, FK_ELLIPSE);
    EXPECT_EQ(Fig(0).FillColor(), kWhite);
    EXPECT_EQ(Fig(0).m_strPicture, path);

    frame.OnLButtonDown(MK_LBUTTON, POINT{498, 98});
    ASSERT_EQ(frame.m_nMode, MODE_MOVE) << "a bordered rectangle only moves";
    frame.OnMouseMove(MK_LBUTTON, POINT{500, 110});
    frame.OnLButtonUp(0, POINT{500, 110});
    const CShapeFigure& b = Fig(1);
    EXPECT_EQ(b.m_rect, (RECT{402, 22, 502, 112}));
    EXPECT_EQ(b.m_dTileWidth, 25.0);
    EXPECT_EQ(b.m_dTileHeight, 30.0);
    EXPECT_EQ(b.m_strPicture, path);
    EXPECT_EQ(b.FillColor(), kWhite);
    EXPECT_EQ(b.LineColor(), line);
    EXPECT_EQ(Pixel(403, 23), RGB(0, 0, 255)) << "its tiles show at the new place";
}

TEST_F(MoveResizeTest, ADragWhoseReleaseWasLostGoesOnUntilTheNextRelease)
{
    Add(CC_RECTANGLE, RECT{10, 10, 100, 100});
    frame.OnLButtonDown(MK_LBUTTON, POINT{97, 97});
    frame.OnMouseMove(MK_LBUTTON, POINT{150, 160});
    // The button came up outside the window: no release. The next press only takes the focus.
    frame.OnLButtonDown(MK_LBUTTON, POINT{400, 400});
    EXPECT_EQ(frame.m_nMode, MODE_SIZE_SE);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{10, 10, 150, 160}));
    frame.OnMouseMove(MK_LBUTTON, POINT{180, 170});
    frame.OnLButtonUp(0, POINT{180, 170});
    EXPECT_EQ(Fig(0).m_rect, (RECT{10, 10, 180, 170}));
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
}

TEST_F(MoveResizeTest, AForwardedReleaseMovesTheSelectionByTheBoxOffset)
{
    frame.m_pSelRect = std::make_shared<RECT>(RECT{100, 200, 300, 400});
    frame.m_rcGrab = RECT{15, 25, 200, 200};
    const std::pair<int, RECT> cases[] = {
        {MODE_SIZE_NW, {130, 240, 300, 400}}, {MODE_SIZE_N, {100, 240, 300, 400}},
        {MODE_SIZE_NE, {100, 240, 130, 400}}, {MODE_SIZE_E, {100, 200, 130, 400}},
        {MODE_SIZE_SE, {100, 200, 130, 240}}, {MODE_SIZE_S, {100, 200, 300, 240}},
        {MODE_SIZE_SW, {130, 200, 300, 240}}, {MODE_SIZE_W, {130, 200, 300, 400}},
        {MODE_MOVE, {115, 215, 315, 415}},    {MODE_LINE_MOVE, {100, 200, 300, 400}},
    };
    for (const auto& [mode, expected] : cases) {
        *frame.m_pSelRect = RECT{100, 200, 300, 400};
        frame.m_nMode = mode;
        frame.ApplyForwardedRelease(30, 40);
        EXPECT_EQ(*frame.m_pSelRect, expected) << mode;
    }
}

TEST_F(MoveResizeTest, AForwardedReleaseOfAPlainFigureKeepsTheLastMovedRectangle)
{
    Add(CC_RECTANGLE, RECT{10, 10, 100, 100});
    frame.OnLButtonDown(MK_LBUTTON, POINT{97, 97});
    frame.OnMouseMove(MK_LBUTTON, POINT{150, 160});
    frame.OnLButtonUp(FORWARDED_UP, POINT{3, 4});
    EXPECT_EQ(Fig(0).m_rect, (RECT{10, 10, 150, 160}));
}

INSTANTIATE_TEST_SUITE_P(BothPaths, MoveResizeInputTest, ::testing::Values(Input::Handlers, Input::Events),
                         InputName);

}  // namespace
