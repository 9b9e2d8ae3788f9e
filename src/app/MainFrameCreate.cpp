// Window creation: the menu bar from the "menu" resource, toolbar 120 with its
// B, I, U check buttons, the alignment group and the font box.
#include "app/FontEnum.h"
#include "app/MainFrame.h"
#include "resources/Menus.h"
#include "resources/ResourceIds.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QMenuBar>
#include <QToolBar>

namespace {
constexpr int kFontBoxWidth = 200;
constexpr int kFontBoxDropHeight = 120;
}  // namespace

void CMainFrame::BuildMenus()
{
    // Each item carries its command id; the command table decides whether it
    // is enabled.
    for (const MenuItemResource& popup : MainMenuResource())
        FillMenu(*menuBar()->addMenu(popup.text), popup.items, [this](QAction& action, UINT id) {
            m_actions.emplace(id, &action);
            connect(&action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        });
}

int CMainFrame::OnCreate()
{
    m_pToolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_pToolBar->setObjectName(QStringLiteral("toolbar120"));
    m_pToolBar->setIconSize(QSize(16, 15));
    m_pToolBar->setAllowedAreas(Qt::TopToolBarArea);
    m_pToolBar->setFloatable(false);
    m_pToolBar->setMovable(false);

    // B, I, U toggle on their own; the three alignment buttons are one
    // exclusive group.
    auto* alignGroup = new QActionGroup(this);
    alignGroup->setExclusive(true);
    int image = 0;
    const std::vector<UINT>& items = ToolbarResource();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const UINT id = items[i];
        if (id == 0) {
            if (i + 1 < items.size())
                m_pToolBar->addSeparator();
            continue;
        }
        QAction* action = m_pToolBar->addAction(QIcon(ToolbarButtonImage(image++)), QString());
        action->setData(id);
        action->setCheckable(true);
        if (id == ID_ALIGN_LEFT || id == ID_ALIGN_CENTER || id == ID_ALIGN_RIGHT)
            alignGroup->addAction(action);
        m_actions.emplace(id, action);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
    m_pToolBar->setToolTip(QString());
    if (QAction* b = m_actions.count(ID_TEXT_BOLD) ? m_actions[ID_TEXT_BOLD] : nullptr)
        b->setToolTip(QStringLiteral("Bold"));
    if (QAction* it = m_actions.count(ID_TEXT_ITALIC) ? m_actions[ID_TEXT_ITALIC] : nullptr)
        it->setToolTip(QStringLiteral("Italic"));
    if (QAction* u = m_actions.count(ID_TEXT_UNDERLINE) ? m_actions[ID_TEXT_UNDERLINE] : nullptr)
        u->setToolTip(QStringLiteral("Underline"));

    // The last separator holds the place of the 200-pixel font box.
    m_pFontCombo = new QComboBox(m_pToolBar);
    m_pFontCombo->setObjectName(QStringLiteral("fontCombo40025"));
    m_pFontCombo->setFixedWidth(kFontBoxWidth);
    m_pFontCombo->setEditable(false);
    m_pFontCombo->setInsertPolicy(QComboBox::InsertAlphabetically);
    m_pFontCombo->setFocusPolicy(Qt::NoFocus);
    m_pFontCombo->setMaxVisibleItems(std::max(1, kFontBoxDropHeight / std::max(1, fontMetrics().height() + 2)));
    m_pToolBar->addWidget(m_pFontCombo);

    // The full names of the installed TrueType fonts; the box keeps them sorted.
    m_fontNames = EnumTrueTypeFullNames();
    QStringList sorted = m_fontNames;
    sorted.sort(Qt::CaseInsensitive);
    m_pFontCombo->addItems(sorted);

    addToolBar(Qt::TopToolBarArea, m_pToolBar);
    return 0;
}
