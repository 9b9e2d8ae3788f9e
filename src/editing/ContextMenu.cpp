// The right-button context menu: the first pop-up of menu 104 at the pointer.
// Every item is enabled; each command checks its own conditions.
#include "app/MainFrame.h"
#include "resources/Menus.h"

#include <QAction>
#include <QMenu>

std::unique_ptr<QMenu> CMainFrame::BuildContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    const std::vector<MenuItemResource>& popups = ContextMenuResource();
    if (!popups.empty())
        FillMenu(*menu, popups.front().items, [this](QAction& action, UINT id) {
            connect(&action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        });
    return menu;
}

void CMainFrame::OnContextMenu(QPoint screenPoint)
{
    // The menu takes the mouse: a drag in progress ends first.
    CancelDrag();
    // Made for this one choice and destroyed after it.
    const std::unique_ptr<QMenu> menu = BuildContextMenu();
    menu->exec(screenPoint);
}
