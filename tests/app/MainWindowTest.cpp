// The main window as built: the menu tree against the command table, the
// toolbar and font box, the white screen-sized canvas, the text font, and the
// application's start and end.
#include "app/DesignApp.h"
#include "app/FontEnum.h"
#include "app/MainFrame.h"
#include "platform/WindowSystem.h"
#include "resources/Menus.h"
#include "resources/ResourceIds.h"
#include "scene/ShapeFigure.h"
#include "text/TextBoxInfo.h"
#include "text/TextState.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <gtest/gtest.h>

#include <set>

namespace {

TEST(MainWindowTest, OnlyItemsWithoutACommandAreDisabled)
{
    CMainFrame frame;
    // "SlidesDialog" and the alignment buttons have no command by design.
    const std::set<UINT> disabled = {ID_FORMAT_SLIDESDIALOG, ID_ALIGN_LEFT, ID_ALIGN_CENTER, ID_ALIGN_RIGHT};
    QList<QAction*> items = frame.m_pToolBar->actions();
    for (QAction* top : frame.menuBar()->actions())
        items += top->menu()->actions();
    for (QAction* a : items) {
        const UINT id = a->data().toUInt();
        if (a->isSeparator() || id == 0)
            continue;
        EXPECT_EQ(a->isEnabled(), disabled.count(id) == 0) << a->text().toStdString() << " " << id;
    }
}

TEST(MainWindowTest, ToolbarHasTheTextButtonsTheAlignmentGroupAndTheFontBox)
{
    CMainFrame frame;
    QToolBar* bar = frame.m_pToolBar;
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(frame.toolBarArea(bar), Qt::TopToolBarArea);
    EXPECT_EQ(bar->allowedAreas(), Qt::TopToolBarArea);

    // Items in order: B, I, U, separator, left, centre, right, separator,
    // separator, then the font box in the last separator's place.
    std::vector<UINT> ids;
    for (QAction* a : bar->actions())
        ids.push_back(a->isSeparator() ? 0u : a->data().toUInt());
    ASSERT_GE(ids.size(), 10u);
    EXPECT_EQ(std::vector<UINT>(ids.begin(), ids.begin() + 9),
              (std::vector<UINT>{40019, 40018, 40020, 0, 40022, 40024, 40023, 0, 0}));

    for (UINT id : {ID_TEXT_BOLD, ID_TEXT_ITALIC, ID_TEXT_UNDERLINE}) {
        EXPECT_TRUE(frame.FindAction(id)->isCheckable());
        EXPECT_EQ(frame.FindAction(id)->actionGroup(), nullptr);
    }
    QActionGroup* group = frame.FindAction(ID_ALIGN_LEFT)->actionGroup();
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(group->isExclusive());
    EXPECT_EQ(frame.FindAction(ID_ALIGN_CENTER)->actionGroup(), group);
    EXPECT_EQ(frame.FindAction(ID_ALIGN_RIGHT)->actionGroup(), group);

    ASSERT_NE(frame.m_pFontCombo, nullptr);
    EXPECT_EQ(frame.m_pFontCombo->width(), 200);
    EXPECT_FALSE(frame.m_pFontCombo->isEditable());
}

TEST(MainWindowTest, FontBoxListsTheTrueTypeFullNamesSorted)
{
    CMainFrame frame;
    const QStringList expected = EnumTrueTypeFullNames();
    ASSERT_FALSE(expected.isEmpty()) << "the test machine has DejaVu and Liberation fonts";
    EXPECT_TRUE(expected.contains(QStringLiteral("Liberation Serif")));
    EXPECT_TRUE(expected.contains(QStringLiteral("DejaVu Sans")));
    EXPECT_FALSE(expected.contains(QStringLiteral("DejaVu Sans Bold"))) << "one entry per family";
    QStringList shown;
    for (int i = 0; i < frame.m_pFontCombo->count(); ++i)
        shown << frame.m_pFontCombo->itemText(i);
    QStringList sorted = expected;
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(shown, sorted);
    EXPECT_EQ(frame.m_fontNames.size(), expected.size());
}

TEST(MainWindowTest, EnumFaceProcKeepsOnlyTrueTypeFontsAndAlwaysContinues)
{
    QStringList names;
    EXPECT_EQ(EnumFaceProc(FontFamilyInfo{"A", "A Regular", TRUETYPE_FONTTYPE}, TRUETYPE_FONTTYPE, &names), 1);
    EXPECT_EQ(EnumFaceProc(FontFamilyInfo{"B", "B Regular", 0}, 0, &names), 1);
    EXPECT_EQ(EnumFaceProc(FontFamilyInfo{"C", "C Book", 6}, 6, &names), 1);
    EXPECT_EQ(names, (QStringList{"A Regular", "C Book"}));
}

TEST(MainWindowTest, CanvasIsAWhiteScreenSizedSurfaceAndTheStateStartsEmpty)
{
    CMainFrame frame;
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Veltra Design & Pattern Creation Tool"));
    ASSERT_EQ(frame.m_bmpCanvas.size(), QSize(1024, 768));
    EXPECT_EQ(frame.m_bmpCanvas.format(), QImage::Format_RGB32);
    int nonWhite = 0;
    for (int y = 0; y < 768; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(frame.m_bmpCanvas.constScanLine(y));
        for (int x = 0; x < 1024; ++x)
            nonWhite += (row[x] & 0xFFFFFF) != 0xFFFFFF;
    }
    EXPECT_EQ(nonWhite, 0);
    EXPECT_EQ(g_hCanvasDC, frame.m_pCanvasDC.get());
    EXPECT_TRUE(frame.m_pCanvasDC->GetBrush() == CBrush::White()) << "the white brush stays selected";

    EXPECT_EQ(frame.m_nMode, MODE_NONE);
    EXPECT_EQ(frame.m_nShape, -1);
    EXPECT_EQ(frame.m_pSelRect, nullptr);
    EXPECT_EQ(frame.m_pOldSelRect, nullptr);
    EXPECT_EQ(frame.m_nSelKind, -1);
    EXPECT_EQ(frame.m_nOldSelKind, -1);
    EXPECT_EQ(frame.m_nClipState, 0);
    ASSERT_NE(g_pFigures, nullptr);
    ASSERT_NE(g_pTextBoxes, nullptr);
    EXPECT_EQ(g_pFigures->GetSize(), 0);
    EXPECT_EQ(g_pTextBoxes->GetSize(), 0);
    EXPECT_EQ(g_pActiveEdit, nullptr);
    EXPECT_EQ(g_nTextBoxCount, 0);
}

TEST(MainWindowTest, TextFontStartsAtTwelvePointTimesNewRoman)
{
    CMainFrame frame;
    EXPECT_EQ(g_logfont.lfHeight, -16);  // 12 points at 96 pixels per inch
    EXPECT_EQ(g_logfont.lfWeight, 0);
    EXPECT_EQ(g_logfont.lfItalic, 0);
    EXPECT_EQ(g_logfont.lfUnderline, 0);
    EXPECT_EQ(FaceName(g_logfont), QStringLiteral("Times New Roman"));
    EXPECT_EQ(g_crText, 0u);
}

TEST(MainWindowTest, ApplicationShowsTheWindowMaximisedAndEndsWithCodeOne)
{
    CDesignApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(app.MainWindow(), nullptr);
    EXPECT_TRUE(app.MainWindow()->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(app.MainWindow()->isVisible());
    EXPECT_EQ(FindWindowByTitle(QStringLiteral("Veltra Design & Pattern Creation Tool")), app.MainWindow());
    EXPECT_EQ(app.ExitInstance(), 1);
    EXPECT_EQ(app.MainWindow(), nullptr);
}

TEST(MainWindowTest, ExitClosesTheWindowAsItsCloseBoxDoes)
{
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(frame.isVisible());
    frame.OnCommand(ID_FILE_EXIT);
    EXPECT_FALSE(frame.isVisible());
}

}  // namespace
