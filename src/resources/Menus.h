// The menu resources: the main menu "menu", context menu 104 and toolbar 120,
// as data the main window builds its widgets from.
#pragma once

#include "platform/WinTypes.h"

#include <QIcon>
#include <QPixmap>

#include <functional>
#include <vector>

class QAction;
class QMenu;

struct MenuItemResource {
    QString text;  // with its '&' mnemonic; empty for a separator
    UINT id = 0;   // 0 for a separator or a pop-up
    std::vector<MenuItemResource> items;  // the items of a pop-up

    bool IsSeparator() const { return text.isEmpty() && id == 0 && items.empty(); }
    bool IsPopup() const { return !items.empty(); }
};

// The menu bar: "&File", "&Edit", "&Insert", "&Layout", "&Format".
const std::vector<MenuItemResource>& MainMenuResource();
// Context menu 104: its pop-ups (the program shows the first).
const std::vector<MenuItemResource>& ContextMenuResource();

// Adds `items` to `menu` in order, pop-ups as sub-menus; each command item's
// action carries its id as data and is handed to `onCommandItem`.
void FillMenu(QMenu& menu, const std::vector<MenuItemResource>& items,
              const std::function<void(QAction&, UINT)>& onCommandItem);

// Toolbar 120: the command id of each item, 0 for a separator.
const std::vector<UINT>& ToolbarResource();
// The 16x15 image of toolbar button `index` (0 to 5: B, I, U, left, centre, right).
QPixmap ToolbarButtonImage(int index);
// The window icon.
QIcon ApplicationIcon();
