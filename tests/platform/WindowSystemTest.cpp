// The shared window-system rules: the message box caption, the file filter
// in the toolkit's form, colours, the file-name buffer, the implementation
// in force, and finding a top-level window by its title.
#include "platform/QtWindowSystem.h"
#include "platform/ScriptedWindowSystem.h"
#include "platform/WindowSystemUtil.h"

#include <QComboBox>
#include <QWidget>
#include <gtest/gtest.h>

#include <thread>

TEST(WindowSystemCaption, OwnedBoxWithoutCaptionShowsTheApplicationTitle)
{
    QWidget owner;
    EXPECT_EQ(MessageBoxCaption(&owner, QString()), QStringLiteral("Veltra Design & Pattern Creation Tool"));
}

TEST(WindowSystemCaption, BoxWithoutOwnerOrCaptionShowsThePlatformDefault)
{
    EXPECT_EQ(MessageBoxCaption(nullptr, QString()), QStringLiteral("Error"));
}

TEST(WindowSystemCaption, GivenCaptionWinsWithOrWithoutOwner)
{
    QWidget owner;
    EXPECT_EQ(MessageBoxCaption(&owner, QStringLiteral("Border")), QStringLiteral("Border"));
    EXPECT_EQ(MessageBoxCaption(nullptr, QStringLiteral("Border")), QStringLiteral("Border"));
}

TEST(WindowSystemFilter, ProgramFilterKeepsDescriptionsAndMatchesEveryFileForAllFiles)
{
    EXPECT_EQ(QtFileFilter(kBitmapFilter), QStringLiteral("Bitmap files (*.bmp) (*.bmp);;All files(*.*) (*)"));
}

TEST(WindowSystemFilter, SeveralPatternsOfOnePairBecomeOneSpaceSeparatedList)
{
    EXPECT_EQ(QtFileFilter(QStringLiteral("Pictures|*.bmp; *.png;*.jpg|Text|*.txt||")),
              QStringLiteral("Pictures (*.bmp *.png *.jpg);;Text (*.txt)"));
}

TEST(WindowSystemFilter, ListEndsAtTheEmptyDescription)
{
    EXPECT_EQ(QtFileFilter(QStringLiteral("Bitmaps|*.bmp||Ignored|*.x|")), QStringLiteral("Bitmaps (*.bmp)"));
}

TEST(WindowSystemFilter, MalformedFiltersGiveNoEntryForTheBrokenPairs)
{
    EXPECT_EQ(QtFileFilter(QString()), QString());
    EXPECT_EQ(QtFileFilter(QStringLiteral("Only a description")), QString());
    EXPECT_EQ(QtFileFilter(QStringLiteral("No patterns||")), QString());
    EXPECT_EQ(QtFileFilter(QStringLiteral("Empty| ; |Bitmaps|*.bmp|")), QStringLiteral("Bitmaps (*.bmp)"));
}

TEST(WindowSystemFilter, OpenDialogListsExactlyTheWindowsDescriptions)
{
    const auto dialog = MakeOpenFileDialog(nullptr, kBitmapFilter, false);
    EXPECT_EQ(dialog->nameFilters(), QtFileFilter(kBitmapFilter).split(QStringLiteral(";;")));
    const auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(0), QStringLiteral("Bitmap files (*.bmp)"));
    EXPECT_EQ(types->itemText(1), QStringLiteral("All files(*.*)"));
}

