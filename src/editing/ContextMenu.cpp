// The right-button context menu: the first pop-up of menu 104 at the pointer.
// Every item is enabled; each command checks its own conditions.
#include "app/MainFrame.h"
#include "resources/Menus.h"

#include <QAction>
#include <QMenu>

namespace {

void FillMenu(CMainFrame& frame, QMenu& menu, const std::vector<MenuItemResource>& items)
{
    for (const MenuItemResource& item : items) {
        if (item.IsSeparator()) {
            menu.addSeparator();
        } else if (item.IsPopup()) {
            FillMenu(frame, *menu.addMenu(item.text), item.items);
        } else {
            QAction* action = menu.addAction(item.text);
            action->setData(item.id);
            QObject::connect(action, &QAction::triggered, &frame, [&frame, id = item.id] { frame.OnCommand(id); });
        }
    }
}

}  // namespace

std::unique_ptr<QMenu> CMainFrame::BuildContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    const std::vector<MenuItemResource>& popups = ContextMenuResource();
    if (!popups.empty())
        FillMenu(*this, *menu, popups.front().items);
    return menu;
}

void CMainFrame::OnContextMenu(QPoint screenPoint)
{
    // Made for this one choice and destroyed after it.
    const std::unique_ptr<QMenu> menu = BuildContextMenu();
    menu->exec(screenPoint);
}
