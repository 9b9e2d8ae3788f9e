#include "resources/Menus.h"

#include "resources/ResourceIds.h"

#include <QAction>
#include <QFont>
#include <QMenu>
#include <QPainter>

namespace {
MenuItemResource Item(const char* text, UINT id) { return MenuItemResource{QString::fromUtf8(text), id, {}}; }
MenuItemResource Separator() { return MenuItemResource{}; }
MenuItemResource Popup(const char* text, std::vector<MenuItemResource> items)
{
    return MenuItemResource{QString::fromUtf8(text), 0, std::move(items)};
}
}  // namespace

const std::vector<MenuItemResource>& MainMenuResource()
{
    static const std::vector<MenuItemResource> menu = {
        Popup("&File", {Item("&New", ID_FILE_NEW), Item("&Open", ID_FILE_OPEN), Item("&Save", ID_FILE_SAVE),
                        Separator(), Item("&Exit", ID_FILE_EXIT)}),
        Popup("&Edit", {Item("&Cut", ID_EDIT_CUT), Item("&Copy", ID_EDIT_COPY), Item("&Paste", ID_EDIT_PASTE)}),
        Popup("&Insert", {Item("&Line", ID_INSERT_LINE), Item("&Rectangle", ID_INSERT_RECTANGLE),
                          Item("&Circle", ID_INSERT_CIRCLE), Separator(), Item("Border", ID_INSERT_BORDER),
                          Item("EditBox", ID_INSERT_EDITBOX)}),
        Popup("&Layout", {Item("&Line Color", ID_LAYOUT_LINECOLOR), Item("&Fill color", ID_LAYOUT_FILLCOLOR)}),
        Popup("&Format", {Item("&Font", ID_FORMAT_FONT), Item("&Color", ID_FORMAT_COLOR),
                          Item("&Border", ID_FORMAT_BORDER), Item("Korva Border", ID_FORMAT_KORVABORDER),
                          Item("BackGround", ID_FORMAT_BACKGROUND), Item("Import..", ID_FORMAT_IMPORT),
                          Item("SlideShow", ID_FORMAT_SLIDESHOW), Item("SlidesDialog", ID_FORMAT_SLIDESDIALOG)}),
    };
    return menu;
}

const std::vector<MenuItemResource>& ContextMenuResource()
{
    static const std::vector<MenuItemResource> menu = {
        Popup("Context", {Item("Cut", ID_CONTEXT_CUT), Item("Copy", ID_CONTEXT_COPY),
                          Item("Paste", ID_CONTEXT_PASTE), Item("Delete", ID_CONTEXT_DELETE),
                          Item("&Resize", ID_CONTEXT_RESIZE),
                          Popup("&Order", {Item("Bring Forward", ID_ORDER_BRINGFORWARD),
                                           Item("Send Backward", ID_ORDER_SENDBACKWARD)})}),
    };
    return menu;
}

const std::vector<UINT>& ToolbarResource()
{
    static const std::vector<UINT> items = {ID_TEXT_BOLD, ID_TEXT_ITALIC, ID_TEXT_UNDERLINE, 0,
                                            ID_ALIGN_LEFT, ID_ALIGN_CENTER, ID_ALIGN_RIGHT, 0, 0, 0};
    return items;
}

QPixmap ToolbarButtonImage(int index)
{
    QPixmap pm(16, 15);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    if (index >= 0 && index < 3) {
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setPixelSize(13);
        f.setBold(index == 0);
        f.setItalic(index == 1);
        f.setUnderline(index == 2);
        p.setFont(f);
        static const char* const letters[] = {"B", "I", "U"};
        p.drawText(QRect(0, 0, 16, 15), Qt::AlignCenter, QString::fromLatin1(letters[index]));
    } else if (index >= 3 && index < 6) {
        // Four lines of alternating length, aligned left, centred or right.
        for (int i = 0; i < 4; ++i) {
            const int len = (i % 2 == 0) ? 12 : 8;
            const int x = index == 3 ? 2 : index == 4 ? (16 - len) / 2 : 14 - len;
            p.drawLine(x, 3 + i * 3, x + len - 1, 3 + i * 3);
        }
    }
    return pm;
}

QIcon ApplicationIcon()
{
    // The icon's PNG sizes live in the library's resources (veltra_icons.qrc);
    // a static library's resources are registered by name before first use.
    static const bool registered = [] {
        Q_INIT_RESOURCE(veltra_icons);
        return true;
    }();
    (void)registered;
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/veltra-%1.png").arg(size), QSize(size, size));
    return icon;
}

void FillMenu(QMenu& menu, const std::vector<MenuItemResource>& items,
              const std::function<void(QAction&, UINT)>& onCommandItem)
{
    for (const MenuItemResource& item : items) {
        if (item.IsSeparator()) {
            menu.addSeparator();
        } else if (item.IsPopup()) {
            FillMenu(*menu.addMenu(item.text), item.items, onCommandItem);
        } else {
            QAction* action = menu.addAction(item.text);
            action->setData(item.id);
            onCommandItem(*action, item.id);
        }
    }
}
