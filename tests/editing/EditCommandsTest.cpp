// The Edit commands: Cut, Copy and Paste of the program's own held figure
// with the +10 paste rectangle shared with the selection, Delete and its
// question, and the context menu that runs them.
#include "support/WindowTest.h"

#include <QMenu>

namespace {

using ClipboardTest = WindowTest;

TEST_F(ClipboardTest, CutAndCopyHoldTheFigureAndEachPasteDrawsItOnTopTenPixelsOverAsTheRedrawWould)
{
    Add(FK_ELLIPSE, RECT{100, 100, 200, 200}, RGB(50, 0, 0), RGB(0, 50, 0));
    Add(FK_RECTANGLE, RECT{150, 150, 250, 250}, kBlack, RGB(0, 0, 90));
    Click(POINT{130, 130});
    frame.OnCommand(ID_CONTEXT_CUT);
    EXPECT_EQ(g_pFigures->GetSize(), 1);
    EXPECT_TRUE(Canvas() == PlainRender()) << "redrawn without it and without handles";
    frame.OnCommand(ID_EDIT_PASTE);
    ASSERT_EQ(g_pFigures->GetSize(), 2);
    EXPECT_EQ(Figure(1), "ellipse 110,110,210,210 320000/003200");
    // Drawn on top exactly as the full redraw draws it, plus its handles.
    EXPECT_EQ(Diff(PlainRender(), Canvas()),
              Rings({{110, 110}, {160, 110}, {210, 110}, {210, 160}, {210, 210}, {160, 210}, {110, 210}, {110, 160}}));

    // A copy of the ellipse (the topmost figure where the two overlap), pasted
    // from the menu and the context menu; the pasted figure is the selection
    // and the paste rectangle at once: a nudge moves where the next Paste lands.
    Click(POINT{180, 180});
    Commands({ID_EDIT_COPY, ID_EDIT_PASTE, ID_CONTEXT_PASTE});
    ASSERT_EQ(g_pFigures->GetSize(), 4);
    EXPECT_EQ(Figure(2), "ellipse 120,120,220,220 320000/003200");
    EXPECT_EQ(Figure(3), Figure(2));
    Key(Qt::Key_Right);
    frame.OnCommand(ID_EDIT_PASTE);
    ASSERT_EQ(g_pFigures->GetSize(), 5);
    EXPECT_EQ(Fig(3).m_rect, (RECT{125, 120, 225, 220}));
    EXPECT_EQ(Fig(4).m_rect, (RECT{125, 120, 225, 220}));
}

TEST_F(ClipboardTest, WithoutSelectionOrOnAPictureCutAndCopyOnlyTellTheUserAndAPasteOverAPictureIsPlain)
{
    Add(FK_RECTANGLE, RECT{10, 10, 50, 50}, RGB(1, 2, 3), RGB(4, 5, 6));
    AddPicture(FK_RECTANGLE, RECT{200, 200, 260, 260}, QStringLiteral("/tmp/p.png"));
    Commands({ID_EDIT_CUT, ID_CONTEXT_COPY});
    Click(POINT{220, 220});
    const QImage selected = Canvas();
    Commands({ID_CONTEXT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE});
    EXPECT_EQ(Messages(), (QStringList{"first Select the area to be cut | title | 0 | main",
                                       "First select the area to be copied | title | 0 | main",
                                       "Border can't be cut | title | 0 | main",
                                       "Border can't be replicated | title | 0 | main"}));
    EXPECT_EQ(g_pFigures->GetSize(), 2);
    EXPECT_TRUE(Canvas() == selected) << "nothing held, nothing pasted";
    // Pasted over a picture selection, the plain figure leaves a plain selection behind.
    Click(POINT{20, 20});
    frame.OnCommand(ID_EDIT_COPY);
    Click(POINT{220, 220});
    frame.OnCommand(ID_EDIT_PASTE);
    Key(Qt::Key_Right);
    ASSERT_EQ(g_pFigures->GetSize(), 3);
    EXPECT_EQ(Figure(2), "rectangle 25,20,65,60 010203/040506");
}

TEST_F(ClipboardTest, DeleteAsksAndOnOkRemovesTheSelectedFigureAndWithoutSelectionAsksNothing)
{
    Add(FK_RECTANGLE, RECT{0, 0, 60, 60}, kBlack, kRed);
    Add(FK_ELLIPSE, RECT{100, 100, 160, 160}, kBlack, kBlue);
    Click(POINT{20, 20});
    ws.QueueMessageBoxAnswer(IDCANCEL);
    Key(Qt::Key_Delete);
    EXPECT_EQ(g_pFigures->GetSize(), 2) << "Cancel keeps everything";
    ws.QueueMessageBoxAnswer(IDOK);
    frame.OnCommand(ID_CONTEXT_DELETE);
    EXPECT_EQ(Figures(), std::vector<std::string>{"ellipse 100,100,160,160 000000/0000ff"});
    EXPECT_TRUE(Canvas() == PlainRender()) << "redrawn without it and without handles";
    Key(Qt::Key_Delete);
    frame.OnCommand(ID_CONTEXT_DELETE);
    EXPECT_EQ(Messages(), QStringList(2, "Do you want to Delete It? | title | 21 | main")) << "none without a selection";
}

TEST_F(ClipboardTest, TheContextMenuOffersTheEditCommandsAndTheOrderAndRunsThem)
{
    const std::unique_ptr<QMenu> menu = frame.BuildContextMenu();
    std::vector<std::pair<QString, UINT>> items;  // in menu order, the Order pop-up's items after it
    for (QAction* a : menu->actions())
        for (QAction* b : a->menu() ? QList<QAction*>{a} + a->menu()->actions() : QList<QAction*>{a}) {
            items.emplace_back(b->text(), b->menu() ? 0u : b->data().toUInt());
            EXPECT_TRUE(b->isEnabled()) << b->text().toStdString();
        }
    EXPECT_EQ(items, (std::vector<std::pair<QString, UINT>>{
                         {"Cut", ID_CONTEXT_CUT}, {"Copy", ID_CONTEXT_COPY}, {"Paste", ID_CONTEXT_PASTE},
                         {"Delete", ID_CONTEXT_DELETE}, {"&Resize", ID_CONTEXT_RESIZE}, {"&Order", 0},
                         {"Bring Forward", ID_ORDER_BRINGFORWARD}, {"Send Backward", ID_ORDER_SENDBACKWARD}}));
    Add(FK_RECTANGLE, RECT{10, 10, 50, 50});
    Add(FK_RECTANGLE, RECT{30, 30, 80, 80});
    Click(POINT{20, 20});
    menu->actions().back()->menu()->actions().front()->trigger();  // Order > Bring Forward
    EXPECT_EQ(Fig(1).m_rect, (RECT{10, 10, 50, 50}));
    menu->actions().front()->trigger();  // Cut
    EXPECT_EQ(g_pFigures->GetSize(), 1);
}

}  // namespace
