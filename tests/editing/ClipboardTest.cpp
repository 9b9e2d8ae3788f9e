// Cut, Copy and Paste of the program's own held figure: the messages, the
// +10 paste rectangle shared with the selection, and what Paste draws.
#include "EditingFixture.h"

#include "resources/ResourceIds.h"

namespace {

using ClipboardTest = EditingTest;

void Select(CMainFrame& frame, POINT p)
{
    frame.OnLButtonDown(MK_LBUTTON, p);
    frame.OnLButtonUp(0, p);
}

TEST_F(ClipboardTest, CopyThenTwoPastesGiveTwoFiguresOnTopAtPlusTen)
{
    Add(CC_ELLIPSE, RECT{0, 0, 300, 300});
    Add(CC_RECTANGLE, RECT{10, 10, 50, 50}, RGB(1, 2, 3), RGB(200, 100, 0));
    Select(frame, POINT{20, 20});
    ASSERT_EQ(frame.m_nSelected, 1);
    ASSERT_EQ(frame.m_nSelKind, FK_RECTANGLE);

    frame.OnCommand(ID_EDIT_COPY);
    EXPECT_EQ(frame.m_nClipState, 2);
    EXPECT_EQ(*frame.m_pClipRect, (RECT{20, 20, 60, 60}));
    EXPECT_EQ(frame.m_nClipKind, FK_RECTANGLE);
    EXPECT_EQ(g_pFigures->GetSize(), 2) << "copy changes no figure";

    frame.OnCommand(ID_EDIT_PASTE);
    frame.OnCommand(ID_CONTEXT_PASTE);
    ASSERT_EQ(g_pFigures->GetSize(), 4);
    for (int i : {2, 3}) {
        EXPECT_EQ(Fig(i).m_rect, (RECT{20, 20, 60, 60})) << i;
        EXPECT_EQ(Fig(i).m_nKind, FK_RECTANGLE);
        EXPECT_EQ(Fig(i).LineColor(), RGB(1, 2, 3));
        EXPECT_EQ(Fig(i).FillColor(), RGB(200, 100, 0));
    }
    // Drawn straight into the canvas: solid outline, fill inside it.
    EXPECT_EQ(Pixel(20, 20), RGB(1, 2, 3));
    EXPECT_EQ(Pixel(59, 59), RGB(1, 2, 3));
    EXPECT_EQ(Pixel(40, 40), RGB(200, 100, 0));
    // The pasted figure is the selection now, sharing the paste rectangle.
    EXPECT_EQ(frame.m_pSelRect, frame.m_pClipRect);
    EXPECT_EQ(frame.m_nSelected, 3);
    EXPECT_EQ(frame.m_nSelKind, FK_RECTANGLE);
    EXPECT_EQ(Pixel(62, 62), kBlack) << "handles at the paste rectangle";
    EXPECT_EQ(frame.m_nClipState, 2) << "the held figure stays for the next Paste";
}

TEST_F(ClipboardTest, CutRemovesTheFigureAndPasteBringsItBackOnTopTenPixelsOver)
{
    Add(CC_RECTANGLE, RECT{100, 100, 200, 200}, RGB(50, 0, 0), RGB(0, 50, 0));
    Add(CC_RECTANGLE, RECT{150, 150, 250, 250}, kBlack, RGB(0, 0, 90));
    frame.RefreshCanvas(false);
    Select(frame, POINT{110, 110});
    ASSERT_EQ(frame.m_nSelected, 0);

    frame.OnCommand(ID_CONTEXT_CUT);
    ASSERT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_FALSE(frame.m_pSelRect);
    EXPECT_EQ(frame.m_nSelKind, FK_RECTANGLE) << "Cut leaves the kind";
    EXPECT_EQ(frame.m_nClipState, 1);
    EXPECT_TRUE(Diff(PlainRender(), frame.m_bmpCanvas).empty()) << "redrawn without it and without handles";
    EXPECT_EQ(Pixel(120, 120), kWhite);

    frame.OnCommand(ID_EDIT_PASTE);
    ASSERT_EQ(g_pFigures->GetSize(), 2);
    EXPECT_EQ(Fig(1).m_rect, (RECT{110, 110, 210, 210}));
    EXPECT_EQ(Fig(1).LineColor(), RGB(50, 0, 0));
    EXPECT_EQ(Fig(1).FillColor(), RGB(0, 50, 0));
    frame.RefreshCanvas(false);
    EXPECT_EQ(Pixel(180, 180), RGB(0, 50, 0)) << "now on top of the other rectangle";
}

TEST_F(ClipboardTest, WithoutSelectionOrOnAPictureCutAndCopyOnlyTellTheUser)
{
    Add(CC_RECTANGLE, RECT{10, 10, 50, 50}, kGrey, kWhite, 0, 0, QStringLiteral("/tmp/p.png"));
    const QImage before = frame.m_bmpCanvas.copy();
    frame.OnCommand(ID_EDIT_CUT);
    frame.OnCommand(ID_CONTEXT_COPY);
    Select(frame, POINT{20, 20});
    ASSERT_EQ(frame.m_bSelPicture, 1);
    const QImage selected = frame.m_bmpCanvas.copy();
    frame.OnCommand(ID_CONTEXT_CUT);
    frame.OnCommand(ID_EDIT_COPY);

    EXPECT_EQ(ws.MessageTexts(),
              (QStringList{"first Select the area to be cut", "First select the area to be copied", "Border can't be cut",
                           "Border can't be replicated"}));
    for (const ShownDialog& d : ws.Shown()) {
        EXPECT_EQ(d.type, MB_OK);
        EXPECT_EQ(d.owner, &frame);
        EXPECT_EQ(d.shownCaption, kAppTitle);
    }
    EXPECT_EQ(frame.m_nClipState, 0);
    EXPECT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_TRUE(Diff(selected, frame.m_bmpCanvas).empty());
    EXPECT_FALSE(Diff(before, selected).empty());
}

TEST_F(ClipboardTest, PasteWithNothingHeldDoesNothing)
{
    Add(CC_RECTANGLE, RECT{10, 10, 50, 50});
    Select(frame, POINT{20, 20});
    const auto sel = frame.m_pSelRect;
    const QImage before = frame.m_bmpCanvas.copy();
    frame.OnCommand(ID_EDIT_PASTE);
    EXPECT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_EQ(frame.m_pSelRect, sel);
    EXPECT_TRUE(Diff(before, frame.m_bmpCanvas).empty());
}

TEST_F(ClipboardTest, ArrowKeysMoveThePastedFigureAndWhereTheNextPasteGoes)
{
    Add(CC_LINE, RECT{10, 10, 60, 40}, RGB(0, 0, 200));
    Select(frame, POINT{35, 25});
    frame.OnCommand(ID_EDIT_COPY);
    frame.OnCommand(ID_EDIT_PASTE);
    EXPECT_EQ(Pixel(20, 20), RGB(0, 0, 200)) << "the pasted line starts at its new start";
    frame.OnKeyDown(VK_RIGHT, 1, 0);
    frame.OnKeyUp(VK_RIGHT, 1, 0);
    EXPECT_EQ(Fig(1).m_rect, (RECT{25, 20, 75, 50})) << "the pasted line moved, not the original";
    EXPECT_EQ(Fig(0).m_rect, (RECT{10, 10, 60, 40}));
    frame.OnCommand(ID_EDIT_PASTE);
    ASSERT_EQ(g_pFigures->GetSize(), 3);
    EXPECT_EQ(Fig(2).m_rect, (RECT{25, 20, 75, 50}));
    EXPECT_EQ(Fig(2).m_nKind, FK_LINE);
}

TEST_F(ClipboardTest, APastedEllipseIsOutlinedThenFilledThroughThePictureLayer)
{
    Add(CC_ELLIPSE, RECT{100, 100, 140, 120}, kBlack, RGB(0, 0, 255));
    Select(frame, POINT{120, 110});
    frame.OnCommand(ID_EDIT_CUT);
    frame.OnCommand(ID_EDIT_PASTE);
    ASSERT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_EQ(Fig(0).m_nKind, FK_ELLIPSE);
    EXPECT_EQ(Fig(0).m_rect, (RECT{110, 110, 150, 130}));
    // Exactly what the full redraw paints for it, plus its handles.
    EXPECT_EQ(Pixel(130, 120), RGB(0, 0, 255));
    EXPECT_EQ(Diff(PlainRender(), frame.m_bmpCanvas),
              Rings({{110, 110}, {130, 110}, {150, 110}, {150, 120}, {150, 130}, {130, 130}, {110, 130}, {110, 120}}));
}

TEST_F(ClipboardTest, APasteOverAPictureSelectionLeavesAPlainSelectionBehind)
{
    Add(CC_RECTANGLE, RECT{10, 10, 50, 50}, RGB(1, 2, 3), RGB(4, 5, 6));
    Add(CC_RECTANGLE, RECT{200, 200, 260, 260}, kGrey, kWhite, 0, 0, QStringLiteral("/tmp/none.png"));
    Select(frame, POINT{20, 20});
    frame.OnCommand(ID_EDIT_COPY);
    Select(frame, POINT{220, 220});
    ASSERT_EQ(frame.m_bSelPicture, 1);

    frame.OnCommand(ID_EDIT_PASTE);
    frame.OnKeyDown(VK_RIGHT, 1, 0);
    frame.OnKeyUp(VK_RIGHT, 1, 0);
    ASSERT_EQ(g_pFigures->GetSize(), 3);
    EXPECT_EQ(Fig(2).m_rect, (RECT{25, 20, 65, 60}));
    EXPECT_TRUE(Fig(2).m_strPicture.isEmpty());
    EXPECT_EQ(Fig(2).FillColor(), RGB(4, 5, 6));
    EXPECT_EQ(Fig(1).m_rect, (RECT{200, 200, 260, 260})) << "the picture is not touched";
    EXPECT_EQ(Fig(1).m_strPicture, QStringLiteral("/tmp/none.png"));
}

}  // namespace
