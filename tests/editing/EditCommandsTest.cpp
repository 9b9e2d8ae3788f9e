// The Edit and Order commands: Cut, Copy and Paste of the program's own held
// figure with the +10 paste rectangle shared with the selection, Delete and
// its question, Bring Forward and Send Backward as one jump to the top or the
// bottom of the stack, and the context menu that runs them.
#include "EditingFixture.h"

#include "resources/ResourceIds.h"

#include <QAction>
#include <QMenu>

namespace {

using ClipboardTest = EditingTest;
using OrderTest = EditingTest;

std::vector<int> Lefts()
{
    std::vector<int> v;
    for (const auto& f : *g_pFigures)
        v.push_back(f->m_rect.left);
    return v;
}

TEST_F(ClipboardTest, CopyThenTwoPastesGiveTwoFiguresOnTopAtPlusTen)
{
    Add(FK_ELLIPSE, RECT{0, 0, 300, 300});
    Add(FK_RECTANGLE, RECT{10, 10, 50, 50}, RGB(1, 2, 3), RGB(200, 100, 0));
    Click(POINT{20, 20});
    ASSERT_EQ(frame.m_nSelected, 1);

    frame.OnCommand(ID_EDIT_COPY);
    EXPECT_EQ(*frame.m_pClipRect, (RECT{20, 20, 60, 60}));
    EXPECT_EQ(frame.m_nClipKind, FK_RECTANGLE);

    frame.OnCommand(ID_EDIT_PASTE);
    frame.OnCommand(ID_CONTEXT_PASTE);
    ASSERT_EQ(g_pFigures->GetSize(), 4);
    for (int i : {2, 3}) {
        EXPECT_EQ(Fig(i).m_rect, (RECT{20, 20, 60, 60})) << i;
        EXPECT_EQ(Fig(i).m_nKind, FK_RECTANGLE);
        EXPECT_EQ(Fig(i).LineColor(), RGB(1, 2, 3));
        EXPECT_EQ(Fig(i).FillColor(), RGB(200, 100, 0));
    }
    EXPECT_EQ(Pixel(40, 40), RGB(200, 100, 0)) << "drawn straight into the canvas, over the ellipse";
    // The pasted figure is the selection now.
    EXPECT_EQ(frame.m_nSelected, 3);
    EXPECT_EQ(Pixel(62, 62), kBlack) << "handles at the paste rectangle";
    EXPECT_EQ(frame.m_nClipState, 2) << "the held figure stays for the next Paste";
    // Selection and paste rectangle are one: a nudge of the pasted figure
    // moves where the next Paste lands.
    Tap(VK_RIGHT);
    EXPECT_EQ(Fig(3).m_rect, (RECT{25, 20, 65, 60}));
    frame.OnCommand(ID_EDIT_PASTE);
    ASSERT_EQ(g_pFigures->GetSize(), 5);
    EXPECT_EQ(Fig(4).m_rect, (RECT{25, 20, 65, 60}));
}

TEST_F(ClipboardTest, CutRemovesTheFigureAndPasteDrawsItOnTopTenPixelsOverAsTheRedrawWould)
{
    Add(FK_ELLIPSE, RECT{100, 100, 200, 200}, RGB(50, 0, 0), RGB(0, 50, 0));
    Add(FK_RECTANGLE, RECT{150, 150, 250, 250}, kBlack, RGB(0, 0, 90));
    Click(POINT{130, 130});
    ASSERT_EQ(frame.m_nSelected, 0);

    frame.OnCommand(ID_CONTEXT_CUT);
    ASSERT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_FALSE(frame.m_pSelRect);
    EXPECT_EQ(frame.m_nSelKind, FK_NONE) << "nothing is selected any more";
    EXPECT_EQ(frame.m_nSelected, -1);
    EXPECT_EQ(frame.m_nClipState, 1);
    EXPECT_TRUE(Diff(PlainRender(), frame.m_bmpCanvas).empty()) << "redrawn without it and without handles";

    frame.OnCommand(ID_EDIT_PASTE);
    ASSERT_EQ(g_pFigures->GetSize(), 2);
    EXPECT_EQ(Fig(1).m_rect, (RECT{110, 110, 210, 210}));
    EXPECT_EQ(Fig(1).LineColor(), RGB(50, 0, 0));
    EXPECT_EQ(Fig(1).FillColor(), RGB(0, 50, 0));
    EXPECT_EQ(Pixel(180, 180), RGB(0, 50, 0)) << "on top of the rectangle";
    // Drawn exactly as the full redraw draws it, plus its handles.
    EXPECT_EQ(Diff(PlainRender(), frame.m_bmpCanvas),
              Rings({{110, 110}, {160, 110}, {210, 110}, {210, 160}, {210, 210}, {160, 210}, {110, 210}, {110, 160}}));
}

TEST_F(ClipboardTest, WithoutSelectionOrOnAPictureCutAndCopyOnlyTellTheUserAndPasteHasNothing)
{
    AddPicture(FK_RECTANGLE, RECT{10, 10, 50, 50}, QStringLiteral("/tmp/p.png"));
    frame.OnCommand(ID_EDIT_CUT);
    frame.OnCommand(ID_CONTEXT_COPY);
    Click(POINT{20, 20});
    ASSERT_EQ(frame.m_bSelPicture, 1);
    const QImage selected = Canvas();
    frame.OnCommand(ID_CONTEXT_CUT);
    frame.OnCommand(ID_EDIT_COPY);
    frame.OnCommand(ID_EDIT_PASTE);

    EXPECT_EQ(ws.MessageTexts(),
              (QStringList{"first Select the area to be cut", "First select the area to be copied",
                           "Border can't be cut", "Border can't be replicated"}));
    for (const ShownDialog& d : ws.Shown()) {
        EXPECT_EQ(d.type, MB_OK);
        EXPECT_EQ(d.owner, &frame);
        EXPECT_EQ(d.shownCaption, kAppTitle);
    }
    EXPECT_EQ(frame.m_nClipState, 0);
    EXPECT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_TRUE(Diff(selected, frame.m_bmpCanvas).empty());
}

TEST_F(ClipboardTest, APasteOverAPictureSelectionLeavesAPlainSelectionBehind)
{
    Add(FK_RECTANGLE, RECT{10, 10, 50, 50}, RGB(1, 2, 3), RGB(4, 5, 6));
    AddPicture(FK_RECTANGLE, RECT{200, 200, 260, 260}, QStringLiteral("/tmp/none.png"));
    Click(POINT{20, 20});
    frame.OnCommand(ID_EDIT_COPY);
    Click(POINT{220, 220});
    ASSERT_EQ(frame.m_bSelPicture, 1);

    frame.OnCommand(ID_EDIT_PASTE);
    Tap(VK_RIGHT);
    ASSERT_EQ(g_pFigures->GetSize(), 3);
    EXPECT_EQ(Fig(2).m_rect, (RECT{25, 20, 65, 60}));
    EXPECT_TRUE(Fig(2).m_strPicture.isEmpty());
    EXPECT_EQ(Fig(2).FillColor(), RGB(4, 5, 6));
}

TEST_F(OrderTest, DeleteAsksAndOnOkRemovesTheSelectedFigure)
{
    Add(FK_RECTANGLE, RECT{0, 0, 60, 60}, kBlack, RGB(255, 0, 0));
    Add(FK_ELLIPSE, RECT{100, 100, 160, 160}, kBlack, RGB(0, 0, 255));
    Click(POINT{20, 20});

    ws.QueueMessageBoxAnswer(IDCANCEL);
    Tap(VK_DELETE);
    EXPECT_EQ(g_pFigures->GetSize(), 2) << "Cancel keeps everything";
    EXPECT_TRUE(frame.m_pSelRect);

    ws.QueueMessageBoxAnswer(IDOK);
    Tap(VK_DELETE);
    ASSERT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_EQ(Fig(0).m_nKind, FK_ELLIPSE);
    EXPECT_FALSE(frame.m_pSelRect);
    EXPECT_EQ(frame.m_nSelKind, -1);
    EXPECT_EQ(frame.m_nMode, MODE_NONE);
    EXPECT_TRUE(Diff(PlainRender(), frame.m_bmpCanvas).empty()) << "redrawn without it and without handles";

    const auto shown = ws.Shown(DialogKind::MessageBox);
    ASSERT_EQ(shown.size(), 2u);
    for (const ShownDialog& d : shown) {
        EXPECT_EQ(d.text, QStringLiteral("Do you want to Delete It?"));
        EXPECT_EQ(d.type, MB_OKCANCEL | MB_ICONQUESTION);
        EXPECT_EQ(d.owner, &frame);
    }
    // Without a selection nothing is asked.
    Tap(VK_DELETE);
    frame.OnCommand(ID_CONTEXT_DELETE);
    EXPECT_EQ(ws.Shown(DialogKind::MessageBox).size(), 2u);
}

TEST_F(OrderTest, TheContextMenuIsTheFirstPopupOfMenu104AllEnabledAndRunsTheCommands)
{
    const std::unique_ptr<QMenu> menu = frame.BuildContextMenu();
    std::vector<std::pair<QString, UINT>> items;  // in menu order, the Order pop-up's items after it
    for (QAction* a : menu->actions())
        for (QAction* b : a->menu() ? QList<QAction*>{a} + a->menu()->actions() : QList<QAction*>{a}) {
            const UINT id = b->menu() ? 0u : b->data().toUInt();
            items.emplace_back(b->text(), id);
            EXPECT_TRUE(b->isEnabled()) << id;
        }
    ASSERT_EQ(items, (std::vector<std::pair<QString, UINT>>{{"Cut", 40009}, {"Copy", 40010}, {"Paste", 40011},
                                                            {"Delete", 40014}, {"&Resize", 40035}, {"&Order", 0},
                                                            {"Bring Forward", 40033}, {"Send Backward", 40034}}));
    Add(FK_RECTANGLE, RECT{10, 10, 50, 50});
    Add(FK_RECTANGLE, RECT{30, 30, 80, 80});
    Click(POINT{20, 20});
    menu->actions().back()->menu()->actions().front()->trigger();  // Bring Forward
    EXPECT_EQ(Lefts(), (std::vector<int>{30, 10}));
}

}  // namespace