TEST(WindowSystemColor, ColorRefBytesAreRedGreenBlueFromTheLowByte)
{
    EXPECT_EQ(QColorFromColorRef(RGB(10, 20, 30)), QColor(10, 20, 30));
    EXPECT_EQ(QColorFromColorRef(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(ColorRefFromQColor(QColor(0, 0, 255)), COLORREF{0x00FF0000});
    EXPECT_EQ(ColorRefFromQColor(QColor(1, 2, 3, 4)), RGB(1, 2, 3));  // alpha dropped
    EXPECT_EQ(RgbFromColorRef(RGB(1, 2, 3)), qRgb(1, 2, 3));
}

TEST(WindowSystemBuffer, SingleChoiceNeedsItsPathAndAZero)
{
    const QString fits = QStringLiteral("/") + QString(258, QLatin1Char('a'));  // 259 units
    EXPECT_TRUE(FitsFileNameBuffer({fits}, false));
    EXPECT_FALSE(FitsFileNameBuffer({fits + QLatin1Char('b')}, false));
    EXPECT_TRUE(FitsFileNameBuffer({}, false));
}

TEST(WindowSystemBuffer, MultipleChoiceCountsFolderOnceAndEveryNameWithItsZero)
{
    // "/d" + 0, then n names of 9 units + 0 each, then the final 0.
    QStringList paths;
    for (int i = 0; i < 25; ++i)
        paths.append(QStringLiteral("/d/%1.bmp").arg(i + 10000));  // "10000.bmp": 9 units
    EXPECT_TRUE(FitsFileNameBuffer(paths, true));
    // 254 units so far.
    paths.append(QStringLiteral("/d/x.bmp"));  // +6: 260
    EXPECT_TRUE(FitsFileNameBuffer(paths, true));
    paths.append(QStringLiteral("/d/y"));  // +2: 262
    EXPECT_FALSE(FitsFileNameBuffer(paths, true));
}

TEST(WindowSystemBuffer, OneFileOfAMultipleChoiceIsItsPathAndTwoZeros)
{
    const QString path = QStringLiteral("/") + QString(257, QLatin1Char('a'));  // 258 units
    EXPECT_TRUE(FitsFileNameBuffer({path}, true));
    EXPECT_FALSE(FitsFileNameBuffer({path + QLatin1Char('b')}, true));
}

TEST(WindowSystemInForce, ToolkitByDefaultScopedOverrideRestoresThePrevious)
{
    EXPECT_NE(dynamic_cast<QtWindowSystem*>(&WindowSystem()), nullptr);
    ScriptedWindowSystem outer;
    {
        const ScopedWindowSystem useOuter(outer);
        EXPECT_EQ(&WindowSystem(), &outer);
        ScriptedWindowSystem inner;
        {
            const ScopedWindowSystem useInner(inner);
            EXPECT_EQ(&WindowSystem(), &inner);
        }
        EXPECT_EQ(&WindowSystem(), &outer);
    }
    EXPECT_NE(dynamic_cast<QtWindowSystem*>(&WindowSystem()), nullptr);
}

TEST(WindowSystemInForce, SetWindowSystemNullRestoresTheToolkit)
{
    ScriptedWindowSystem scripted;
    SetWindowSystem(&scripted);
    EXPECT_EQ(&WindowSystem(), &scripted);
    SetWindowSystem(nullptr);
    EXPECT_NE(dynamic_cast<QtWindowSystem*>(&WindowSystem()), nullptr);
}

TEST(WindowSystemFindWindow, MatchesTheWholeTitleExactly)
{
    QWidget main;
    main.setWindowTitle(kAppTitle);
    main.show();
    QWidget other;
    other.setWindowTitle(QStringLiteral("Veltra"));
    other.show();
    EXPECT_EQ(FindWindowByTitle(kAppTitle), &main);
    EXPECT_EQ(FindWindowByTitle(QStringLiteral("Veltra")), &other);
    EXPECT_EQ(FindWindowByTitle(QStringLiteral("veltra")), nullptr);
    EXPECT_EQ(FindWindowByTitle(QStringLiteral("Veltra Design")), nullptr);
}

TEST(WindowSystemFindWindow, PrefersAShownWindowAndFindsAHiddenOne)
{
    QWidget hidden;
    hidden.setWindowTitle(QStringLiteral("Twin"));
    QWidget shown;
    shown.setWindowTitle(QStringLiteral("Twin"));
    EXPECT_NE(FindWindowByTitle(QStringLiteral("Twin")), nullptr);
    shown.show();
    EXPECT_EQ(FindWindowByTitle(QStringLiteral("Twin")), &shown);
    shown.hide();
    hidden.setWindowTitle(QStringLiteral("Alone"));
    EXPECT_EQ(FindWindowByTitle(QStringLiteral("Alone")), &hidden);
}

TEST(WindowSystemFindWindow, ChildWidgetsAreNotTopLevelWindows)
{
    QWidget main;
    auto* child = new QWidget(&main);
    child->setWindowTitle(QStringLiteral("Child title"));
    main.show();
    EXPECT_EQ(FindWindowByTitle(QStringLiteral("Child title")), nullptr);
}

TEST(WindowSystemFindWindow, AnotherThreadGetsNoWidget)
{
    QWidget main;
    main.setWindowTitle(QStringLiteral("Thread probe"));
    main.show();
    QWidget* found = &main;
    std::thread worker([&found] { found = FindWindowByTitle(QStringLiteral("Thread probe")); });
    worker.join();
    EXPECT_EQ(found, nullptr);
}
