// The context menu: the first pop-up of menu 104 with its items and ids, all
// enabled, each running the same operation as its Edit menu twin.
#include "EditingFixture.h"

#include "resources/ResourceIds.h"

#include <QAction>
#include <QMenu>

namespace {

using ContextMenuTest = EditingTest;

QAction* FindItem(QMenu& menu, UINT id)
{
    for (QAction* a : menu.actions()) {
        if (a->menu()) {
            if (QAction* inner = FindItem(*a->menu(), id))
                return inner;
        } else if (!a->isSeparator() && a->data().toUInt() == id) {
            return a;
        }
    }
    return nullptr;
}

TEST_F(ContextMenuTest, ItsItemsAreTheFirstPopupOfMenu104AllEnabled)
{
    const std::unique_ptr<QMenu> menu = frame.BuildContextMenu();
    std::vector<std::pair<QString, UINT>> items;
    for (QAction* a : menu->actions())
        items.emplace_back(a->text(), a->menu() ? 0u : a->data().toUInt());
    const std::vector<std::pair<QString, UINT>> expected = {
        {"Cut", 40009}, {"Copy", 40010}, {"Paste", 40011}, {"Delete", 40014}, {"&Resize", 40035}, {"&Order", 0}};
    EXPECT_EQ(items, expected);
    QMenu* order = menu->actions().back()->menu();
    ASSERT_NE(order, nullptr);
    ASSERT_EQ(order->actions().size(), 2);
    EXPECT_EQ(order->actions()[0]->text(), QStringLiteral("Bring Forward"));
    EXPECT_EQ(order->actions()[0]->data().toUInt(), 40033u);
    EXPECT_EQ(order->actions()[1]->text(), QStringLiteral("Send Backward"));
    EXPECT_EQ(order->actions()[1]->data().toUInt(), 40034u);
    for (UINT id : {40009u, 40010u, 40011u, 40014u, 40035u, 40033u, 40034u}) {
        ASSERT_NE(FindItem(*menu, id), nullptr) << id;
        EXPECT_TRUE(FindItem(*menu, id)->isEnabled()) << id;
        EXPECT_TRUE(frame.HasHandler(id)) << id;
    }
    for (UINT id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE})
        EXPECT_TRUE(frame.FindAction(id)->isEnabled()) << id;
}

TEST_F(ContextMenuTest, ChoosingAnItemRunsItsCommand)
{
    Add(CC_RECTANGLE, RECT{10, 10, 50, 50});
    Add(CC_RECTANGLE, RECT{30, 30, 80, 80});
    frame.OnLButtonDown(MK_LBUTTON, POINT{20, 20});
    frame.OnLButtonUp(0, POINT{20, 20});
    const std::unique_ptr<QMenu> menu = frame.BuildContextMenu();

    FindItem(*menu, ID_CONTEXT_COPY)->trigger();
    EXPECT_EQ(frame.m_nClipState, 2);
    FindItem(*menu, ID_CONTEXT_PASTE)->trigger();
    EXPECT_EQ(g_pFigures->GetSize(), 3);
    FindItem(*menu, ID_ORDER_SENDBACKWARD)->trigger();
    EXPECT_EQ(Fig(0).m_rect, (RECT{20, 20, 60, 60}));
    FindItem(*menu, ID_ORDER_BRINGFORWARD)->trigger();
    EXPECT_EQ(Fig(2).m_rect, (RECT{20, 20, 60, 60}));
    FindItem(*menu, ID_CONTEXT_CUT)->trigger();
    EXPECT_EQ(g_pFigures->GetSize(), 2);
    EXPECT_EQ(frame.m_nClipState, 1);
    FindItem(*menu, ID_CONTEXT_DELETE)->trigger();
    EXPECT_TRUE(ws.Shown().empty()) << "no selection after Cut: Delete asks nothing";
    FindItem(*menu, ID_CONTEXT_RESIZE)->trigger();
    EXPECT_EQ(frame.m_nMode, MODE_NONE) << "no text box: Resize does nothing";
}

}  // namespace
