// The main window as built: every command item enabled but those without a
// command, the toolbar and its font box, the application's start and end,
// and, without starting the program, the window icon's sizes and the picture
// the command line names.
#include "app/CommandLine.h"
#include "app/DesignApp.h"
#include "app/FontEnum.h"
#include "app/MainFrame.h"
#include "platform/WindowSystem.h"
#include "resources/Menus.h"
#include "resources/ResourceIds.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <gtest/gtest.h>

#include <set>

namespace {

TEST(MainWindowTest, OnlyItemsWithoutACommandAreDisabledAndTheToolbarStaysUnderTheMenuBarWithItsFontBox)
{
    CMainFrame frame;
    // "SlidesDialog" and the alignment buttons have no command by design.
    const std::set<UINT> disabled = {ID_FORMAT_SLIDESDIALOG, ID_ALIGN_LEFT, ID_ALIGN_CENTER, ID_ALIGN_RIGHT};
    QList<QAction*> items = frame.m_pToolBar->actions();
    for (QAction* top : frame.menuBar()->actions())
        items += top->menu()->actions();
    for (QAction* a : items) {
        const UINT id = a->data().toUInt();
        if (!a->isSeparator() && id != 0) {
            EXPECT_EQ(a->isEnabled(), disabled.count(id) == 0) << a->text().toStdString() << " " << id;
        }
    }
    // No menu lets the toolbar be hidden or moved.
    QToolBar* bar = frame.m_pToolBar;
    EXPECT_EQ(frame.toolBarArea(bar), Qt::TopToolBarArea);
    EXPECT_FALSE(bar->isMovable() || bar->isFloatable());
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), bar->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(bar, &menu);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    // The font box: the TrueType full names sorted, one per family.
    QStringList expected = EnumTrueTypeFullNames();
    EXPECT_TRUE(expected.contains(QStringLiteral("Liberation Serif"))) << "the test machine's fonts";
    EXPECT_FALSE(expected.contains(QStringLiteral("DejaVu Sans Bold")));
    expected.sort(Qt::CaseInsensitive);
    QStringList shown;
    for (int i = 0; i < frame.m_pFontCombo->count(); ++i)
        shown << frame.m_pFontCombo->itemText(i);
    EXPECT_EQ(shown, expected);
    QStringList names;
    for (const FontFamilyInfo& f : {FontFamilyInfo{"A", "A Regular", TRUETYPE_FONTTYPE}, FontFamilyInfo{"B", "B Regular", 0},
                                    FontFamilyInfo{"C", "C Book", 6}})
        EXPECT_EQ(EnumFaceProc(f, f.fontType, &names), 1) << "always continues";
    EXPECT_EQ(names, (QStringList{"A Regular", "C Book"})) << "only TrueType fonts";
}

TEST(MainWindowTest, ApplicationShowsTheWindowMaximisedEndsWithCodeOneAndExitClosesAsTheCloseBoxDoes)
{
    CDesignApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(app.MainWindow(), nullptr);
    EXPECT_TRUE(app.MainWindow()->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(app.MainWindow()->isVisible());
    EXPECT_EQ(FindWindowByTitle(QStringLiteral("Veltra Design & Pattern Creation Tool")), app.MainWindow());
    EXPECT_EQ(app.ExitInstance(), 1);
    EXPECT_EQ(app.MainWindow(), nullptr);
    CMainFrame frame;
    frame.show();
    frame.OnCommand(ID_FILE_EXIT);
    EXPECT_FALSE(frame.isVisible());
}

TEST(CommandLine, ThePictureIsMadeAbsoluteAndAfterDoubleDashANameMayBeginWithADash)
{
    const std::pair<QStringList, QString> table[] = {
        {{}, QString()},
        {{"pictures/tile.png"}, QDir::current().absoluteFilePath(QStringLiteral("pictures/tile.png"))},
        {{"/tmp/a picture.bmp"}, QStringLiteral("/tmp/a picture.bmp")},
        {{"--", "-v.png"}, QDir::current().absoluteFilePath(QStringLiteral("-v.png"))},
    };
    for (const auto& [args, picture] : table) {
        CCommandLine cl;
        EXPECT_EQ(cl.Parse(QStringList{QStringLiteral("veltra")} + args), CCommandLine::Outcome::Run)
            << args.join(' ').toStdString();
        EXPECT_EQ(cl.Picture(), picture);
    }
}

}  // namespace
