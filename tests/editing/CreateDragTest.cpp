// Tool modes and creation drags: the Insert commands arm exactly one drag,
// the band follows only a plain left-button drag and always erases exactly,
// and the release makes the figure as dragged, never normalised.
#include "EditingFixture.h"

#include "resources/ResourceIds.h"
#include "text/TextState.h"

#include <QScrollBar>

namespace {

using CreateDragTest = EditingTest;
using CreateDragInputTest = EditingInputTest;

TEST_F(CreateDragTest, InsertCommandsArmOneToolAndLeaveTheSelectionAlone)
{
    Add(CC_RECTANGLE, RECT{10, 10, 50, 50});
    frame.OnLButtonDown(MK_LBUTTON, POINT{20, 20});
    frame.OnLButtonUp(0, POINT{20, 20});
    const auto sel = frame.m_pSelRect;
    ASSERT_TRUE(sel);

    const std::pair<UINT, int> tools[] = {
        {ID_INSERT_LINE, CC_LINE}, {ID_INSERT_RECTANGLE, CC_RECTANGLE}, {ID_INSERT_CIRCLE, CC_ELLIPSE}};
    for (const auto& [id, shape] : tools) {
        frame.OnCommand(id);
        EXPECT_EQ(frame.m_nMode, MODE_DRAW) << id;
        EXPECT_EQ(frame.m_nShape, shape) << id;
    }
    frame.OnCommand(ID_INSERT_EDITBOX);
    EXPECT_EQ(frame.m_nMode, MODE_PLACE_TEXT);
    EXPECT_EQ(frame.m_nShape, CC_ELLIPSE) << "EditBox leaves the shape code";
    EXPECT_EQ(frame.m_pSelRect, sel);
    EXPECT_EQ(frame.m_nSelKind, FK_RECTANGLE);
    for (UINT id : {ID_INSERT_LINE, ID_INSERT_RECTANGLE, ID_INSERT_CIRCLE, ID_INSERT_EDITBOX})
        EXPECT_TRUE(frame.FindAction(id)->isEnabled()) << id;
}

TEST_P(CreateDragInputTest, RectangleDragMakesTheGreyFigureAndEndsTheTool)
{
    frame.OnCommand(ID_INSERT_RECTANGLE);
    Drag(POINT{100, 100}, POINT{200, 150}, GetParam());

    ASSERT_EQ(g_pFigures->GetSize(), 1);
    const CShapeFigure& f = Fig(0);
    EXPECT_EQ(f.m_nKind, FK_RECTANGLE);
    EXPECT_EQ(f.m_rect, (RECT{100, 100, 200, 150}));
    EXPECT_EQ(f.LineColor(), kGrey);
    EXPECT_EQ(f.FillColor(), kWhite);
    EXPECT_EQ(f.m_dTileWidth, 0.0);
    EXPECT_TRUE(f.m_strPicture.isEmpty());
    EXPECT_EQ(f.m_nTextId, 0);
    EXPECT_FALSE(f.m_pFormatRect.has_value());
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
    EXPECT_EQ(frame.m_nShape, -1);

    // Drawn straight into the canvas by the figure itself: its dash-dot pen
    // (9 on, 6 off, from the top-right corner leftwards) over the solid grey
    // outline, the gaps in the white background colour; white inside.
    EXPECT_EQ(Pixel(199, 100), kGrey);
    EXPECT_EQ(Pixel(191, 100), kGrey);
    EXPECT_EQ(Pixel(190, 100), kWhite);
    EXPECT_EQ(Pixel(185, 100), kWhite);
    EXPECT_EQ(Pixel(184, 100), kGrey);
    EXPECT_EQ(Pixel(150, 125), kWhite);
    EXPECT_EQ(Pixel(200, 150), kWhite);
    EXPECT_EQ(Pixel(99, 99), kWhite);

    // A second drag makes nothing: the tool was armed for one drag only.
    Drag(POINT{300, 300}, POINT{350, 350}, GetParam());
    EXPECT_EQ(g_pFigures->GetSize(), 1);
}

TEST_P(CreateDragInputTest, TheBandFollowsThePointerAndErasesExactly)
{
    // A coloured figure under the band: not-XOR must give its pixels back.
    Add(CC_RECTANGLE, RECT{40, 40, 160, 160}, RGB(10, 20, 200), RGB(200, 30, 30));
    frame.RefreshCanvas(false);
    const QImage before = frame.m_bmpCanvas.copy();

    frame.OnCommand(ID_INSERT_RECTANGLE);
    Press(POINT{50, 60}, GetParam());
    Move(POINT{120, 110}, GetParam());
    // The band is the solid grey rectangle (50, 60)-(120, 110): right and bottom excluded.
    EXPECT_EQ(Pixel(50, 70), PixelToColor(~(ColorToPixel(kGrey) ^ before.pixel(50, 70))));
    EXPECT_EQ(Pixel(119, 109), PixelToColor(~(ColorToPixel(kGrey) ^ before.pixel(119, 109))));
    EXPECT_EQ(frame.m_bmpCanvas.pixel(120, 110), before.pixel(120, 110));
    EXPECT_EQ(frame.m_bmpCanvas.pixel(80, 80), before.pixel(80, 80)) << "the band's inside is not painted";

    Move(POINT{180, 200}, GetParam());
    EXPECT_EQ(frame.m_bmpCanvas.pixel(119, 109), before.pixel(119, 109)) << "the old band is erased";
    Move(POINT{50, 60}, GetParam());
    EXPECT_TRUE(Diff(before, frame.m_bmpCanvas).empty()) << "back at the anchor, no band is left";
    EXPECT_EQ(frame.m_ptAnchor, (POINT{50, 60}));
    EXPECT_EQ(frame.m_ptCurrent, (POINT{50, 60}));
}

TEST_P(CreateDragInputTest, ShiftCtrlOrASecondButtonFreezeTheBandButTheReleasePointCounts)
{
    frame.OnCommand(ID_INSERT_LINE);
    Press(POINT{50, 50}, GetParam());
    Move(POINT{100, 100}, GetParam());
    EXPECT_EQ(Pixel(75, 75), kGrey);
    for (UINT extra : {MK_SHIFT, MK_CONTROL, MK_RBUTTON}) {
        Move(POINT{150, 60}, GetParam(), MK_LBUTTON | extra);
        EXPECT_EQ(frame.m_ptCurrent, (POINT{100, 100})) << extra;
        EXPECT_EQ(Pixel(75, 75), kGrey) << extra;
    }
    Release(POINT{150, 50}, GetParam());
    ASSERT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_EQ(Fig(0).m_rect, (RECT{50, 50, 150, 50}));
    EXPECT_EQ(Pixel(75, 75), kWhite) << "the last band does not stay behind";
    EXPECT_EQ(Pixel(100, 50), kGrey);
}

TEST_F(CreateDragTest, PressAndReleaseAtOnePointAddsAnEmptyFigure)
{
    frame.OnCommand(ID_INSERT_CIRCLE);
    const QImage before = frame.m_bmpCanvas.copy();
    frame.OnLButtonDown(MK_LBUTTON, POINT{70, 80});
    frame.OnLButtonUp(0, POINT{70, 80});
    ASSERT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_EQ(Fig(0).m_rect, (RECT{70, 80, 70, 80}));
    EXPECT_EQ(Fig(0).m_nKind, FK_ELLIPSE);
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
    EXPECT_TRUE(Diff(before, frame.m_bmpCanvas).empty());
}

TEST_F(CreateDragTest, ADragUpAndLeftStoresTheRectangleInvertedAndItIsStillHit)
{
    frame.OnCommand(ID_INSERT_RECTANGLE);
    Drag(POINT{200, 150}, POINT{100, 100});
    ASSERT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_EQ(Fig(0).m_rect, (RECT{200, 150, 100, 100}));

    // It still draws as the same rectangle dragged down and to the right
    // would: the outline on x 100..199, y 100..149 and the fill inside it.
    g_pFigures->GetAt(0)->m_logbrush.lbColor = RGB(200, 0, 0);
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(100, 100), kGrey);
    EXPECT_EQ(Pixel(199, 149), kGrey);
    EXPECT_EQ(Pixel(101, 101), RGB(200, 0, 0));
    EXPECT_EQ(Pixel(198, 148), RGB(200, 0, 0));
    EXPECT_EQ(Pixel(200, 150), kWhite);
    EXPECT_EQ(Pixel(99, 100), kWhite);

