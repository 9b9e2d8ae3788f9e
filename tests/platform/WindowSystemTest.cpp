// The shared window-system rules: the message box caption, the file filter
// in the toolkit's form, colours, the file-name buffer, and finding a
// top-level window by its title.
#include "platform/QtWindowSystem.h"
#include "platform/WindowSystemUtil.h"

#include <QComboBox>
#include <QWidget>
#include <gtest/gtest.h>

#include <thread>

TEST(WindowSystemRules, MessageBoxCaption)
{
    QWidget owner;
    EXPECT_EQ(MessageBoxCaption(&owner, QString()), QStringLiteral("Veltra Design & Pattern Creation Tool"));
    EXPECT_EQ(MessageBoxCaption(nullptr, QString()), QStringLiteral("Error"));
    EXPECT_EQ(MessageBoxCaption(&owner, QStringLiteral("Border")), QStringLiteral("Border"));
    EXPECT_EQ(MessageBoxCaption(nullptr, QStringLiteral("Border")), QStringLiteral("Border"));
}

TEST(WindowSystemRules, FileFilterInTheToolkitsForm)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Bitmap files (*.bmp)|*.bmp|All files(*.*)|*.*||", "Bitmap files (*.bmp) (*.bmp);;All files(*.*) (*)"},
        {"Pictures|*.bmp; *.png;*.jpg|Text|*.txt||", "Pictures (*.bmp *.png *.jpg);;Text (*.txt)"},
        {"Bitmaps|*.bmp||Ignored|*.x|", "Bitmaps (*.bmp)"},  // the list ends at the empty description
        {"", ""}, {"Only a description", ""}, {"No patterns||", ""}, {"Empty| ; |Bitmaps|*.bmp|", "Bitmaps (*.bmp)"},
    };
    for (const auto& [windows, toolkit] : cases)
        EXPECT_EQ(QtFileFilter(QString::fromLatin1(windows)), QString::fromLatin1(toolkit)) << windows;

    // The open dialog: one file or several, listing exactly the Windows descriptions.
    EXPECT_EQ(MakeOpenFileDialog(nullptr, kBitmapFilter, true)->fileMode(), QFileDialog::ExistingFiles);
    const auto dialog = MakeOpenFileDialog(nullptr, kBitmapFilter, false);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    const auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->count(), 2);
    EXPECT_EQ(types->itemText(0), QStringLiteral("Bitmap files (*.bmp)"));
    EXPECT_EQ(types->itemText(1), QStringLiteral("All files(*.*)"));
}

TEST(WindowSystemRules, ColorRefBytesAreRedGreenBlueFromTheLowByte)
{
    EXPECT_EQ(QColorFromColorRef(0x000000FF), QColor(255, 0, 0));
    EXPECT_EQ(ColorRefFromQColor(QColor(0, 0, 255)), COLORREF{0x00FF0000});
    EXPECT_EQ(ColorRefFromQColor(QColor(1, 2, 3, 4)), RGB(1, 2, 3));  // alpha dropped
}

TEST(WindowSystemRules, FileNameBufferOf260Units)
{
    const auto name = [](int units) { return QStringLiteral("/") + QString(units - 1, QLatin1Char('a')); };
    // Multiple selection: "/d" and its zero, each name and its zero, a final zero.
    const auto twoNames = [](int units) { return QStringList{"/d/" + QString(250, 'a'), "/d/" + QString(units, 'b')}; };
    const struct { QStringList paths; bool multiSelect, fits; } cases[] = {
        {{name(259)}, false, true},  {{name(260)}, false, false}, {{}, false, true},
        {{name(258)}, true, true},   {{name(259)}, true, false},  // one file: its path and two zeros
        {twoNames(4), true, true},  {twoNames(5), true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitsFileNameBuffer(c.paths, c.multiSelect), c.fits) << "case " << &c - cases;
}

TEST(WindowSystemRules, FindWindowByTitleMatchesTopLevelWindowsExactlyPreferringShownOnes)
{
    QWidget hidden;
    hidden.setWindowTitle(kAppTitle);
    EXPECT_EQ(FindWindowByTitle(kAppTitle), &hidden);
    QWidget shown;
    shown.setWindowTitle(kAppTitle);
    (new QWidget(&shown))->setWindowTitle(QStringLiteral("Child title"));
    shown.show();
    EXPECT_EQ(FindWindowByTitle(kAppTitle), &shown);
    for (const char* title : {"Veltra", "veltra design & pattern creation tool", "Child title"})
        EXPECT_EQ(FindWindowByTitle(QString::fromLatin1(title)), nullptr) << title;
    QWidget* found = &shown;
    std::thread worker([&found] { found = FindWindowByTitle(kAppTitle); });  // no widgets for other threads
    worker.join();
    EXPECT_EQ(found, nullptr);
}
