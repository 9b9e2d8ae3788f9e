// Creation drags: an Insert command arms exactly one drag, the band follows
// only a plain left-button drag, and the release makes the figure as dragged,
// never normalised, leaving the selection alone.
#include "EditingFixture.h"

#include "resources/ResourceIds.h"
#include "text/TextState.h"

namespace {

using CreateDragTest = EditingTest;

TEST_F(CreateDragTest, RectangleDragMakesTheGreyFigureKeepsTheSelectionAndEndsTheTool)
{
    Add(FK_RECTANGLE, RECT{10, 10, 50, 50});
    Click(POINT{20, 20});
    frame.OnCommand(ID_INSERT_LINE);
    frame.OnCommand(ID_INSERT_RECTANGLE);
    Drag(POINT{100, 100}, POINT{200, 150});

    ASSERT_EQ(g_pFigures->GetSize(), 2);
    const CShapeFigure& f = Fig(1);
    EXPECT_EQ(f.m_nKind, FK_RECTANGLE);
    EXPECT_EQ(f.m_rect, (RECT{100, 100, 200, 150}));
    EXPECT_EQ(f.LineColor(), kGrey);
    EXPECT_EQ(f.FillColor(), kWhite);
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
    EXPECT_EQ(frame.m_nShape, -1);
    ASSERT_TRUE(frame.m_pSelRect);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{10, 10, 50, 50})) << "the selection is left alone";
    EXPECT_EQ(frame.m_nSelected, 0);
    EXPECT_EQ(Pixel(7, 7), kBlack) << "the selection's handle stays";

    // Drawn straight into the canvas by the figure itself: its dash-dot pen
    // (9 on, 6 off, from the top-right corner leftwards) over the solid grey
    // outline, the gaps in the white background colour; white inside.
    EXPECT_EQ(Pixel(191, 100), kGrey);
    EXPECT_EQ(Pixel(190, 100), kWhite);
    EXPECT_EQ(Pixel(184, 100), kGrey);
    EXPECT_EQ(Pixel(150, 125), kWhite);

    // A second drag makes nothing: the tool was armed for one drag only.
    Drag(POINT{300, 300}, POINT{350, 350});
    EXPECT_EQ(g_pFigures->GetSize(), 2);
}

TEST_F(CreateDragTest, ShiftCtrlOrASecondButtonFreezeTheBandButTheReleasePointCounts)
{
    frame.OnCommand(ID_INSERT_LINE);
    Press(POINT{50, 50});
    Move(POINT{100, 100});
    EXPECT_EQ(Pixel(75, 75), kGrey);
    for (UINT extra : {MK_SHIFT, MK_CONTROL, MK_RBUTTON}) {
        frame.OnMouseMove(MK_LBUTTON | extra, POINT{150, 60});
        EXPECT_EQ(frame.m_ptCurrent, (POINT{100, 100})) << extra;
        EXPECT_EQ(Pixel(75, 75), kGrey) << extra;
    }
    Release(POINT{150, 50});
    ASSERT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_EQ(Fig(0).m_rect, (RECT{50, 50, 150, 50}));
    EXPECT_EQ(Pixel(75, 75), kWhite) << "the last band does not stay behind";
    EXPECT_EQ(Pixel(100, 50), kGrey);
}

TEST_F(CreateDragTest, PressAndReleaseAtOnePointAddsAnEmptyFigure)
{
    frame.OnCommand(ID_INSERT_CIRCLE);
    const QImage before = Canvas();
    Click(POINT{70, 80});
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
    EXPECT_EQ(Pixel(198, 148), RGB(200, 0, 0));
    EXPECT_EQ(Pixel(200, 150), kWhite);

    Press(POINT{150, 125});
    ASSERT_TRUE(frame.m_pSelRect);
    EXPECT_EQ(*frame.m_pSelRect, (RECT{100, 100, 200, 150})) << "the selection is a normalised copy";
    EXPECT_EQ(Fig(0).m_rect, (RECT{200, 150, 100, 100})) << "the figure keeps its corners";
}

TEST_F(CreateDragTest, TheTextBoxBandIsDashedAndAForwardedReleaseEndsWhereItWasLastDrawn)
{
    frame.OnCommand(ID_INSERT_EDITBOX);
    const QImage before = Canvas();
    Press(POINT{100, 100});
    Move(POINT{200, 150});
    // PS_DASH: 18 pixels on, 6 off, from the top-right corner leftwards.
    EXPECT_EQ(Pixel(182, 100), kGrey);
    EXPECT_EQ(Pixel(181, 100), kWhite);
    EXPECT_EQ(Pixel(175, 100), kGrey);
    // A text box passes its own client coordinates; they are not canvas points.
    frame.OnLButtonUp(FORWARDED_UP, POINT{5, 7});

    EXPECT_TRUE(Diff(before, frame.m_bmpCanvas).empty()) << "the band is removed";
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
    EXPECT_EQ(frame.m_nShape, CC_TEXT);
    ASSERT_NE(g_pActiveEdit.data(), nullptr);
    EXPECT_EQ(g_pActiveEdit->GetCanvasRect(), (RECT{100, 100, 200, 150}));
}

}  // namespace