    frame.OnLButtonDown(MK_LBUTTON, POINT{150, 125});
    ASSERT_TRUE(frame.m_pSelRect);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{100, 100, 200, 150})) << "the selection is a normalised copy";
    EXPECT_EQ(Fig(0).m_rect, (RECT{200, 150, 100, 100})) << "the figure keeps its corners";

    // A line dragged up and left runs from the press point to the release point.
    frame.OnLButtonUp(0, POINT{150, 125});
    frame.OnCommand(ID_INSERT_LINE);
    Drag(POINT{400, 300}, POINT{300, 250});
    EXPECT_EQ(Fig(1).m_rect, (RECT{400, 300, 300, 250}));
}

TEST_F(CreateDragTest, ARepeatedCommandRearmsAndOneDragMakesOneFigure)
{
    frame.OnCommand(ID_INSERT_LINE);
    frame.OnCommand(ID_INSERT_LINE);
    frame.OnCommand(ID_INSERT_CIRCLE);
    Drag(POINT{10, 10}, POINT{60, 40});
    ASSERT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_EQ(Fig(0).m_nKind, FK_ELLIPSE);
    frame.RefreshCanvas(false);
    int topRow = 0;
    for (int x = 10; x < 60; ++x)
        topRow += Pixel(x, 10) == kGrey;
    EXPECT_GT(topRow, 0) << "the ellipse touches the top of its box";
    EXPECT_EQ(Pixel(35, 9), kWhite);
    EXPECT_EQ(Pixel(35, 25), kWhite);
}

TEST_F(CreateDragTest, ACreationKeepsTheSelectionAndItsHandles)
{
    Add(CC_RECTANGLE, RECT{10, 10, 50, 50});
    frame.RefreshCanvas(false);
    frame.OnLButtonDown(MK_LBUTTON, POINT{30, 30});
    frame.OnLButtonUp(0, POINT{30, 30});
    const COLORREF handle = Pixel(7, 7);  // the outer corner of the (10, 10) handle
    EXPECT_EQ(handle, kBlack);

    frame.OnCommand(ID_INSERT_RECTANGLE);
    Drag(POINT{200, 200}, POINT{300, 260});
    EXPECT_EQ(Pixel(7, 7), kBlack);
    ASSERT_TRUE(frame.m_pSelRect);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{10, 10, 50, 50}));
    EXPECT_EQ(frame.m_nSelected, 0);
    EXPECT_EQ(g_pFigures->GetSize(), 2);
}

TEST_F(CreateDragTest, AForwardedReleaseEndsTheDragWhereTheBandWasLastDrawn)
{
    frame.OnCommand(ID_INSERT_RECTANGLE);
    frame.OnLButtonDown(MK_LBUTTON, POINT{100, 100});
    frame.OnMouseMove(MK_LBUTTON, POINT{180, 160});
    // A text box passes its own client coordinates; they are not canvas points.
    frame.OnLButtonUp(FORWARDED_UP, POINT{5, 7});
    ASSERT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_EQ(Fig(0).m_rect, (RECT{100, 100, 180, 160}));
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
}

TEST_P(CreateDragInputTest, TheTextBoxBandIsDashedAndGoneAfterTheRelease)
{
    frame.OnCommand(ID_INSERT_EDITBOX);
    const QImage before = frame.m_bmpCanvas.copy();
    Press(POINT{100, 100}, GetParam());
    Move(POINT{200, 150}, GetParam());
    // PS_DASH: 18 pixels on, 6 off, from the top-right corner leftwards.
    EXPECT_EQ(Pixel(199, 100), kGrey);
    EXPECT_EQ(Pixel(182, 100), kGrey);
    EXPECT_EQ(Pixel(181, 100), kWhite);
    EXPECT_EQ(Pixel(176, 100), kWhite);
    EXPECT_EQ(Pixel(175, 100), kGrey);
    Release(POINT{200, 150}, GetParam());

    EXPECT_TRUE(Diff(before, frame.m_bmpCanvas).empty()) << "the band is removed";
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
    EXPECT_EQ(frame.m_nShape, CC_TEXT);
    ASSERT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_EQ(Fig(0).m_nKind, FK_TEXT);
    EXPECT_EQ(Fig(0).m_rect, (RECT{94, 94, 206, 156}));
    ASSERT_NE(g_pActiveEdit.data(), nullptr);
    EXPECT_EQ(g_pActiveEdit->GetCanvasRect(), (RECT{100, 100, 200, 150}));
}

TEST_P(CreateDragInputTest, DrawingLandsUnderThePointerAtAnyScrollPosition)
{
    frame.OnSize(0, 600, 400);
    frame.OnHScroll(SB_THUMBTRACK, 300);
    frame.OnVScroll(SB_THUMBTRACK, 200);
    ASSERT_EQ(g_nScrollX, 300);
    ASSERT_EQ(g_nScrollY, 200);

    frame.OnCommand(ID_INSERT_RECTANGLE);
    Drag(POINT{350, 260}, POINT{450, 330}, GetParam());
    ASSERT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_EQ(Fig(0).m_rect, (RECT{350, 260, 450, 330}));
    EXPECT_EQ(Pixel(350, 260), kGrey);

    frame.RefreshCanvas(false);
    Press(POINT{400, 300}, GetParam());
    Release(POINT{400, 300}, GetParam());
    ASSERT_TRUE(frame.m_pSelRect);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{350, 260, 450, 330}));
    EXPECT_EQ(Pixel(347, 257), kBlack) << "handle at the figure's corner";
}

INSTANTIATE_TEST_SUITE_P(BothPaths, CreateDragInputTest, ::testing::Values(Input::Handlers, Input::Events),
                         InputName);

}  // namespace
